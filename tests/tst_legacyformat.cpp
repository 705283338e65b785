#include "document/DocumentTree.h"
#include "support/FileBytes.h"
#include "files/LegacyDocumentFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {
template<size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QByteArray i64(qint64 value)
{
    const qint64 le = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&le), 8);
}

QByteArray i32(qint32 value)
{
    const qint32 le = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&le), 4);
}

QStringList describe(const TDocumentTree &tree)
{
    QStringList out;
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        out << QStringLiteral("%1|%2|%3|%4")
                   .arg(n->level())
                   .arg(n->title(), n->data() ? n->data()->Lines.join(u'¶') : QStringLiteral("(none)"))
                   .arg(QLatin1String(n->isExpanded() ? "true" : "false"));
    }
    return out;
}

TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QStringList &lines = {})
{
    auto data = std::make_unique<TNodeData>();
    data->Lines = lines;
    return tree.addChild(parent, title, std::move(data));
}

// a (e), b, c, d: the first item has a child with the body "abc" and one empty line.
void buildSmallTree(TDocumentTree &tree, const QString &bodyOfB = QStringLiteral("①"))
{
    TTreeNode *a = addItem(tree, nullptr, QStringLiteral("a"));
    addItem(tree, a, QStringLiteral("e"), {QStringLiteral("abc"), QString()});
    addItem(tree, nullptr, QStringLiteral("b"), {bodyOfB});
    addItem(tree, nullptr, QStringLiteral("c"));
    addItem(tree, nullptr, QStringLiteral("d"));
}

const QByteArray threeItems = i32(9) + "a\r\nb\r\nc\r\n";
} // namespace

class TestLegacyFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesExactBytes()
    {
        TDocumentTree tree;
        buildSmallTree(tree);
        qint64 version = TLegacyDocumentFormat::SaveAsVersion;
        const QString path = m_dir.filePath("small.olv");
        const TFileResult result = TLegacyDocumentFormat::write(path, tree, version);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(version, 11000);
        const QByteArray expected = bytes("\xF8\x2A\0\0\0\0\0\0"
                                          "\x10\0\0\0" "a\r\n\te\r\nb\r\nc\r\nd\r\n"
                                          "\0\0\0\0"
                                          "\x07\0\0\0" "abc\r\n\r\n"
                                          "\x04\0\0\0" "\x87\x40\r\n"
                                          "\0\0\0\0"
                                          "\0\0\0\0"
                                          "\x2C\0\0\0\0\0\0\0"
                                          "{\"treeopen\":{\"0\":1,\"1\":0,\"2\":0,\"3\":0,\"4\":0}}");
        QCOMPARE(readFileBytes(path), expected);

        TDocumentTree read;
        const TFileResult opened = TLegacyDocumentFormat::read(path, read);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(opened.version, 11000);
        QCOMPARE(describe(read), (QStringList{"0|a||false", "1|e|abc¶|false", "0|b|①|false", "0|c||false", "0|d||false"}));
    }

    void shiftJisTest_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<qint64>("version");
        QTest::addColumn<bool>("written");
        QTest::addColumn<qint64>("versionAfter");
        QTest::addColumn<QString>("titleRead");
        QTest::addColumn<QString>("bodyRead");
        QTest::addColumn<int>("changedTitles"); // written with "?" for what Shift_JIS lacks
        QTest::newRow("circled digit passes") << "b" << "①" << qint64(10000) << true << qint64(11000) << "b" << "①" << 0;
        QTest::newRow("euro sign refused") << "b" << "価格€" << qint64(10000) << false << qint64(10000) << "" << "" << 0;
        QTest::newRow("emoji refused again at 11000") << "b" << "😀" << qint64(11000) << false << qint64(11000) << "" << "" << 0;
        QTest::newRow("no test for a JSON document") << "b" << "€" << qint64(20000) << true << qint64(20000) << "b" << "?" << 0;
        QTest::newRow("titles are not tested") << "€" << "本文" << qint64(10000) << true << qint64(11000) << "?" << "本文" << 1;
        QTest::newRow("emoji title is one question mark") << "a😀b" << "本文" << qint64(10000) << true << qint64(11000) << "a?b" << "本文" << 1;
        QTest::newRow("emoji body is one question mark") << "b" << "😀と𠮷" << qint64(20000) << true << qint64(20000) << "b" << "?と?" << 0;
        QTest::newRow("Windows-only characters pass")
            << "\u0080\uF8F0" << "\uF8F1\uF8F2\uF8F3" << qint64(10000) << true << qint64(11000) << "\u0080\uF8F0" << "\uF8F1\uF8F2\uF8F3" << 0;
    }

    void shiftJisTest()
    {
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(qint64, version);
        QFETCH(bool, written);
        QFETCH(qint64, versionAfter);
        QFETCH(QString, titleRead);
        QFETCH(QString, bodyRead);
        QFETCH(int, changedTitles);
        QTemporaryDir dir;
        const QString path = dir.filePath("doc.olv");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
        old.close();

        TDocumentTree tree;
        buildSmallTree(tree, body);
        tree.topLevel(1)->setTitle(title);
        const TFileResult result = TLegacyDocumentFormat::write(path, tree, version);
        QCOMPARE(result.ok, written);
        QCOMPARE(result.changedTitles, changedTitles);
        QCOMPARE(version, versionAfter);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.olv"});
        if (!written) {
            QVERIFY(result.refused);
            QCOMPARE(result.error, QStringLiteral("SJISでない文字が含まれていますので。OLVEK1形式では保存できません。\n"
                                                  "OLVEK2形式(UTF-8)で保存するか、日本語のみを使用してください。"));
            QCOMPARE(readFileBytes(path), QByteArray("old content"));
            return;
        }
        TDocumentTree read;
        QVERIFY(TLegacyDocumentFormat::read(path, read).ok);
        QCOMPARE(read.topLevel(1)->title(), titleRead);
        QCOMPARE(read.topLevel(1)->data()->Lines, QStringList{bodyRead});
    }

    // A file written on Windows with the single bytes that only its code page 932 maps reads and
    // writes back byte for byte.
    void windowsBytesWriteBack()
    {
        const QByteArray file = bytes("\x20\x4E\0\0\0\0\0\0"
                                      "\x10\0\0\0" "\x80\xA0\xFD\xFE\xFF\r\nb\r\nc\r\nd\r\n"
                                      "\x07\0\0\0" "\xA0\xFF\xFE\xFD\x80\r\n"
                                      "\0\0\0\0" "\0\0\0\0" "\0\0\0\0"
                                      "\x26\0\0\0\0\0\0\0"
                                      "{\"treeopen\":{\"0\":0,\"1\":0,\"2\":0,\"3\":0}}");
        TDocumentTree tree;
        const TFileResult read = TLegacyDocumentFormat::read(writeFile("windows.olv", file), tree);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(tree.first()->title(), QStringLiteral("\u0080\uF8F0\uF8F1\uF8F2\uF8F3"));
        QCOMPARE(tree.first()->data()->Lines, QStringList{QStringLiteral("\uF8F0\uF8F3\uF8F2\uF8F1\u0080")});
        qint64 version = read.version;
        const QString copy = m_dir.filePath("windows-copy.olv");
        QVERIFY(TLegacyDocumentFormat::write(copy, tree, version).ok);
        QCOMPARE(readFileBytes(copy), file);

        // Bytes that would begin a text with a UTF-16 byte order mark are never written.
        tree.first()->data()->Lines = QStringList{QStringLiteral("\uF8F3\uF8F2a"), QStringLiteral("b")};
        tree.first()->setTitle(QStringLiteral("\uF8F2\uF8F3"));
        QVERIFY(TLegacyDocumentFormat::write(copy, tree, version).ok);
        TDocumentTree again;
        QVERIFY(TLegacyDocumentFormat::read(copy, again).ok);
        QCOMPARE(describe(again).first(), QStringLiteral("0|?\uF8F3|?\uF8F2a¶b|false"));
    }

    // A title holding line breaks or TABs, or starting with a space, still reads back as one item
    // at its own level with its own body; the tree in memory keeps the title as it was.
    void titlesWithBreaksAndTabs_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("written");
        QTest::newRow("LF") << QStringLiteral("A\nB") << QStringLiteral("A B");
        QTest::newRow("CR LF") << QStringLiteral("A\r\nB") << QStringLiteral("A  B");
        QTest::newRow("trailing CR") << QStringLiteral("A\r") << QStringLiteral("A ");
        QTest::newRow("leading TAB") << QStringLiteral("\tA") << QStringLiteral("_A");
        QTest::newRow("two leading TABs") << QStringLiteral("\t\tA") << QStringLiteral("_ A");
        QTest::newRow("leading space") << QStringLiteral(" A") << QStringLiteral("_A");
        QTest::newRow("only a line break") << QStringLiteral("\n") << QStringLiteral("_");
    }

    void titlesWithBreaksAndTabs()
    {
        QFETCH(QString, title);
        QFETCH(QString, written);
        TDocumentTree tree;
        buildSmallTree(tree);
        tree.first()->firstChild()->setTitle(title);
        tree.first()->data()->Lines = QStringList{QStringLiteral("本文a")};
        qint64 version = TLegacyDocumentFormat::SaveAsVersion;
        const QString path = m_dir.filePath("titles.olv");
        QVERIFY(TLegacyDocumentFormat::write(path, tree, version).ok);
        QCOMPARE(tree.first()->firstChild()->title(), title);

        TDocumentTree read;
        const TFileResult opened = TLegacyDocumentFormat::read(path, read);
        QVERIFY2(opened.ok, qPrintable(opened.error));
        QCOMPARE(describe(read), (QStringList{"0|a|本文a|false", "1|" + written + "|abc¶|false", "0|b|①|false",
                                              "0|c||false", "0|d||false"}));
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("version");
        QTest::addColumn<QStringList>("items");
        const QByteArray empties = i32(0) + i32(0) + i32(0);
        const QStringList plain{"0|a||false", "0|b||false", "0|c||false"};
        QTest::newRow("ends after the last body") << i64(11000) + threeItems + empties << qint64(11000) << plain;
        QTest::newRow("version 29999 opens") << i64(29999) + threeItems + empties + i64(2) + "{}" << qint64(29999) << plain;
        QTest::newRow("damaged tail ignored") << i64(10000) + threeItems + empties + i64(1000) + "{\"tree" << qint64(10000) << plain;
        QTest::newRow("negative body length is empty") << i64(11000) + threeItems + i32(-5) + i32(0) + i32(0) << qint64(11000) << plain;
        QTest::newRow("levels from TABs and spaces, climbing back")
            << i64(11000) + i32(19) + "a\r\n\tb\r\n \tc\n  d\re\r\nf" + i32(2) + "\x82\xa0" + i32(0) + i32(0) + i32(0) + i32(0) + i32(0)
            << qint64(11000)
            << QStringList{"0|a|あ|false", "1|b||false", "2|c||false", "2|d||false", "0|e||false", "0|f||false"};
        QTest::newRow("bytes that are not Shift_JIS")
            << i64(11000) + threeItems + i32(2) + "a\x82" + i32(0) + i32(0) << qint64(11000)
            << QStringList{QStringLiteral("0|a|a\uFFFD|false"), "0|b||false", "0|c||false"};
        QTest::newRow("UTF-8 byte order mark in the tree text")
            << i64(11000) + i32(12) + "\xEF\xBB\xBF" "\xE3\x81\x82\r\nb\r\nc" + empties << qint64(11000)
            << QStringList{"0|あ||false", "0|b||false", "0|c||false"};
    }

    void reads()
    {
        QFETCH(QByteArray, file);
        QFETCH(qint64, version);
        QFETCH(QStringList, items);
        TDocumentTree tree;
        const TFileResult result = TLegacyDocumentFormat::read(writeFile("in.olv", file), tree);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.version, version);
        QCOMPARE(describe(tree), items);
    }

    void damagedInputLeavesTheDocument_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        const QByteArray empties = i32(0) + i32(0) + i32(0);
        QTest::newRow("empty file") << QByteArray() << "版数";
        QTest::newRow("shorter than the version") << QByteArray(7, '\0') << "版数";
        QTest::newRow("version 30000") << i64(30000) + threeItems + empties << "このバージョンではこのファイルは開けません。";
        QTest::newRow("no tree length") << i64(11000) + "ab" << "ツリーの長さ";
        QTest::newRow("negative tree length") << i64(11000) + i32(-1) + empties << "ツリーの長さ";
        QTest::newRow("tree longer than the file") << i64(11000) + i32(1000) + "a\r\nb\r\nc\r\n" << "ツリーの長さ";
        QTest::newRow("empty tree") << i64(11000) + i32(0) << "3つ未満";
        QTest::newRow("two top-level items") << i64(11000) + i32(6) + "a\r\n\tb" + i32(0) + i32(0) << "3つ未満";
        QTest::newRow("level skipped") << i64(11000) + i32(12) + "a\r\n\t\tb\r\nc\r\n" + empties << "「b」のレベル 2";
        QTest::newRow("bodies missing") << i64(11000) + threeItems + i32(0) << "「b」の本文がありません";
        QTest::newRow("body longer than the file") << i64(11000) + threeItems + i32(0) + i32(50) + "xy" << "「b」の本文の長さ";
        QByteArray deep = "a\r\n";
        for (int i = 1; i <= 401; ++i)
            deep += QByteArray(i, '\t') + "x\r\n";
        QTest::newRow("nested too deeply") << i64(11000) + i32(qint32(deep.size())) + deep << "深すぎ";
    }

    void damagedInputLeavesTheDocument()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        TDocumentTree tree;
        tree.createRootFolders();
        const QStringList before = describe(tree);
        const TFileResult result = TLegacyDocumentFormat::read(writeFile("bad.olv", file), tree);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QCOMPARE(describe(tree), before);
    }

    void notAFile()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("folder.olv"));
        TDocumentTree tree;
        QVERIFY(TLegacyDocumentFormat::read(m_dir.filePath("folder.olv"), tree).error.contains("フォルダ"));
        QVERIFY(TLegacyDocumentFormat::read(m_dir.filePath("missing.olv"), tree).error.contains("見つかりません"));
        qint64 version = 20000;
        tree.createRootFolders();
        QVERIFY(!TLegacyDocumentFormat::write(m_dir.filePath("folder.olv"), tree, version).ok);
    }

private:
    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        return writeFileBytes(path, content) ? path : QString();
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestLegacyFormat)
#include "tst_legacyformat.moc"
