// Which encoding an imported text file or the settings file is read in: short real Japanese
// samples in every encoding the program meets, whole and with stray bytes.
#include "files/ShiftJis.h"
#include "files/TextFileEncoding.h"

#include <QtTest>

namespace {
using Encoding = TTextFileEncoding::Encoding;

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

QByteArray sjis(const QString &text)
{
    TShiftJis converter;
    return converter.encode(text);
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high);
        bytes.append(littleEndian ? high : low);
    }
    return bytes;
}

const QString fffd(QChar::ReplacementCharacter);

// A few lines of a novel as the import meets them: an ideographic space and 一 (zero bytes at the
// other place of a UTF-16 unit than those of ASCII), 」 and 《 (a line-break byte in the unit).
const QString novel = QStringLiteral(".第一章\r\n\u3000一「あ」と《い》は言った。\r\n..節\r\n不思議だ\r\n");
} // namespace

class TestTextFileEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("replaced");

        QTest::newRow("UTF-8") << utf8(novel) << Encoding::Utf8 << novel << 0;
        QTest::newRow("UTF-8, byte order mark") << "\xEF\xBB\xBF" + utf8(novel) << Encoding::Utf8 << novel << 0;
        QTest::newRow("UTF-8, one stray byte in a short Japanese value")
            << utf8(QStringLiteral("[FileRireki]\r\n1=/home/u/原稿.olvx\r\n; ")) + "\x93\r\n" << Encoding::Utf8
            << QStringLiteral("[FileRireki]\r\n1=/home/u/原稿.olvx\r\n; ") + fffd + QStringLiteral("\r\n") << 1;
        QTest::newRow("UTF-8, a stray byte at the end of a Japanese line")
            << utf8(QStringLiteral(".第一章\r\n本文です")) + "\xFF\r\n" << Encoding::Utf8
            << QStringLiteral(".第一章\r\n本文です") + fffd + QStringLiteral("\r\n") << 1;
        QTest::newRow("UTF-8, two stray bytes far apart")
            << utf8(QStringLiteral(".章")) + "\x80" + utf8(QStringLiteral("\r\nあ")) + "\xC0\r\n" << Encoding::Utf8
            << QStringLiteral(".章") + fffd + QStringLiteral("\r\nあ") + fffd + QStringLiteral("\r\n") << 2;
        QTest::newRow("UTF-8, a character cut short is one replacement")
            << utf8(QStringLiteral(".あい")) + "\xE3\x81" + utf8(QStringLiteral("\r\nう")) << Encoding::Utf8
            << QStringLiteral(".あい") + fffd + QStringLiteral("\r\nう") << 1;
        QTest::newRow("UTF-8, accented letters only") << utf8(QStringLiteral(".café\r\nnaïve\r\n")) << Encoding::Utf8
                                                       << QStringLiteral(".café\r\nnaïve\r\n") << 0;
        QTest::newRow("ASCII") << QByteArray(".a\r\nb") << Encoding::Utf8 << QStringLiteral(".a\r\nb") << 0;
        QTest::newRow("empty") << QByteArray() << Encoding::Utf8 << QString() << 0;
        QTest::newRow("ASCII with NUL bytes stays bytes") << QByteArray(".a\0b\r\nc\r\n", 9) << Encoding::Utf8
                                                          << QString::fromUtf8(".a\0b\r\nc\r\n", 9) << 0;
        QTest::newRow("UTF-8, a NUL after a line feed stays UTF-8")
            << QByteArray("ab\n\0cd\nef\n", 10) << Encoding::Utf8 << QString::fromUtf8("ab\n\0cd\nef\n", 10) << 0;

        QTest::newRow("UTF-16LE, byte order mark") << "\xFF\xFE" + utf16(novel, true) << Encoding::Utf16LittleEndian
                                                   << novel << 0;
        QTest::newRow("UTF-16BE, byte order mark") << "\xFE\xFF" + utf16(novel, false) << Encoding::Utf16BigEndian
                                                   << novel << 0;
        QTest::newRow("UTF-16LE without a mark") << utf16(novel, true) << Encoding::Utf16LittleEndian << novel << 0;
        QTest::newRow("UTF-16BE without a mark") << utf16(novel, false) << Encoding::Utf16BigEndian << novel << 0;
        QTest::newRow("UTF-16LE, odd last byte") << "\xFF\xFE" + utf16(QStringLiteral(".あ\r\n"), true) + "x"
                                                 << Encoding::Utf16LittleEndian << QStringLiteral(".あ\r\n") + fffd << 1;
        QTest::newRow("UTF-16LE, lone surrogate")
            << "\xFF\xFE" + utf16(QStringLiteral(".あ") + QChar(0xD800) + QStringLiteral("い\r\n"), true)
            << Encoding::Utf16LittleEndian << QStringLiteral(".あ") + fffd + QStringLiteral("い\r\n") << 1;
        QTest::newRow("UTF-16LE, a character of plane 2")
            << "\xFF\xFE" + utf16(QStringLiteral(".𠮷野家\r\n"), true) << Encoding::Utf16LittleEndian
            << QStringLiteral(".𠮷野家\r\n") << 0;

        QTest::newRow("Shift_JIS") << sjis(novel) << Encoding::ShiftJis << novel << 0;
        QTest::newRow("Shift_JIS, short") << sjis(QStringLiteral("原稿")) << Encoding::ShiftJis << QStringLiteral("原稿") << 0;
        QTest::newRow("Shift_JIS, katakana whose second bytes are ASCII")
            << sjis(QStringLiteral(".アイウ\r\nソース\r\n")) << Encoding::ShiftJis << QStringLiteral(".アイウ\r\nソース\r\n") << 0;
        QTest::newRow("Shift_JIS, half-width katakana")
            << sjis(QStringLiteral(".ﾃｽﾄ\r\nｶﾀｶﾅ\r\n")) << Encoding::ShiftJis << QStringLiteral(".ﾃｽﾄ\r\nｶﾀｶﾅ\r\n") << 0;
        // C3 BD and CA B2 are also "ý" and "ʲ" in UTF-8.
        QTest::newRow("Shift_JIS, half-width katakana pairs that are valid UTF-8")
            << sjis(QStringLiteral(".ﾃｽ\r\nﾊｲ\r\n")) << Encoding::ShiftJis << QStringLiteral(".ﾃｽ\r\nﾊｲ\r\n") << 0;
        QTest::newRow("Shift_JIS, a lead byte without its second byte")
            << sjis(QStringLiteral(".第一章\r\n本文")) + "\x81\r\n" << Encoding::ShiftJis
            << QStringLiteral(".第一章\r\n本文") + fffd + QStringLiteral("\r\n") << 1;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, encoding);
        QFETCH(QString, text);
        QFETCH(int, replaced);
        const TTextFileEncoding::Decoded decoded = TTextFileEncoding::decode(bytes);
        QCOMPARE(decoded.text, text);
        QCOMPARE(decoded.encoding, encoding);
        QCOMPARE(decoded.replaced, qsizetype(replaced));
    }

    // The book in UTF-8 and in Shift_JIS, whole and with stray bytes every few thousand bytes.
    void theBook_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<int>("strayEvery");
        QTest::newRow("UTF-8") << QStringLiteral("utf8") << Encoding::Utf8 << 0;
        QTest::newRow("UTF-8, stray bytes") << QStringLiteral("utf8") << Encoding::Utf8 << 4000;
        QTest::newRow("Shift_JIS") << QStringLiteral("sjis") << Encoding::ShiftJis << 0;
        QTest::newRow("Shift_JIS, stray bytes") << QStringLiteral("sjis") << Encoding::ShiftJis << 4000;
    }

    void theBook()
    {
        QFETCH(QString, file);
        QFETCH(Encoding, encoding);
        QFETCH(int, strayEvery);
        QFile book(QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.%1.txt").arg(file));
        if (!book.open(QIODevice::ReadOnly))
            QSKIP("the Japanese text corpus is not beside the checkout");
        QByteArray bytes = book.readAll();
        // A stray byte on its own, after a line break: it never joins a character.
        qsizetype strays = 0;
        for (qsizetype at = strayEvery; strayEvery > 0 && at < bytes.size(); at += strayEvery) {
            at = bytes.indexOf('\n', at);
            if (at < 0)
                break;
            bytes.insert(at + 1, '\x85');
            ++strays;
        }
        const TTextFileEncoding::Decoded decoded = TTextFileEncoding::decode(bytes);
        QCOMPARE(decoded.encoding, encoding);
        QVERIFY(decoded.text.startsWith(QStringLiteral(".Debian リファレンス")));
        // 0x85 is "…" in Shift_JIS when followed by a second byte, a stray byte in UTF-8.
        if (encoding == Encoding::Utf8)
            QCOMPARE(decoded.replaced, strays);
    }

    void names()
    {
        QCOMPARE(TTextFileEncoding::name(Encoding::Utf8), QStringLiteral("UTF-8"));
        QCOMPARE(TTextFileEncoding::name(Encoding::Utf16BigEndian), QStringLiteral("UTF-16"));
        QCOMPARE(TTextFileEncoding::name(Encoding::ShiftJis), QStringLiteral("Shift_JIS"));
    }
};

QTEST_GUILESS_MAIN(TestTextFileEncoding)
#include "tst_textfileencoding.moc"
