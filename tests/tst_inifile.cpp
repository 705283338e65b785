#include "app/IniFile.h"
#include "support/FileBytes.h"
#include "support/Unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


class TestIniFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void readString_data();
    void readString();
    void namesIgnoreCase();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
    void writeKeepsOtherLines();
    void missingFileGivesDefaultsAndFirstWriteCreatesIt();
    void lineFeedFileIsWrittenWithCrLf();
    void byteOrderMarkIsKept();
    void shiftJisFileIsReadAndRewrittenAsUtf8();
    void encodingIsDecidedPerFile_data();
    void encodingIsDecidedPerFile();
    void realJapaneseText_data();
    void realJapaneseText();
    void readsSeeOtherWriters();
    void lookupsFollowChanges();
    void sections();
    void updateScopeSavesOnce();
    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(QStringLiteral("olvek.ini"));
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QByteArray("Key=abc") << QStringLiteral("abc");
    QTest::newRow("present but empty is not the default") << QByteArray("Key=") << QString();
    QTest::newRow("blanks around key and value") << QByteArray("  Key \t=  a b  ") << QStringLiteral("a b");
    QTest::newRow("double quotes stripped") << QByteArray("Key=\" a \"") << QStringLiteral(" a ");
    QTest::newRow("single quotes stripped") << QByteArray("Key='a'") << QStringLiteral("a");
    QTest::newRow("only one pair stripped") << QByteArray("Key=\"\"a\"\"") << QStringLiteral("\"a\"");
    QTest::newRow("unmatched quote kept") << QByteArray("Key=\"a'") << QStringLiteral("\"a'");
    QTest::newRow("lone quote kept") << QByteArray("Key=\"") << QStringLiteral("\"");
    QTest::newRow("equals sign in value") << QByteArray("Key=a=b") << QStringLiteral("a=b");
    QTest::newRow("ideographic space is not a blank")
        << QStringLiteral("Key=\u3000見出し\u3000").toUtf8() << QStringLiteral("\u3000見出し\u3000");
    QTest::newRow("absent: comment") << QByteArray(";Key=abc") << QStringLiteral("default");
    QTest::newRow("absent: no equals sign") << QByteArray("Key") << QStringLiteral("default");
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    QVERIFY(writeFileBytes(m_file, "[S]\r\n" + line + "\r\n[T]\r\nKey=other\r\n"));
    const TIniFile ini(m_file);
    QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("Key"), QStringLiteral("default")), expected);
    QCOMPARE(ini.ValueExists(QStringLiteral("S"), QStringLiteral("Key")), expected != QStringLiteral("default"));
}

