#include "document/DocumentTree.h"
#include "support/OutlineBuilder.h"
#include "textmode/HeadingParser.h"
#include "textmode/TreeText.h"
#include "textmode/DottedTextFile.h"

#include <QtTest>

namespace {
using Lines = QStringList;

const QString bookPath = QStringLiteral(OLVEK_TEST_DATA "/../../../shared/corpus/debian-reference-ja.utf8.txt");

using Outline = TOutlineText;

// What the bridge does when the text mode is left: the editor's lines, read as the parse
// reads them, parsed without normalisation, and the heading list put into the tree.
TTreeNode *convertBack(TDocumentTree &tree, TTreeNode *item, const Lines &editorLines)
{
    TLumenoTreeList headings;
    HeadingParser::ParseText(TreeText::ParseLines(editorLines), false, headings);
    return TreeText::TextToTree(tree, item, headings);
}

// The document most tests start from: a main title with the item under test as its only child.
struct TDocument
{
    TDocumentTree tree;
    TTreeNode *item = nullptr;

    explicit TDocument(const Outline &outline)
    {
        tree.createRootFolders();
        tree.MainTitleNode()->setTitle(QStringLiteral("Doc"));
        item = buildOutline(tree, tree.MainTitleNode(), outline);
    }
};

Outline chain(int depth)
{
    Outline outline;
    for (int d = 0; d <= depth; ++d)
        outline << QStringLiteral("%1 L%1").arg(d) << QStringLiteral("> body %1").arg(d);
    return outline;
}

const Outline example{"0 A", "> a1", "1 B", "1 C", "> c1", "> c2"};
const QString nul = QStringLiteral("x") + QChar(0) + QStringLiteral("y");
} // namespace

