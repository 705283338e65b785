#include "document/DocumentTree.h"
#include "export/IndexExport.h"
#include "export/TextExport.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/OutlineBuilder.h"
#include "support/Unprivileged.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TTextExportOptions)

namespace {
using Layout = TTextExportOptions::Layout;

// A document whose main title is "本" with body "序" and whose main title has outline below it;
// the work folder holds one item that no text export may show.
struct TDocument
{
    TDocumentTree tree;

    explicit TDocument(const TOutlineText &outline, const QString &mainTitle = QStringLiteral("本"))
    {
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(mainTitle);
        tree.MainTitleNode()->data()->Lines = QStringList{QStringLiteral("序")};
        buildOutline(tree, tree.MainTitleNode(), outline);
        buildOutline(tree, tree.WorkFolderNode(), {QStringLiteral("0 メモ"), QStringLiteral("> 下書き")});
    }
};

TTextExportOptions options(Layout layout, bool titles, bool numbers, int width = 72, bool indent = true)
{
    TTextExportOptions o;
    o.layout = layout;
    o.titles = titles;
    o.numbers = numbers;
    o.width = width;
    o.indent = indent;
    return o;
}

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}
} // namespace

class TestTextExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemNumber()
    {
        TDocument doc({QStringLiteral("0 一"), QStringLiteral("1 一の一"), QStringLiteral("1 一の二"),
                       QStringLiteral("2 一の二の一"), QStringLiteral("0 二")});
        const TTreeNode *main = doc.tree.MainTitleNode();
        QCOMPARE(TTextExport::ItemNumber(main), QString());
        QCOMPARE(TTextExport::ItemNumber(main->child(0)), QStringLiteral("1"));
        QCOMPARE(TTextExport::ItemNumber(main->child(0)->child(1)), QStringLiteral("1.2"));
        QCOMPARE(TTextExport::ItemNumber(main->child(0)->child(1)->child(0)), QStringLiteral("1.2.1"));
        QCOMPARE(TTextExport::ItemNumber(main->child(1)), QStringLiteral("2"));
    }

    void layouts_data()
    {
        QTest::addColumn<TOutlineText>("outline");
        QTest::addColumn<TTextExportOptions>("options");
        QTest::addColumn<QStringList>("expected");
        const TOutlineText book{QStringLiteral("0 章"), QStringLiteral("> a")};
        QTest::newRow("plain, titles and numbers")
            << book << options(Layout::Plain, true, true)
            << QStringList{"【本】", "", "序", "", "1. 章", "", "a", ""};
        QTest::newRow("plain without numbers")
            << book << options(Layout::Plain, true, false)
            << QStringList{"【本】", "", "序", "", "章", "", "a", ""};
        QTest::newRow("plain without titles: each body still ends with an empty line")
            << book << options(Layout::Plain, false, true) << QStringList{"序", "", "a", ""};
        QTest::newRow("hierarchical")
            << book << options(Layout::Hierarchical, true, false)
            << QStringList{".【本】", "序", "", "..章", "a", ""};
        QTest::newRow("hierarchical, deeper levels and empty bodies")
            << TOutlineText{"0 章", "1 節", "> x", "> ", "0 章2"} << options(Layout::Hierarchical, true, false)
            << QStringList{".【本】", "序", "", "..章", "", "...節", "x", "", "", "..章2", ""};
        QTest::newRow("formatted, level 1 at width 10: half-width")
            << TOutlineText{"0 章", "> abcdefghij"} << options(Layout::Formatted, true, true, 10)
            << QStringList{"【本】", "", "  序", "", "1. 章", "", "    abcdef", "    ghij", ""};
        QTest::newRow("formatted, level 1 at width 10: full-width")
            << TOutlineText{"0 章", "> あいうえお"} << options(Layout::Formatted, true, true, 10)
            << QStringList{"【本】", "", "  序", "", "1. 章", "", "    あいう", "    えお", ""};
        QTest::newRow("formatted: a full-width character starting in the last column goes over")
            << TOutlineText{"0 章", "> aあいうえ"} << options(Layout::Formatted, false, false, 10)
            << QStringList{"  序", "", "    aあいう", "    え", ""};
        QTest::newRow("formatted: half-width katakana is one column")
            << TOutlineText{"0 章", "> ｱｲｳｴｵｶｷ"} << options(Layout::Formatted, false, false, 10)
            << QStringList{"  序", "", "    ｱｲｳｴｵｶ", "    ｷ", ""};
        QTest::newRow("formatted: an empty body line keeps its indentation")
            << TOutlineText{"0 章", "> ", "> b"} << options(Layout::Formatted, false, false, 10)
            << QStringList{"  序", "", "    ", "    b", ""};
        QTest::newRow("formatted without indentation")
            << TOutlineText{"0 章", "> abcdefghijkl"} << options(Layout::Formatted, false, false, 10, false)
            << QStringList{"序", "", "abcdefghij", "kl", ""};
        QTest::newRow("formatted with no room left: one character per line")
            << TOutlineText{"0 a", "1 b", "2 c", "3 d", "> xyz"} << options(Layout::Formatted, false, false, 10)
            << QStringList{"  序", "", "", "", "", "          x", "          y", "          z", ""};
        QTest::newRow("formatted: a character outside the plane stays whole")
            << TOutlineText{"0 a", "> 𠮷𠮷"} << options(Layout::Formatted, false, false, 3)
            << QStringList{"  序", "", "    𠮷", "    𠮷", ""};
    }

    void layouts()
    {
        QFETCH(TOutlineText, outline);
        QFETCH(TTextExportOptions, options);
        QFETCH(QStringList, expected);
        TDocument doc(outline);
        QCOMPARE(TTextExport::Lines(doc.tree, options), expected);
    }

    void writesBytes_data()
    {
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8 without a byte order mark, CR LF after every line")
            << true << crlf({"【本😀】", "", "序", "", "1. 章", "", "a", ""});
        QTest::newRow("Shift_JIS, a character it lacks becomes ?")
            << false
            << QByteArray("\x81\x79\x96\x7b?\x81\x7a\r\n\r\n\x8f\x98\r\n\r\n1. \x8f\xcd\r\n\r\na\r\n\r\n");
    }

    void writesBytes()
    {
        QFETCH(bool, utf8);
        QFETCH(QByteArray, bytes);
        TDocument doc({QStringLiteral("0 章"), QStringLiteral("> a")}, QStringLiteral("本😀"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        TTextExportOptions o = options(Layout::Plain, true, true);
        o.utf8 = utf8;
        const TFileResult result = TTextExport::Write(path, doc.tree, o);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readFileBytes(path), bytes);
    }

    // A write that fails part-way leaves the old file as it was, not a half-written one.
    void failedWriteKeepsOldFile()
    {
        TOutlineText outline{QStringLiteral("0 章")};
        for (int i = 0; i < 4000; ++i)
            outline << QStringLiteral("> 長い本文の行です。長い本文の行です。長い本文の行です。");
        TDocument doc(outline);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        QVERIFY(writeFileBytes(path, "old"));
        TFileResult result;
        {
            const TFileSizeLimit limit(64 << 10);
            QVERIFY(limit.isActive());
            result = TTextExport::Write(path, doc.tree, options(Layout::Plain, true, true));
        }
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(readFileBytes(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});
    }

    void unwritableFolder()
    {
        TDocument doc({QStringLiteral("0 章")});
        QTemporaryDir dir;
        QVERIFY(writeFileBytes(dir.filePath(QStringLiteral("file")), "x"));
        const TFileResult result = TTextExport::Write(dir.filePath(QStringLiteral("file/out.txt")), doc.tree,
                                                      options(Layout::Plain, true, true));
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        const TFileResult onFolder = TTextExport::Write(dir.path(), doc.tree, options(Layout::Plain, true, true));
        QVERIFY(!onFolder.ok);
    }

    // A folder the user may not write: the export says why, and nothing appears in it.
    void readOnlyFolder()
    {
        TDocument doc({QStringLiteral("0 章")});
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555)));
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        TFileResult written;
        const TUnprivilegedResult result = runUnprivileged([&] {
            written = TTextExport::Write(path, doc.tree, options(Layout::Plain, true, true));
            return !written.ok && !written.error.isEmpty();
        });
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700)));
        if (result == TUnprivilegedResult::Unavailable)
            QSKIP("cannot run as an ordinary user");
        QCOMPARE(result, TUnprivilegedResult::Passed);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{});
    }

    void index_data()
    {
        QTest::addColumn<TOutlineText>("outline");
        QTest::addColumn<QStringList>("expected");
        const QStringList roots{" ├ ■作業フォルダ", " │  └ ◎メモ", " ├ ■ゴミ箱", " └ ■クリップ"};
        QTest::newRow("the example") << TOutlineText{"0 章1", "1 節", "0 章2"}
                                     << QStringList{" ┌ ■本", " │  ├ ◎章1", " │  │  └ ○節", " │  └ ◎章2"} + roots;
        // After the return from C (two levels deeper than D), G's column for E still goes on,
        // since E has a next sibling F.
        QTest::newRow("return from two levels deeper")
            << TOutlineText{"0 A", "1 B", "2 C", "0 D", "1 E", "2 G", "1 F"}
            << QStringList{" ┌ ■本",
                           " │  ├ ◎A",
                           " │  │  └ ○B",
                           " │  │  　  └ ・C",
                           " │  └ ◎D",
                           " │  　  ├ ○E",
                           " │  　  │  └ ・G",
                           " │  　  └ ○F"}
                   + roots;
        QTest::newRow("return from three levels deeper")
            << TOutlineText{"0 A", "1 B", "2 C", "3 D", "1 E", "2 F", "3 G", "2 H", "0 I"}
            << QStringList{" ┌ ■本",
                           " │  ├ ◎A",
                           " │  │  ├ ○B",
                           " │  │  │  └ ・C",
                           " │  │  │  　  └ ・D",
                           " │  │  └ ○E",
                           " │  │  　  ├ ・F",
                           " │  │  　  │  └ ・G",
                           " │  │  　  └ ・H",
                           " │  └ ◎I"}
                   + roots;
    }

    void index()
    {
        QFETCH(TOutlineText, outline);
        QFETCH(QStringList, expected);
        TDocument doc(outline);
        QCOMPARE(TIndexExport::Lines(doc.tree), expected);
    }

    // Deeper than the seventeen levels a fixed set of columns could hold.
    void indexOfDeepTree()
    {
        TOutlineText outline;
        for (int depth = 0; depth < 20; ++depth)
            outline << QStringLiteral("%1 L%1").arg(depth);
        outline << QStringLiteral("0 after");
        TDocument doc(outline);
        const QStringList lines = TIndexExport::Lines(doc.tree);
        QString deepest = QStringLiteral(" │  │ ");
        for (int k = 2; k < 20; ++k)
            deepest += QStringLiteral(" 　 ");
        QCOMPARE(lines[20], deepest + QStringLiteral(" └ ・L19"));
        QCOMPARE(lines[21], QStringLiteral(" │  └ ◎after"));
    }

    void indexIsShiftJis()
    {
        TDocument doc({QStringLiteral("0 章")});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.txt"));
        const TFileResult result = TIndexExport::Write(path, doc.tree);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(readFileBytes(path).startsWith(QByteArray(" \x84\xa1 \x81\xa1\x96\x7b\r\n")));
    }
};

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_textexport.moc"