void TestIniFile::namesIgnoreCase()
{
    QVERIFY(writeFileBytes(m_file, "[editor]\r\nfontSIZE=12\r\n"));
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadInteger(QStringLiteral("EDITOR"), QStringLiteral("FontSize"), 0), 12);

    // A write finds the same line and keeps its spelling.
    QVERIFY(ini.WriteInteger(QStringLiteral("Editor"), QStringLiteral("FONTSIZE"), 14));
    QCOMPARE(readFileBytes(m_file), QByteArray("[editor]\r\nfontSIZE=14\r\n"));
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << QByteArray("12") << 12;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("plus sign") << QByteArray("+5") << 5;
    QTest::newRow("dollar hex") << QByteArray("$1F") << 31;
    QTest::newRow("0x hex") << QByteArray("0x1f") << 31;
    QTest::newRow("0X hex") << QByteArray("0X1F") << 31;
    QTest::newRow("negative hex") << QByteArray("-$10") << -16;
    QTest::newRow("hex wraps to 32 bits") << QByteArray("$FFFFFFFF") << -1;
    QTest::newRow("system colour value") << QByteArray("$80000005") << int(0x80000005u);
    QTest::newRow("blanks around") << QByteArray(" 7 ") << 7;
    QTest::newRow("quoted with blanks") << QByteArray("\" 7 \"") << 7;
    QTest::newRow("fraction") << QByteArray("1.5") << -99;
    QTest::newRow("empty") << QByteArray("") << -99;
    QTest::newRow("word") << QByteArray("abc") << -99;
    QTest::newRow("trailing letters") << QByteArray("12abc") << -99;
    QTest::newRow("hex digits without prefix") << QByteArray("1F") << -99;
    QTest::newRow("prefix alone") << QByteArray("$") << -99;
    QTest::newRow("two signs") << QByteArray("--3") << -99;
    QTest::newRow("decimal beyond 32 bits") << QByteArray("2147483648") << -99;
    QTest::newRow("hex beyond 32 bits") << QByteArray("$100000000") << -99;
    QTest::newRow("exponent") << QByteArray("1e3") << -99;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QVERIFY(writeFileBytes(m_file, "[S]\r\nKey=" + value + "\r\n"));
    QCOMPARE(TIniFile(m_file).ReadInteger(QStringLiteral("S"), QStringLiteral("Key"), -99), expected);
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // -1: the default, whichever it is

    QTest::newRow("1") << QByteArray("1") << 1;
    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("any other integer") << QByteArray("-2") << 1;
    QTest::newRow("hex zero") << QByteArray("$0") << 0;
    QTest::newRow("word") << QByteArray("true") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QVERIFY(writeFileBytes(m_file, "[S]\r\nKey=" + value + "\r\n"));
    const TIniFile ini(m_file);
    for (const bool defaultValue : {false, true}) {
        const bool wanted = expected < 0 ? defaultValue : expected == 1;
        QCOMPARE(ini.ReadBool(QStringLiteral("S"), QStringLiteral("Key"), defaultValue), wanted);
    }
}

void TestIniFile::writtenValuesReadBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("Japanese") << QStringLiteral("ＭＳ ゴシック") << QStringLiteral("ＭＳ ゴシック");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  find me ") << QStringLiteral("  find me ");
    QTest::newRow("quoted") << QStringLiteral("\"word\"") << QStringLiteral("\"word\"");
    QTest::newRow("single quoted") << QStringLiteral("'word'") << QStringLiteral("'word'");
    QTest::newRow("one quote") << QStringLiteral("\"") << QStringLiteral("\"");
    QTest::newRow("looks like a section") << QStringLiteral("[PLUGIN]") << QStringLiteral("[PLUGIN]");
    // A line break would end the line and turn the rest into a line of its own.
    QTest::newRow("line breaks become spaces")
        << QStringLiteral("a\r\n[PLUGIN]\nb\rc") << QStringLiteral("a [PLUGIN] b c");
}

void TestIniFile::writtenValuesReadBack()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    TIniFile ini(m_file);
    QVERIFY(ini.WriteString(QStringLiteral("S"), QStringLiteral("Key"), value));
    QVERIFY(ini.WriteString(QStringLiteral("S"), QStringLiteral("Next"), QStringLiteral("n")));
    QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("Key"), QStringLiteral("default")), expected);
    QCOMPARE(ini.ReadSection(QStringLiteral("S")), QStringList({QStringLiteral("Key"), QStringLiteral("Next")}));
    QVERIFY(!ini.SectionExists(QStringLiteral("PLUGIN")));
}

