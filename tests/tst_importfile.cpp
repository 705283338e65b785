#include "document/DocumentTree.h"
#include "export/ImportFile.h"
#include "export/TextExport.h"
#include "support/FileBytes.h"
#include "support/OutlineBuilder.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
using Mode = TImportFile::Mode;

const QString bookDir = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/");

// A document with the main title "本" and the items X (with a child Y) and Z below it.
struct TDocument
{
    TDocumentTree tree;

    TDocument()
    {
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("本"));
        buildOutline(tree, tree.MainTitleNode(), {QStringLiteral("0 X"), QStringLiteral("1 Y"), QStringLiteral("0 Z")});
    }
    TTreeNode *X() const { return tree.MainTitleNode()->child(0); }
};

// The new document an import starts from: the main title and the three folder roots.
struct TNewDocument
{
    TDocumentTree tree;
    TNewDocument() { tree.createRootFolders(); }
};

// The work folder's items without the folder's own entry and body.
TOutlineText workItems(const TDocumentTree &tree)
{
    TOutlineText out;
    const TTreeNode *folder = tree.WorkFolderNode();
    for (int i = 0; i < folder->childCount(); ++i)
        out += describeOutline(folder->child(i));
    return out;
}

const QStringList example{".本", "序", "..章1", "a", "", "..章2", "b"};
} // namespace

class TestImportFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newDocument_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<TOutlineText>("main");
        QTest::addColumn<TOutlineText>("work");
        QTest::newRow("the example") << example
                                     << TOutlineText{"0 本", "> 序", "1 章1", "> a", "1 章2", "> b"} << TOutlineText{};
        QTest::newRow("two top headings go under the main title")
            << QStringList{".A", "a", ".B"}
            << TOutlineText{"0 " + TDocumentTree::MainTitleCaption, "1 A", "> a", "1 B"} << TOutlineText{};
        QTest::newRow("preamble goes to the work folder")
            << QStringList{"memo", ".A"} << TOutlineText{"0 A"} << TOutlineText{"0 インポート", "> memo"};
        QTest::newRow("body trimmed of empty lines at both ends")
            << QStringList{".A", "", "", "x", "", "y", "", "", "", ".B"}
            << TOutlineText{"0 " + TDocumentTree::MainTitleCaption, "1 A", "> x", "> ", "> y", "1 B"}
            << TOutlineText{};
        QTest::newRow("a body of empty lines keeps one")
            << QStringList{".A", "..B", "", "", "..C"}
            << TOutlineText{"0 A", "1 B", "> ", "1 C"} << TOutlineText{};
        QTest::newRow("a heading jumping several levels deeper is a child")
            << QStringList{".A", "....B", "..C"} << TOutlineText{"0 A", "1 B", "1 C"} << TOutlineText{};
        QTest::newRow("the title keeps everything after the dots")
            << QStringList{"..  sp .x"} << TOutlineText{"0 " + TDocumentTree::MainTitleCaption, "1   sp .x"}
            << TOutlineText{};
        // With no top heading first, a later one could only go beside the root folders.
        QTest::newRow("a later top heading stays under the main title")
            << QStringList{"..a", ".b"} << TOutlineText{"0 a", "1 b"} << TOutlineText{};
        // The levels below it shift with it: c stays B's child and d c's.
        QTest::newRow("a later top heading keeps the nesting below it")
            << QStringList{"..a", ".B", "..c", "...d", ".....e", "..f"}
            << TOutlineText{"0 a", "1 B", "2 c", "3 d", "4 e", "2 f"} << TOutlineText{};
    }

    void newDocument()
    {
        QFETCH(QStringList, lines);
        QFETCH(TOutlineText, main);
        QFETCH(TOutlineText, work);
        TNewDocument doc;
        const TImportFile::Result result = TImportFile::Apply(doc.tree, doc.tree.MainTitleNode(), Mode::NewDocument, lines);
        QCOMPARE(describeOutline(doc.tree.MainTitleNode()), main);
        QCOMPARE(workItems(doc.tree), work);
        QCOMPARE(result.preambleAdded, !work.isEmpty());
        QCOMPARE(doc.tree.topLevelCount(), 4);
    }

    void underAndAfter_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("under");
        QTest::addColumn<TOutlineText>("main");
        QTest::addColumn<QString>("first");
        QTest::newRow("the example under X")
            << example << true
            << TOutlineText{"0 本", "1 X", "2 Y", "2 本", "> 序", "3 章1", "> a", "3 章2", "> b", "1 Z"}
            << QStringLiteral("本");
        QTest::newRow("the example after X")
            << example << false
            << TOutlineText{"0 本", "1 X", "2 Y", "1 Z", "1 本", "> 序", "2 章1", "> a", "2 章2", "> b"}
            << QStringLiteral("本");
        QTest::newRow("two top headings after X become its children")
            << QStringList{".A", ".B"} << false << TOutlineText{"0 本", "1 X", "2 Y", "2 A", "2 B", "1 Z"}
            << QStringLiteral("A");
        QTest::newRow("a heading as the last line has an empty body")
            << QStringList{".A", "x", "..B"} << true << TOutlineText{"0 本", "1 X", "2 Y", "2 A", "> x", "3 B", "1 Z"}
            << QStringLiteral("A");
    }

    void underAndAfter()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, under);
        QFETCH(TOutlineText, main);
        QFETCH(QString, first);
        TDocument doc;
        const TImportFile::Result result = TImportFile::Apply(doc.tree, doc.X(), under ? Mode::Under : Mode::After, lines);
        QCOMPARE(describeOutline(doc.tree.MainTitleNode()), main);
        QVERIFY(result.first);
        QCOMPARE(result.first->title(), first);
        QVERIFY(!result.preambleAdded);
    }

    void noHeadings()
    {
        TDocument doc;
        const TOutlineText before = describeOutline(doc.tree.MainTitleNode());
        // Nothing but the work folder changes: no item is expanded either.
        const auto expandedItems = [&doc] {
            QStringList expanded;
            for (TTreeNode *node = doc.tree.first(); node; node = node->next()) {
                if (node->isExpanded())
                    expanded << node->title();
            }
            return expanded;
        };
        const QStringList expandedBefore = expandedItems();
        const TImportFile::Result result = TImportFile::Apply(doc.tree, doc.X(), Mode::Under, {"a", "", "c"});
        QCOMPARE(describeOutline(doc.tree.MainTitleNode()), before);
        QCOMPARE(expandedItems(), expandedBefore);
        QVERIFY(!result.first);
        QVERIFY(result.preambleAdded);
        QCOMPARE(workItems(doc.tree), (TOutlineText{"0 インポート", "> a", "> ", "> c"}));

        const TImportFile::Result empty = TImportFile::Apply(doc.tree, doc.X(), Mode::Under, {});
        QVERIFY(!empty.first);
        QVERIFY(!empty.preambleAdded);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Shift_JIS") << QByteArray("\x82\xa0\x8a\xbf") << QStringLiteral("あ漢");
        QTest::newRow("UTF-8") << QByteArray("\xe3\x81\x82\xe6\xbc\xa2") << QStringLiteral("あ漢");
        QTest::newRow("UTF-8 with a byte order mark") << QByteArray("\xef\xbb\xbf.a") << QStringLiteral(".a");
        QTest::newRow("ASCII") << QByteArray(".a\r\nb") << QStringLiteral(".a\r\nb");
        QTest::newRow("half-width katakana in Shift_JIS") << QByteArray("\xb1\xb2") << QStringLiteral("ｱｲ");
        // C3 BD and CA B2 are valid UTF-8 too ("ý", "ʲ").
        QTest::newRow("half-width katakana pairs in Shift_JIS")
            << QByteArray(".\xc3\xbd\r\n\xca\xb2") << QStringLiteral(".ﾃｽ\r\nﾊｲ");
        QTest::newRow("UTF-8 with a stray byte")
            << QByteArray(".\xe7\xac\xac\xe4\xb8\x80\xe7\xab\xa0\xff\r\n\xe6\x9c\xac")
            << QStringLiteral(".第一章\uFFFD\r\n本");
        QTest::newRow("UTF-16 with a byte order mark")
            << QByteArray("\xff\xfe.\x00,{\r\x00\n\x00,g", 12) << QStringLiteral(".第\r\n本");
        QTest::newRow("UTF-16 without a byte order mark")
            << QByteArray(".\x00,{\r\x00\n\x00,g\r\x00\n\x00", 14) << QStringLiteral(".第\r\n本\r\n");
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(TImportFile::Decode(bytes), text);
    }

    // What reading the file found: the encoding, the bytes it had to replace and the NULs.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<int>("replacedBytes");
        QTest::addColumn<int>("nulCharacters");
        QTest::newRow("UTF-8") << QByteArray(".\xe6\x9c\xac\r\nx") << QStringList{".本", "x"} << "UTF-8" << 0 << 0;
        QTest::newRow("UTF-8 with a stray byte")
            << QByteArray(".\xe6\x9c\xac\x93\r\nx") << QStringList{".本\uFFFD", "x"} << "UTF-8" << 1 << 0;
        QTest::newRow("Shift_JIS") << QByteArray(".\x96\x7b\r\nx") << QStringList{".本", "x"} << "Shift_JIS" << 0 << 0;
        QTest::newRow("UTF-16") << QByteArray("\xff\xfe.\x00,g\r\x00\n\x00x\x00", 12) << QStringList{".本", "x"}
                                << "UTF-16" << 0 << 0;
        // The body goes on after the NUL; nothing of the item is lost.
        QTest::newRow("NUL characters") << QByteArray(".A\r\nx\0y\r\nmore\0\r\n", 16)
                                        << QStringList{".A", "x\uFFFDy", "more\uFFFD"} << "UTF-8" << 0 << 2;
        QTest::newRow("NUL in a title") << QByteArray(".A\0B\r\n", 6) << QStringList{".A\uFFFDB"} << "UTF-8" << 0 << 1;
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QString, encoding);
        QFETCH(int, replacedBytes);
        QFETCH(int, nulCharacters);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(path, bytes));
        QStringList read;
        TImportFile::Reading reading;
        QCOMPARE(TImportFile::Read(path, read, &reading), QString());
        QCOMPARE(read, lines);
        QCOMPARE(reading.encoding, encoding);
        QCOMPARE(reading.replacedBytes, qsizetype(replacedBytes));
        QCOMPARE(reading.nulCharacters, qsizetype(nulCharacters));
    }

    // A file of which nothing can be read is an error, not an item of replacement characters.
    void nothingReadable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("error");
        QTest::newRow("NUL bytes only") << QByteArray(5, '\0') << true;
        QTest::newRow("bytes no encoding reads") << QByteArray("\x81\r\n\x81\r\n") << true;
        QTest::newRow("a byte order mark only") << QByteArray("\xff\xfe") << false;
        QTest::newRow("empty lines only") << QByteArray("\r\n\r\n") << false;
        QTest::newRow("one readable character") << QByteArray("\x81\r\nx") << false;
    }

    void nothingReadable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(path, bytes));
        QStringList lines;
        const QString message = TImportFile::Read(path, lines);
        QCOMPARE(message, error ? TImportFile::NothingReadableError(path) : QString());
        QCOMPARE(lines.isEmpty(), error || bytes.size() <= 2);
    }

    // Every item ends expanded once a heading was placed, in the tree itself, whatever shows it.
    void expandsEveryItem_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("new document") << int(Mode::NewDocument);
        QTest::newRow("under") << int(Mode::Under);
        QTest::newRow("after") << int(Mode::After);
    }

    void expandsEveryItem()
    {
        QFETCH(int, mode);
        TDocument doc;
        TNewDocument fresh;
        TDocumentTree &tree = Mode(mode) == Mode::NewDocument ? fresh.tree : doc.tree;
        TTreeNode *target = Mode(mode) == Mode::NewDocument ? tree.MainTitleNode() : doc.X();
        TImportFile::Apply(tree, target, Mode(mode), {"memo", ".A", "..B", "...C"});
        for (TTreeNode *node = tree.first(); node; node = node->next())
            QVERIFY2(!node->hasChildren() || node->isExpanded(), qPrintable(node->title()));
    }

    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF and LF") << QStringLiteral("a\r\nb\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("final break adds no line") << QStringLiteral("a\r\n") << QStringList{"a"};
        QTest::newRow("empty lines") << QStringLiteral("\r\n\r\na") << QStringList{"", "", "a"};
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << QStringList{"a", "b"};
        QTest::newRow("empty") << QString() << QStringList{};
    }

    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TImportFile::SplitLines(text), lines);
    }

    void unreadable()
    {
        QTemporaryDir dir;
        QStringList lines{"x"};
        QVERIFY(!TImportFile::Read(dir.filePath(QStringLiteral("missing.txt")), lines).isEmpty());
        QVERIFY(lines.isEmpty());
        QVERIFY(!TImportFile::Read(dir.path(), lines).isEmpty());
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray junk;
        for (int i = 0; i < 1 << 16; ++i)
            junk.append(char((i * 7919) & 0xff));
        QTest::newRow("binary junk") << junk;
        QTest::newRow("NUL bytes") << QByteArray(".a\0b\r\n\0\0\r\n..\0", 12);
        QTest::newRow("a line of 20 MB of dots") << QByteArray(20 << 20, '.');
        QTest::newRow("a line of 8 MB") << QByteArray(".") + QByteArray(8 << 20, 'x');
        QByteArray stairs;
        for (int d = 1; d <= 3000; ++d)
            stairs += QByteArray(d, '.') + "t\n";
        QTest::newRow("3000 ever deeper headings") << stairs;
    }

    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.txt"));
        QVERIFY(writeFileBytes(path, bytes));
        QStringList lines;
        QCOMPARE(TImportFile::Read(path, lines), QString());
        TDocument doc;
        TImportFile::Apply(doc.tree, doc.X(), Mode::Under, lines);
        QCOMPARE(doc.tree.topLevelCount(), 4);
    }

    // The book exported in the hierarchical layout comes back item by item, in either encoding.
    void roundTripOfTheBook_data()
    {
        QTest::addColumn<bool>("utf8");
        QTest::newRow("UTF-8") << true;
        QTest::newRow("Shift_JIS") << false;
    }

    void roundTripOfTheBook()
    {
        QFETCH(bool, utf8);
        QStringList lines;
        const QString book = bookDir + QStringLiteral("debian-reference-ja.utf8.txt");
        if (!QFileInfo::exists(book))
            QSKIP("the book is not there");
        QCOMPARE(TImportFile::Read(book, lines), QString());
        QCOMPARE(lines.size(), 18242);
        TNewDocument doc;
        TImportFile::Apply(doc.tree, doc.tree.MainTitleNode(), Mode::NewDocument, lines);
        QCOMPARE(doc.tree.count(), 448 + 3);

        TTextExportOptions options;
        options.layout = TTextExportOptions::Layout::Hierarchical;
        options.numbers = false;
        options.utf8 = utf8;
        QTemporaryDir dir;
        const QString exported = dir.filePath(QStringLiteral("book.txt"));
        QVERIFY(TTextExport::Write(exported, doc.tree, options).ok);
        QStringList again;
        QCOMPARE(TImportFile::Read(exported, again), QString());
        TNewDocument back;
        TImportFile::Apply(back.tree, back.tree.MainTitleNode(), Mode::NewDocument, again);

        // The main title comes back in its brackets, and an empty body as the one empty line
        // that followed it in the file.
        TOutlineText expected;
        const TOutlineText before = describeOutline(doc.tree.MainTitleNode());
        for (qsizetype i = 0; i < before.size(); ++i) {
            expected.append(i == 0 ? QStringLiteral("0 【") + doc.tree.MainTitleNode()->title() + u'】' : before[i]);
            const bool heading = !before[i].startsWith(QLatin1String("> "));
            if (heading && (i + 1 == before.size() || !before[i + 1].startsWith(QLatin1String("> "))))
                expected.append(QStringLiteral("> "));
        }
        TOutlineText got = describeOutline(back.tree.MainTitleNode());
        if (!utf8) {
            // What Shift_JIS lacks came back as "?"; the shape and the rest stay.
            QCOMPARE(got.size(), expected.size());
            return;
        }
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestImportFile)
#include "tst_importfile.moc"