class TstTreeText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void treeToText_data()
    {
        QTest::addColumn<Outline>("outline");
        QTest::addColumn<Lines>("text");
        QTest::newRow("items with and without bodies")
            << example << Lines{".A", "a1", "", "..B", "", "..C", "c1", "c2", ""};
        QTest::newRow("one item, empty body") << Outline{"0 A"} << Lines{".A", ""};
        QTest::newRow("empty lines at the ends of bodies are written as they are")
            << Outline{"0 A", "> ", "> x", "> ", "1 B", "> ", "> "}
            << Lines{".A", "", "x", "", "", "..B", "", "", ""};
        QTest::newRow("a grandchild after a deeper branch")
            << Outline{"0 A", "1 B", "2 C", "3 D", "1 E"} << Lines{".A", "", "..B", "", "...C", "", "....D", "", "..E", ""};
        QTest::newRow("empty title") << Outline{"0 ", "1 "} << Lines{".", "", "..", ""};
    }

    void treeToText()
    {
        QFETCH(Outline, outline);
        QFETCH(Lines, text);
        TDocument document(outline);
        QCOMPARE(TreeText::TreeToText(document.item), text);
    }

    // The item's level in the document does not matter, only the depth below it.
    void treeToTextOfDeepItem()
    {
        TDocument document(chain(6));
        TTreeNode *item = document.item->firstChild()->firstChild()->firstChild();
        QCOMPARE(item->title(), QStringLiteral("L3"));
        QCOMPARE(TreeText::TreeToText(item),
                 (Lines{".L3", "body 3", "", "..L4", "body 4", "", "...L5", "body 5", "", "....L6", "body 6", ""}));
    }

    void parseLines_data()
    {
        QTest::addColumn<Lines>("editorLines");
        QTest::addColumn<Lines>("parsed");
        QTest::newRow("final line break") << Lines{".A", "x", ""} << Lines{".A", "x"};
        QTest::newRow("no final line break") << Lines{".A", "x"} << Lines{".A", "x"};
        QTest::newRow("two empty lines at the end") << Lines{".A", "", ""} << Lines{".A", ""};
        QTest::newRow("empty editor") << Lines{""} << Lines{};
        QTest::newRow("no lines") << Lines{} << Lines{};
    }

    void parseLines()
    {
        QFETCH(Lines, editorLines);
        QFETCH(Lines, parsed);
        QCOMPARE(TreeText::ParseLines(editorLines), parsed);
    }

    // The item "A" of the example (children B and C) after the user's text is converted back.
    void textToTree_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::addColumn<Outline>("outline");
        QTest::newRow("unchanged") << Lines{".A", "a1", "", "..B", "", "..C", "c1", "c2", ""} << example;
        QTest::newRow("a heading and its empty line deleted")
            << Lines{".A", "a1", "", "..C", "c1", "c2", ""} << Outline{"0 A", "> a1", "1 C", "> c1", "> c2"};
        QTest::newRow("the level-0 title and body edited")
            << Lines{".New title", "new", "", "..B", ""} << Outline{"0 New title", "> new", "1 B"};
        QTest::newRow("a new heading line makes a new item")
            << Lines{".A", "a1", "..B", "...B1", "b", "..C"}
            << Outline{"0 A", "> a1", "1 B", "2 B1", "> b", "1 C"};
        QTest::newRow("no empty line before the next heading")
            << Lines{".A", "x", "..B", "y"} << Outline{"0 A", "> x", "1 B", "> y"};
        QTest::newRow("one separating empty line is dropped, the others stay")
            << Lines{".A", "x", "", "", "..B", "y", ""} << Outline{"0 A", "> x", "> ", "1 B", "> y"};
        QTest::newRow("the last body keeps its empty lines")
            << Lines{".A", "x", "..B", "y", "", "", ""} << Outline{"0 A", "> x", "1 B", "> y", "> ", "> "};
        QTest::newRow("a body line with a NUL character stays whole")
            << Lines{".A", nul, "z", "", "..B", nul, ""} << Outline{"0 A", "> " + nul, "> z", "1 B", "> " + nul};
        QTest::newRow("a jump of two levels is repaired by the parse")
            << Lines{".A", "...B", ""} << Outline{"0 A", "1 B"};
        QTest::newRow("a tab in a title becomes a space")
            << Lines{".A\tB", ""} << Outline{"0 A B"};
        QTest::newRow("a text without headings is the synthetic heading's body")
            << Lines{"abc", ""} << Outline{"0 タイトル", "> abc"};
        QTest::newRow("an empty text keeps the item's title and body")
            << Lines{""} << Outline{"0 A", "> a1"};
    }

    void textToTree()
    {
        QFETCH(Lines, text);
        QFETCH(Outline, outline);
        TDocument document(example);
        TTreeNode *item = document.item;
        const TNodeData *payload = item->data();
        const int counter = document.tree.NewNodeCounter();
        QCOMPARE(convertBack(document.tree, item, text), item);
        QCOMPARE(describeOutline(item), outline);
        QCOMPARE(item->data(), payload);
        QCOMPARE(document.tree.NewNodeCounter(), counter);
        for (TTreeNode *n = item->firstChild(); n && n->isInSubtreeOf(item); n = n->next()) {
            QVERIFY(n->data()->Expand);
            QCOMPARE(n->isExpanded(), n->hasChildren());
        }
    }

    // Several top headings under an item that has siblings: the new items follow the parent's
    // other children.
    void severalTopHeadingsAfterTheParentsChildren()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *doc = tree.MainTitleNode();
        doc->setTitle(QStringLiteral("Doc"));
        buildOutline(tree, doc, {"0 W", "0 X", "1 X1", "> x1", "0 Y"});
        TTreeNode *x = doc->child(1);
        const Lines text = TreeText::TreeToText(x) + Lines{".Z", "z", ""};
        QCOMPARE(convertBack(tree, x, text), doc);
        QCOMPARE(describeOutline(doc), (Outline{"0 Doc", "1 W", "1 Y", "1 X", "2 X1", "> x1", "1 Z", "> z"}));
    }

    // The main title cannot be replaced: it stays, untitled and empty, above the top headings.
    void severalTopHeadingsUnderTheMainTitle()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *doc = tree.MainTitleNode();
        doc->setTitle(QStringLiteral("Doc"));
        doc->data()->Lines = Lines{"d"};
        buildOutline(tree, doc, {"0 X"});
        const TNodeData *payload = doc->data();
        const Lines text = TreeText::TreeToText(doc) + Lines{".Z", ""};
        QCOMPARE(convertBack(tree, doc, text), doc);
        QCOMPARE(tree.MainTitleNode(), doc);
        QCOMPARE(doc->data(), payload);
        QCOMPARE(describeOutline(doc), (Outline{"0 [タイトル未定] ", "1 Doc", "> d", "2 X", "1 Z"}));
    }

    // An item directly under a folder root: the folder root has no text form, so the first item
    // made from the text stands for it.
    void severalTopHeadingsUnderAFolderRoot()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *work = tree.WorkFolderNode();
        buildOutline(tree, work, {"0 V", "0 W", "1 W1", "> w1"});
        TTreeNode *w = work->child(1);
        const Lines text = TreeText::TreeToText(w) + Lines{".Z", "z", ""};
        TTreeNode *shown = convertBack(tree, w, text);
        QVERIFY(shown);
        QCOMPARE(shown->parent(), work);
        QCOMPARE(describeOutline(shown), (Outline{"0 W", "1 W1", "> w1"}));
        QCOMPARE(work->childCount(), 3);
        QCOMPARE(work->child(0)->title(), QStringLiteral("V"));
        QCOMPARE(work->child(1), shown);
        QCOMPARE(describeOutline(work->child(2)), (Outline{"0 Z", "> z"}));
    }

    // A folder root shows its fixed body in the editor; converting that back must not empty it.
    void folderRootIsNeverRebuilt()
    {
        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *trash = tree.TrashNode();
        buildOutline(tree, trash, {"0 Deleted", "> kept"});
        const Outline before = describeOutline(trash);
        QCOMPARE(convertBack(tree, trash, Lines{"ゴミ箱", ""}), nullptr);
        QCOMPARE(describeOutline(trash), before);
        QCOMPARE(tree.TrashNode(), trash);
    }

    // Entering the text mode and leaving it without an edit gives back the same tree, and the item
    // keeps its identity, payload and editor positions.
    void roundTripTreeTextTree_data()
    {
        QTest::addColumn<Outline>("outline");
        QTest::newRow("items with and without bodies") << example;
        QTest::newRow("only empty bodies") << Outline{"0 A", "1 B", "2 C", "1 D"};
        QTest::newRow("the last body ends with empty lines")
            << Outline{"0 A", "> a", "1 B", "> b", "> ", "> "};
        QTest::newRow("a body of one empty line, last") << Outline{"0 A", "1 B", "> "};
        QTest::newRow("empty lines around every body")
            << Outline{"0 A", "> ", "> a", "> ", "1 B", "> ", "> ", "2 C", "> ", "1 D", "> ", "> d", "> "};
        QTest::newRow("a NUL character in a body") << Outline{"0 A", "> " + nul, "1 B", "> " + nul};
        QTest::newRow("twenty levels") << chain(20);
        QTest::newRow("Japanese titles, spaces, an empty title")
            << Outline{"0 第一章", "> 本文。", "1  前に空白", "1 ", "> 空の見出し"};
    }

    void roundTripTreeTextTree()
    {
        QFETCH(Outline, outline);
        TDocument document(outline);
        TTreeNode *item = document.item;
        TNodeData *payload = item->data();
        payload->SelStart = 3;
        payload->TopLine = 1;
        const quint64 serial = item->serial();
        QCOMPARE(convertBack(document.tree, item, TreeText::TreeToText(item)), item);
        QCOMPARE(describeOutline(item), outline);
        QCOMPARE(item->serial(), serial);
        QCOMPARE(item->data(), payload);
        QCOMPARE(payload->SelStart, 3);
        QCOMPARE(payload->TopLine, 1);
    }

    // The syntax cannot quote a body line or a title that begins with ".": the first round trip
    // makes headings of them, and from then on the tree stays as it is.
    void linesBeginningWithDots_data()
    {
        QTest::addColumn<Outline>("outline");
        QTest::addColumn<Outline>("converted");
        QTest::newRow("a body line becomes a child")
            << Outline{"0 A", "> x", "> ..y", "> z"} << Outline{"0 A", "> x", "1 y", "> z"};
        QTest::newRow("a body line becomes a sibling of its item")
            << Outline{"0 A", "1 B", "> ..y", "> z"} << Outline{"0 A", "1 B", "1 y", "> z"};
        QTest::newRow("a body line too deep becomes a child one level down")
            << Outline{"0 A", "> ....Ver.2"} << Outline{"0 A", "1 Ver.2"};
        QTest::newRow("a title's dots join the heading's")
            << Outline{"0 A", "1 B", "1 .profile"} << Outline{"0 A", "1 B", "2 profile"};
    }

    void linesBeginningWithDots()
    {
        QFETCH(Outline, outline);
        QFETCH(Outline, converted);
        TDocument document(outline);
        TTreeNode *item = document.item;
        convertBack(document.tree, item, TreeText::TreeToText(item));
        QCOMPARE(describeOutline(item), converted);
        convertBack(document.tree, item, TreeText::TreeToText(item));
        QCOMPARE(describeOutline(item), converted);
    }

    // Whatever the user types, the tree it gives is written back as a text that gives the same tree.
    void roundTripTextTreeText_data()
    {
        QTest::addColumn<Lines>("text");
        QTest::newRow("headings and bodies") << Lines{".A", "a", "", "..B", "b", "...C", "..D", ""};
        QTest::newRow("several top headings") << Lines{".A", "a", ".B", "..B1", ".C", "c", ""};
        QTest::newRow("no headings") << Lines{"abc", "", "def"};
        QTest::newRow("only dots") << Lines{".", "..", "....", ".", ""};
        QTest::newRow("jumps and dots inside titles") << Lines{"..A", "....Ver.2", "x", ".......deep.er", ""};
        QTest::newRow("empty lines everywhere") << Lines{"", ".A", "", "", "..B", "", "", "", ""};
        QTest::newRow("heading lines in a row") << Lines{".A", "..B", "..C", "...D", ".E"};
        QTest::newRow("NUL and tabs") << Lines{".A\tB", nul, "\t", "..C" + nul, ""};
        Lines deep;
        for (int level = 0; level < 300; ++level)
            deep << QString(level + 1, u'.') + QString::number(level) << QStringLiteral("body");
        QTest::newRow("300 levels, deeper than a heading can be") << deep;
    }

    void roundTripTextTreeText()
    {
        QFETCH(Lines, text);
        TDocument document(example);
        TTreeNode *item = convertBack(document.tree, document.item, text);
        const Outline once = describeOutline(item);
        QCOMPARE(convertBack(document.tree, item, TreeText::TreeToText(item)), item);
        QCOMPARE(describeOutline(item), once);
    }

    // The Japanese Debian Reference as a dotted outline, imported under the main title.
    void book()
    {
        Lines lines;
        if (!QFileInfo(bookPath).isFile())
            QSKIP("the book ../shared/corpus/debian-reference-ja.utf8.txt is not beside the checkout");
        QCOMPARE(DottedTextFile::read(bookPath, lines), QString());
        TLumenoTreeList parsed;
        HeadingParser::ParseText(lines, false, parsed);
        QCOMPARE(parsed.count(), 448);

        TDocumentTree tree;
        tree.createRootFolders();
        TTreeNode *item = tree.addChild(tree.MainTitleNode(), tree.defaultTitle(), std::make_unique<TNodeData>());
        QCOMPARE(TreeText::TextToTree(tree, item, parsed), item);
        QCOMPARE(item->title(), parsed.item(0)->Title());
        int items = 0;
        qsizetype bodyLines = 0;
        for (TTreeNode *n = item; n && n->isInSubtreeOf(item); n = n->next()) {
            ++items;
            bodyLines += n->data()->Lines.size();
        }
        QCOMPARE(items, parsed.count());
        // Every line of the book is a heading or a body line; the separating empty lines go.
        qsizetype separators = 0;
        for (int r = 0; r + 1 < parsed.count(); ++r)
            separators += !parsed.item(r)->Body.Lines.isEmpty() && parsed.item(r)->Body.Lines.constLast().isEmpty();
        QCOMPARE(items + bodyLines + separators, lines.size());

        // The text it gives parses to the same headings, with the same bodies.
        const Lines text = TreeText::TreeToText(item);
        TLumenoTreeList again;
        HeadingParser::ParseText(TreeText::ParseLines(text), false, again);
        QCOMPARE(again.count(), parsed.count());
        for (int r = 0; r < parsed.count(); ++r) {
            QCOMPARE(again.item(r)->Level(), parsed.item(r)->Level());
            QCOMPARE(again.item(r)->Title(), parsed.item(r)->Title());
            const Lines &body = parsed.item(r)->Body.Lines;
            const bool separated = r + 1 < parsed.count() && !body.isEmpty() && body.constLast().isEmpty();
            QCOMPARE(again.item(r)->Body.Lines, separated || r + 1 == parsed.count() ? body : body + Lines{""});
        }

        const Outline before = describeOutline(item);
        QCOMPARE(TreeText::TextToTree(tree, item, again), item);
        QCOMPARE(describeOutline(item), before);
    }
};

QTEST_GUILESS_MAIN(TstTreeText)
#include "tst_treetext.moc"