void TestIniFile::writeKeepsOtherLines()
{
    QVERIFY(writeFileBytes(m_file,
                           "; settings\r\n"
                           "[Form]\r\n"
                           "Width=800\r\n"
                           "  ; the height follows\r\n"
                           "Height=600\r\n"
                           "\r\n"
                           "[EDITOR]\r\n"
                           "FontSize=10\r\n"));
    TIniFile ini(m_file);
    QVERIFY(ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Width"), 1024));
    QVERIFY(ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Left"), 5));
    QVERIFY(ini.WriteBool(QStringLiteral("EDITOR"), QStringLiteral("WordWrap"), false));
    QVERIFY(ini.WriteString(QStringLiteral("HTML"), QStringLiteral("ExtType"), QStringLiteral(".htm")));
    QCOMPARE(readFileBytes(m_file),
             QByteArray("; settings\r\n"
                        "[Form]\r\n"
                        "Width=1024\r\n"
                        "  ; the height follows\r\n"
                        "Height=600\r\n"
                        "Left=5\r\n"
                        "\r\n"
                        "[EDITOR]\r\n"
                        "FontSize=10\r\n"
                        "WordWrap=0\r\n"
                        "\r\n"
                        "[HTML]\r\n"
                        "ExtType=.htm\r\n"));
}

void TestIniFile::missingFileGivesDefaultsAndFirstWriteCreatesIt()
{
    const QString fileName = m_dir->filePath(QStringLiteral("config/olvek/olvek.ini"));
    TIniFile ini(fileName);
    QCOMPARE(ini.ReadString(QStringLiteral("S"), QStringLiteral("Key"), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(ini.ReadInteger(QStringLiteral("S"), QStringLiteral("Key"), 7), 7);
    QVERIFY(!QFile::exists(fileName));

    QVERIFY(ini.WriteString(QStringLiteral("Path"), QStringLiteral("LastOpened"), QStringLiteral("/home/文書")));
    QCOMPARE(readFileBytes(fileName), QStringLiteral("[Path]\r\nLastOpened=/home/文書\r\n").toUtf8());
}

void TestIniFile::lineFeedFileIsWrittenWithCrLf()
{
    QVERIFY(writeFileBytes(m_file, "[A]\na=1\n[B]\rb=2"));
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadInteger(QStringLiteral("B"), QStringLiteral("b"), 0), 2);
    QVERIFY(ini.WriteInteger(QStringLiteral("A"), QStringLiteral("a"), 3));
    QCOMPARE(readFileBytes(m_file), QByteArray("[A]\r\na=3\r\n[B]\r\nb=2\r\n"));
}

void TestIniFile::byteOrderMarkIsKept()
{
    QVERIFY(writeFileBytes(m_file, "\xEF\xBB\xBF[A]\r\na=1\r\n"));
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 0), 1);
    QVERIFY(ini.WriteInteger(QStringLiteral("A"), QStringLiteral("a"), 2));
    QCOMPARE(readFileBytes(m_file), QByteArray("\xEF\xBB\xBF[A]\r\na=2\r\n"));
}

void TestIniFile::shiftJisFileIsReadAndRewrittenAsUtf8()
{
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_TEST_DATA "/settings/shiftjis.ini"), m_file));
    QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner));
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadString(QStringLiteral("TREE"), QStringLiteral("FontName"), QString()),
             QStringLiteral("ＭＳ ゴシック"));
    // The second byte of 表 is the code of a backslash.
    QCOMPARE(ini.ReadString(QStringLiteral("TREE"), QStringLiteral("Label"), QString()), QStringLiteral("表示"));

    QVERIFY(ini.WriteInteger(QStringLiteral("TREE"), QStringLiteral("FontSize"), 12));
    QCOMPARE(readFileBytes(m_file),
             QStringLiteral("; copied from an older installation\r\n[TREE]\r\nFontName=ＭＳ ゴシック\r\n"
                            "Label=表示\r\nFontSize=12\r\n").toUtf8());
}

void TestIniFile::encodingIsDecidedPerFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("recent");
    QTest::addColumn<QString>("font");

    const QString path = QStringLiteral("/home/利用者/原稿/第一章.olvx");
    const QString font = QStringLiteral("ＭＳ ゴシック");
    const QByteArray utf8 = "[FileRireki]\r\n1=" + path.toUtf8() + "\r\n[TREE]\r\nFontName=" + font.toUtf8() + "\r\n";
    QTest::newRow("UTF-8") << utf8 << path << font;
    QTest::newRow("UTF-8, one stray byte in another line")
        << QByteArray("; \x93\r\n") + utf8 << path << font;
    QTest::newRow("UTF-8, stray byte in the value")
        << QByteArray(utf8).replace(".olvx", "\x93.olvx") << QStringLiteral("/home/利用者/原稿/第一章\uFFFD.olvx") << font;
    QTest::newRow("UTF-8, three stray bytes")
        << QByteArray(utf8).replace("[TREE]", "[TREE]\x82\xA0\xFF") << path << font;
    QTest::newRow("UTF-8, cut in the middle of a character")
        << utf8 + "; \xE6\x97" << path << font;
    // Six bytes of Japanese and one stray byte elsewhere: still UTF-8, the recent file found.
    QTest::newRow("UTF-8, short Japanese value, one stray byte in another line")
        << QByteArray("[FileRireki]\r\n1=/home/u/\xE5\x8E\x9F\xE7\xA8\xBF.olvx\r\n; \xFF\r\n")
        << QStringLiteral("/home/u/原稿.olvx") << QString();
    QTest::newRow("UTF-8, short Japanese value, one stray byte in it")
        << QByteArray("[FileRireki]\r\n1=/home/u/\xE5\x8E\x9F\xE7\xA8\xBF\x80.olvx\r\n")
        << QStringLiteral("/home/u/原稿\uFFFD.olvx") << QString();
    QTest::newRow("ASCII, one stray byte before the line break")
        << QByteArray("[FileRireki]\r\n1=/tmp/a\x93\r\n") << QStringLiteral("/tmp/a\uFFFD") << QString();

    // The same texts in Shift_JIS: a file copied from an older installation.
    const QByteArray sjis = "[FileRireki]\r\n1=/home/\x97\x98\x97\x70\x8E\xD2/\x8C\xB4\x8D\x65/"
                            "\x91\xE6\x88\xEA\x8F\xCD.olvx\r\n"
                            "[TREE]\r\nFontName=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E\r\n";
    QTest::newRow("Shift_JIS") << sjis << path << font;
    QTest::newRow("Shift_JIS, half-width katakana only")
        << QByteArray("[TREE]\r\nFontName=\xBA\xDE\xBC\xAF\xB8\r\n") << QString() << QStringLiteral("ｺﾞｼｯｸ");
    // "ﾃｽﾄ ﾌｫﾝﾄ": the pairs C3 BD and CC AB are valid UTF-8 as well ("ý", "̫").
    QTest::newRow("Shift_JIS, half-width katakana pairs that are valid UTF-8")
        << QByteArray("[TREE]\r\nFontName=\xC3\xBD \xCC\xAB\r\n") << QString() << QStringLiteral("ﾃｽ ﾌｫ");
    QTest::newRow("Shift_JIS with a stray byte")
        << QByteArray(sjis).replace("[TREE]", "[TREE]\xFF") << path << font;
}

void TestIniFile::encodingIsDecidedPerFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, recent);
    QFETCH(QString, font);
    QVERIFY(writeFileBytes(m_file, file));
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadString(QStringLiteral("FileRireki"), QStringLiteral("1"), QString()), recent);
    QCOMPARE(ini.ReadString(QStringLiteral("TREE"), QStringLiteral("FontName"), QString()), font);
    // Written back as UTF-8 with the values read.
    QVERIFY(ini.WriteInteger(QStringLiteral("TREE"), QStringLiteral("FontSize"), 12));
    TIniFile again(m_file);
    QCOMPARE(again.ReadString(QStringLiteral("FileRireki"), QStringLiteral("1"), QString()), recent);
    QCOMPARE(again.ReadString(QStringLiteral("TREE"), QStringLiteral("FontName"), QString()), font);
}

void TestIniFile::realJapaneseText_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<int>("strayBytes");
    QTest::newRow("UTF-8") << QStringLiteral("utf8") << 0;
    QTest::newRow("UTF-8, one stray byte") << QStringLiteral("utf8") << 1;
    QTest::newRow("UTF-8, five stray bytes") << QStringLiteral("utf8") << 5;
    QTest::newRow("Shift_JIS") << QStringLiteral("sjis") << 0;
    QTest::newRow("Shift_JIS, one stray byte") << QStringLiteral("sjis") << 1;
}

// The lines of a Japanese book as the search history, in either encoding, some with stray bytes
// between them: every line reads back as it was.
void TestIniFile::realJapaneseText()
{
    QFETCH(QString, encoding);
    QFETCH(int, strayBytes);
    const QString corpus = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.%1.txt");
    QFile utf8File(corpus.arg(QStringLiteral("utf8")));
    QFile encodedFile(corpus.arg(encoding));
    if (!utf8File.open(QIODevice::ReadOnly) || !encodedFile.open(QIODevice::ReadOnly))
        QSKIP("the Japanese text corpus is not beside the checkout");
    const QList<QByteArray> utf8Lines = utf8File.readAll().split('\n');
    const QList<QByteArray> encodedLines = encodedFile.readAll().split('\n');
    QCOMPARE(utf8Lines.size(), encodedLines.size());

    QByteArray file = "[FindRireki]\r\n";
    QStringList expected;
    for (qsizetype i = 0; i < utf8Lines.size() && expected.size() < 300; ++i) {
        const QByteArray text = utf8Lines[i].trimmed();
        // Lines with characters outside Shift_JIS are "?" in its copy; they would not compare.
        if (text.isEmpty() || encodedLines[i].contains('?'))
            continue;
        if (strayBytes > 0 && expected.size() % (300 / strayBytes) == 150 / strayBytes)
            file += "; \x93\r\n";
        file += QByteArray::number(expected.size()) + "=" + encodedLines[i].trimmed() + "\r\n";
        expected << QString::fromUtf8(text);
    }
    QVERIFY(writeFileBytes(m_file, file));
    TIniFile ini(m_file);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(ini.ReadString(QStringLiteral("FindRireki"), QString::number(i), QString()), expected[i]);
}

// Reads of one object see what another writes, however many there were before.
void TestIniFile::readsSeeOtherWriters()
{
    QVERIFY(writeFileBytes(m_file, "[A]\r\na=1\r\n"));
    TIniFile reader(m_file);
    TIniFile writer(m_file);
    QCOMPARE(reader.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 0), 1);
    QVERIFY(writer.WriteInteger(QStringLiteral("A"), QStringLiteral("a"), 2));
    QCOMPARE(reader.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 0), 2);
    // Written in place by someone else.
    QVERIFY(writeFileBytes(m_file, "[A]\r\na=3\r\nb=4\r\n"));
    QCOMPARE(reader.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 0), 3);
    QFile::remove(m_file);
    QCOMPARE(reader.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 0), 0);
}

// Lookups between changes that move lines: each sees the text as it is now.
void TestIniFile::lookupsFollowChanges()
{
    TIniText text = TIniText::fromText(QStringLiteral("[A]\r\na=1\r\nb=2\r\n[B]\r\nc=3\r\n[a]\r\nb=stray\r\n"));
    QCOMPARE(text.value(QStringLiteral("a"), QStringLiteral("B")), QStringLiteral("2"));
    QVERIFY(text.removeKey(QStringLiteral("A"), QStringLiteral("a")));
    QCOMPARE(text.value(QStringLiteral("A"), QStringLiteral("b")), QStringLiteral("2"));
    QCOMPARE(text.value(QStringLiteral("B"), QStringLiteral("c")), QStringLiteral("3"));
    const TIniText copy = text;
    QVERIFY(text.setValue(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("4")));
    QCOMPARE(text.value(QStringLiteral("B"), QStringLiteral("c")), QStringLiteral("3"));
    QCOMPARE(text.value(QStringLiteral("A"), QStringLiteral("new")), QStringLiteral("4"));
    QCOMPARE(copy.value(QStringLiteral("A"), QStringLiteral("new")), std::nullopt);
    QVERIFY(text.removeSection(QStringLiteral("A")));
    QCOMPARE(text.value(QStringLiteral("B"), QStringLiteral("c")), QStringLiteral("3"));
    QCOMPARE(text.value(QStringLiteral("A"), QStringLiteral("b")), std::nullopt);
    QVERIFY(text.setValue(QStringLiteral("C"), QStringLiteral("d"), QStringLiteral("5")));
    QCOMPARE(text.value(QStringLiteral("c"), QStringLiteral("D")), QStringLiteral("5"));
    QCOMPARE(text.keys(QStringLiteral("B")), QStringList{QStringLiteral("c")});
}

void TestIniFile::sections()
{
    QVERIFY(writeFileBytes(m_file,
                           "[FindRireki]\r\n0=first\r\n1=second\r\n\r\n"
                           "[Form]\r\nWidth=1\r\nWidth=2\r\n\r\n"
                           "[findrireki]\r\n0=stray\r\n"));
    TIniFile ini(m_file);
    QCOMPARE(ini.ReadSection(QStringLiteral("FindRireki")), QStringList({QStringLiteral("0"), QStringLiteral("1")}));
    QCOMPARE(ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Width"), 0), 1);
    QVERIFY(ini.ReadSection(QStringLiteral("None")).isEmpty());

    QVERIFY(ini.DeleteKey(QStringLiteral("FindRireki"), QStringLiteral("0")));
    QCOMPARE(ini.ReadSection(QStringLiteral("FindRireki")), QStringList({QStringLiteral("1")}));

    // Erasing removes every section of the name, so no stale entries come back.
    QVERIFY(ini.EraseSection(QStringLiteral("FINDRIREKI")));
    QVERIFY(!ini.SectionExists(QStringLiteral("FindRireki")));
    QCOMPARE(readFileBytes(m_file), QByteArray("[Form]\r\nWidth=1\r\nWidth=2\r\n\r\n"));
}

void TestIniFile::updateScopeSavesOnce()
{
    QVERIFY(writeFileBytes(m_file, "[A]\r\na=1\r\n"));
    TIniFile ini(m_file);
    {
        TIniFile::UpdateScope scope(ini);
        QVERIFY(ini.WriteInteger(QStringLiteral("A"), QStringLiteral("a"), 2));
        {
            TIniFile::UpdateScope inner(ini);
            QVERIFY(ini.WriteString(QStringLiteral("B"), QStringLiteral("b"), QStringLiteral("x")));
        }
        QCOMPARE(readFileBytes(m_file), QByteArray("[A]\r\na=1\r\n"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 0), 2);
        QVERIFY(ini.SectionExists(QStringLiteral("B")));
    }
    QCOMPARE(readFileBytes(m_file), QByteArray("[A]\r\na=2\r\n\r\n[B]\r\nb=x\r\n"));

    // A scope without writes leaves the file alone, even one that does not exist.
    const QString missing = m_dir->filePath(QStringLiteral("missing.ini"));
    TIniFile untouched(missing);
    {
        TIniFile::UpdateScope scope(untouched);
        QCOMPARE(untouched.ReadInteger(QStringLiteral("A"), QStringLiteral("a"), 5), 5);
    }
    QVERIFY(!QFile::exists(missing));
}

void TestIniFile::failedWriteKeepsFile_data()
{
    QTest::addColumn<QFile::Permissions>("folderPermissions");
    QTest::addColumn<QFile::Permissions>("filePermissions");

    const QFile::Permissions readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions searchable = readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    QTest::newRow("read-only folder") << searchable << (readable | writable);
    QTest::newRow("read-only file") << (searchable | writable) << readable;
}

void TestIniFile::failedWriteKeepsFile()
{
    QFETCH(QFile::Permissions, folderPermissions);
    QFETCH(QFile::Permissions, filePermissions);
    const QByteArray original("[EDITOR]\r\nFontSize=10\r\n");
    QVERIFY(writeFileBytes(m_file, original));
    QVERIFY(QFile::setPermissions(m_file, filePermissions));
    QVERIFY(QFile::setPermissions(m_dir->path(), folderPermissions));

    const QString fileName = m_file;
    const TUnprivilegedResult result = runUnprivileged([fileName] {
        TIniFile ini(fileName);
        const bool written = ini.WriteInteger(QStringLiteral("EDITOR"), QStringLiteral("FontSize"), 12)
            || ini.WriteString(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("v"))
            || ini.EraseSection(QStringLiteral("EDITOR"));
        return !written && ini.ReadInteger(QStringLiteral("EDITOR"), QStringLiteral("FontSize"), 0) == 10;
    });
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (result == TUnprivilegedResult::Unavailable)
        QSKIP("cannot drop privileges to check file permissions");
    QCOMPARE(result, TUnprivilegedResult::Passed);
    QCOMPARE(readFileBytes(m_file), original);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList({QStringLiteral("olvek.ini")}));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
