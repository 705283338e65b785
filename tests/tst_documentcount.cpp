// The whole document's count kept while the writer works: the per-line count of the text being
// edited (a body, or the text mode's dotted text), the per-item counts of the main document, the
// target kept in the settings file and the panel's text.
#include "support/OutlineBuilder.h"

#include "app/DocumentTarget.h"
#include "app/Settings.h"
#include "document/DocumentCount.h"
#include "document/DocumentTree.h"
#include "document/LineCounts.h"
#include "document/TreeCount.h"
#include "textmode/HeadingParser.h"
#include "textmode/LumenoTreeList.h"
#include "textmode/TreeText.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
// One edit of a text: count lines from first were replaced by added.
struct TEdit
{
    int first;
    int count;
    QStringList added;
};
using TEdits = QList<TEdit>;

QStringList applied(QStringList lines, const TEdits &edits)
{
    for (const TEdit &e : edits) {
        lines.remove(e.first, e.count);
        for (qsizetype i = 0; i < e.added.size(); ++i)
            lines.insert(e.first + i, e.added[i]);
    }
    return lines;
}

// What the items made from a dotted text count: the text converted as the text mode converts it,
// under a fresh main title.
TTextCount convertedCount(const QStringList &editorLines)
{
    TDocumentTree tree;
    tree.createRootFolders();
    TTreeNode *item = tree.addChild(tree.MainTitleNode(), QStringLiteral("x"), std::make_unique<TNodeData>());
    TLumenoTreeList headings;
    HeadingParser::ParseText(TreeText::ParseLines(editorLines), false, headings);
    TTreeNode *top = TreeText::TextToTree(tree, item, headings);
    return TTreeCount::ofSubtree(top).text;
}

// A body as the editor's lines: an empty editor holds one empty line, which is no line at all.
TTextCount bodyCount(const QStringList &editorLines)
{
    if (editorLines == QStringList{QString()})
        return {};
    return TTextCount::ofLines(editorLines);
}

QString described(const TTextCount &c)
{
    return QStringLiteral("%1字 %2行 %3段").arg(c.characters).arg(c.lines).arg(c.rows);
}

const QString twenty = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");

enum class TTreeEdit {
    StoreBody,
    ChangeLineInPlace,
    NewPayload,
    DeleteItem,
    MoveToWorkFolder,
    MoveFromWorkFolder,
    MoveWithinDocument,
    ConvertFromText,
    UndoDelete,
    EditTrash,
};
} // namespace

Q_DECLARE_METATYPE(TEdits)
Q_DECLARE_METATYPE(TTreeEdit)

class TestDocumentCount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bodyFollowsEdits_data();
    void bodyFollowsEdits();
    void dottedTextCountsWhatItBecomes_data();
    void dottedTextCountsWhatItBecomes();
    void editorShareReplacesTheItem();
    void documentFollowsTree_data();
    void documentFollowsTree();
    void targetText_data();
    void targetText();
    void targetsPerDocument();
    void panelText_data();
    void panelText();
};

void TestDocumentCount::bodyFollowsEdits_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<TEdits>("edits");
    const QStringList start{QStringLiteral("あいう"), QStringLiteral("えお")};
    QTest::newRow("a key typed") << start << TEdits{{0, 1, {"あいうか"}}};
    QTest::newRow("Enter splits a line") << start << TEdits{{0, 1, {"あ", "いう"}}};
    QTest::newRow("Backspace joins two lines") << start << TEdits{{0, 2, {"あいうえお"}}};
    QTest::newRow("a line deleted") << start << TEdits{{1, 1, {}}};
    QTest::newRow("everything deleted") << start << TEdits{{0, 2, {""}}};
    QTest::newRow("typed into an empty body") << QStringList{""} << TEdits{{0, 1, {"あ"}}};
    QTest::newRow("a line of 20 and a hanging mark") << start << TEdits{{1, 1, {twenty + "。"}}};
    QTest::newRow("a line grows past a row") << start << TEdits{{1, 1, {twenty + "な"}}};
    QTest::newRow("trailing spaces do not count") << start << TEdits{{0, 1, {"あいう　 "}}};
    QTest::newRow("a paste of many lines") << start
                                           << TEdits{{1, 1, {"え", "", "𠮷野家", "か\u3099", "お"}}};
    QTest::newRow("lines added at the end") << start << TEdits{{2, 0, {"", "か"}}};
    QTest::newRow("an edit and its undo") << start << TEdits{{0, 1, {"あ", "いう", "新"}}, {0, 3, {"あいう"}}};
}

void TestDocumentCount::bodyFollowsEdits()
{
    QFETCH(QStringList, lines);
    QFETCH(TEdits, edits);
    TLineCounts counts;
    counts.reset(TLineCounts::Kind::Body, lines.join(QChar::ParagraphSeparator));
    QCOMPARE(described(counts.total()), described(bodyCount(lines)));
    for (const TEdit &e : edits)
        counts.replace(e.first, e.count, e.added);
    const QStringList after = applied(lines, edits);
    QCOMPARE(counts.lineCount(), int(after.size()));
    QCOMPARE(described(counts.total()), described(bodyCount(after)));
}

void TestDocumentCount::dottedTextCountsWhatItBecomes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<TEdits>("edits");
    // The text of an item with two children, as the text mode shows it: each body followed by
    // the empty line that separates it from the next heading, the last one ending the text.
    const QStringList text{".本", "はじめに", "", "..第一章", "𠮷野家", "", "か\u3099", "", "..第二章", twenty + "。", ""};
    QTest::newRow("as loaded") << text << TEdits{};
    QTest::newRow("a key typed in a body") << text << TEdits{{4, 1, {"𠮷野家だ"}}};
    QTest::newRow("a heading's title edited") << text << TEdits{{3, 1, {"..第一章 はじまり"}}};
    QTest::newRow("a body line made a heading") << text << TEdits{{6, 1, {"...か\u3099"}}};
    QTest::newRow("the separating empty line deleted") << text << TEdits{{7, 1, {}}};
    QTest::newRow("an empty line before a heading added") << text << TEdits{{7, 0, {""}}};
    QTest::newRow("typed after the last line") << text << TEdits{{10, 1, {"おわり"}}};
    QTest::newRow("a new heading typed at the end") << text << TEdits{{10, 1, {"..第三章", "あ", ""}}};
    QTest::newRow("the last section deleted") << text << TEdits{{8, 3, {""}}};
    QTest::newRow("a heading and its body deleted") << text << TEdits{{3, 5, {}}};
    QTest::newRow("an edit and its undo") << text << TEdits{{4, 2, {"あ", ".." }}, {4, 2, {"𠮷野家", ""}}};
}

void TestDocumentCount::dottedTextCountsWhatItBecomes()
{
    QFETCH(QStringList, lines);
    QFETCH(TEdits, edits);
    TLineCounts counts;
    counts.reset(TLineCounts::Kind::DottedText, lines);
    for (const TEdit &e : edits)
        counts.replace(e.first, e.count, e.added);
    QCOMPARE(described(counts.total()), described(convertedCount(applied(lines, edits))));
}

void TestDocumentCount::editorShareReplacesTheItem()
{
    // The panel's arithmetic: the document less the edited item's last count, plus what the
    // editor holds now, is the document as it will be once the editor is stored.
    TDocumentTree tree;
    tree.createRootFolders();
    buildOutline(tree, tree.MainTitleNode(), {"0 一", "> あいう", "0 二", "> えお", "> か", "1 三", "> き"});
    TDocumentCount document;
    document.refresh(tree);
    TTreeNode *two = tree.MainTitleNode()->child(1);
    const TTreeCount base = [&] {
        TTreeCount b = document.total();
        b -= document.item(two);
        return b;
    }();
    TLineCounts editor;
    editor.reset(TLineCounts::Kind::Body, two->data()->Lines);
    editor.replace(0, 2, {"えおく", "", twenty});
    TTreeCount live = base;
    live += TTreeCount::ofItem(editor.total());
    two->data()->Lines = {"えおく", "", twenty};
    document.refresh(tree);
    QCOMPARE(document.lastRecounted(), qint64(1));
    QCOMPARE(live.text.characters, document.total().text.characters);
    QCOMPARE(live.text.rows, document.total().text.rows);
    QCOMPARE(live.bodies, document.total().bodies);
}

void TestDocumentCount::documentFollowsTree_data()
{
    QTest::addColumn<TTreeEdit>("edit");
    QTest::addColumn<qint64>("recounted");
    QTest::newRow("a body stored from the editor") << TTreeEdit::StoreBody << qint64(1);
    QTest::newRow("a line changed in place") << TTreeEdit::ChangeLineInPlace << qint64(1);
    QTest::newRow("a new payload") << TTreeEdit::NewPayload << qint64(1);
    QTest::newRow("an item deleted") << TTreeEdit::DeleteItem << qint64(0);
    QTest::newRow("an item moved to the work folder") << TTreeEdit::MoveToWorkFolder << qint64(0);
    QTest::newRow("an item moved from the work folder") << TTreeEdit::MoveFromWorkFolder << qint64(1);
    QTest::newRow("an item moved within the document") << TTreeEdit::MoveWithinDocument << qint64(0);
    QTest::newRow("a subtree converted from the text mode") << TTreeEdit::ConvertFromText << qint64(3);
    QTest::newRow("a deletion undone") << TTreeEdit::UndoDelete << qint64(2);
    QTest::newRow("the trash edited") << TTreeEdit::EditTrash << qint64(0);
}

void TestDocumentCount::documentFollowsTree()
{
    QFETCH(TTreeEdit, edit);
    QFETCH(qint64, recounted);
    TDocumentTree tree;
    tree.createRootFolders();
    tree.MainTitleNode()->data()->Lines = {QStringLiteral("まえがき")};
    buildOutline(tree, tree.MainTitleNode(), {"0 一", "> あいう", "1 一の一", "> 𠮷", "0 二", "> えお", "> ", "0 三"});
    buildOutline(tree, tree.WorkFolderNode(), {"0 メモ", "> 数えない"});
    buildOutline(tree, tree.TrashNode(), {"0 捨てた", "> 数えない"});
    TDocumentCount document;
    document.refresh(tree);
    TTreeNode *main = tree.MainTitleNode();
    TTreeNode *one = main->child(0);
    TTreeNode *two = main->child(1);
    switch (edit) {
    case TTreeEdit::StoreBody:
        two->data()->Lines = {QStringLiteral("えおかき"), twenty + twenty};
        break;
    case TTreeEdit::ChangeLineInPlace:
        one->data()->Lines[0] = QStringLiteral("あいうえ");
        break;
    case TTreeEdit::NewPayload: {
        auto data = std::make_unique<TNodeData>();
        data->Lines = {QStringLiteral("新しい")};
        two->setData(std::move(data));
        break;
    }
    case TTreeEdit::DeleteItem:
        tree.remove(one);
        break;
    case TTreeEdit::MoveToWorkFolder:
        tree.move(one, tree.WorkFolderNode(), TDocumentTree::MoveMode::AddChild);
        break;
    case TTreeEdit::MoveFromWorkFolder:
        tree.move(tree.WorkFolderNode()->firstChild(), two, TDocumentTree::MoveMode::AddChild);
        break;
    case TTreeEdit::MoveWithinDocument:
        tree.move(one->firstChild(), two, TDocumentTree::MoveMode::AddChild);
        break;
    case TTreeEdit::ConvertFromText: {
        TLumenoTreeList headings;
        HeadingParser::ParseText({".一", "あいう", "", "..一の一", "𠮷と", "", "..一の二", "か"}, false, headings);
        TreeText::TextToTree(tree, one, headings);
        break;
    }
    case TTreeEdit::UndoDelete: {
        std::unique_ptr<TTreeNode> taken = tree.detach(one);
        document.refresh(tree);
        tree.attach(std::move(taken), main, 0);
        break;
    }
    case TTreeEdit::EditTrash:
        tree.TrashNode()->firstChild()->data()->Lines = {QStringLiteral("まだ数えない")};
        break;
    }
    document.refresh(tree);
    QCOMPARE(document.lastRecounted(), recounted);
    const TTreeCount expected = TTreeCount::ofSubtree(main);
    QCOMPARE(described(document.total().text), described(expected.text));
    QCOMPARE(document.total().items, expected.items);
    QCOMPARE(document.total().bodies, expected.bodies);
    QCOMPARE(described(document.subtree(two).text), described(TTreeCount::ofSubtree(two).text));
}

void TestDocumentCount::targetText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("pages");
    QTest::newRow("pages") << "400枚" << true << qint64(400) << true;
    QTest::newRow("characters") << "120000字" << true << qint64(120000) << false;
    QTest::newRow("blanks around") << " 30枚 " << true << qint64(30) << true;
    QTest::newRow("no unit") << "400" << false << qint64(0) << false;
    QTest::newRow("zero") << "0枚" << false << qint64(0) << false;
    QTest::newRow("negative") << "-5字" << false << qint64(0) << false;
    QTest::newRow("too large") << "100000000字" << false << qint64(0) << false;
    QTest::newRow("full-width digits") << "４００枚" << false << qint64(0) << false;
    QTest::newRow("another unit") << "400行" << false << qint64(0) << false;
}

void TestDocumentCount::targetText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, value);
    QFETCH(bool, pages);
    const std::optional<TCountTarget> target = TCountTarget::fromText(text);
    QCOMPARE(target.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(target->value, value);
    QCOMPARE(target->unit == TCountTarget::Unit::Pages, pages);
    QCOMPARE(TCountTarget::fromText(target->toText()), target);
}

void TestDocumentCount::targetsPerDocument()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TSettings settings(dir.filePath(QStringLiteral("olvek.ini")));
    const QString novel = QStringLiteral("/home/作家/小説.olvx");
    const QString other = QStringLiteral("/home/作家/小説 = 下書き.olvx");
    const QString upper = QStringLiteral("/home/作家/Novel.olvx");
    const QString lower = QStringLiteral("/home/作家/novel.olvx");
    QVERIFY(!DocumentTargets::read(settings, novel));
    DocumentTargets::write(settings, novel, TCountTarget{400, TCountTarget::Unit::Pages});
    DocumentTargets::write(settings, other, TCountTarget{120000, TCountTarget::Unit::Characters});
    DocumentTargets::write(settings, upper, TCountTarget{10, TCountTarget::Unit::Pages});
    DocumentTargets::write(settings, lower, TCountTarget{20, TCountTarget::Unit::Pages});
    QCOMPARE(DocumentTargets::read(settings, novel), (TCountTarget{400, TCountTarget::Unit::Pages}));
    QCOMPARE(DocumentTargets::read(settings, other), (TCountTarget{120000, TCountTarget::Unit::Characters}));
    // Names that differ only in case are two documents on this system.
    QCOMPARE(DocumentTargets::read(settings, upper)->value, qint64(10));
    QCOMPARE(DocumentTargets::read(settings, lower)->value, qint64(20));
    DocumentTargets::write(settings, novel, TCountTarget{500, TCountTarget::Unit::Pages});
    QCOMPARE(DocumentTargets::read(settings, novel)->value, qint64(500));
    DocumentTargets::write(settings, novel, std::nullopt);
    QVERIFY(!DocumentTargets::read(settings, novel));
    QCOMPARE(DocumentTargets::read(settings, other)->value, qint64(120000));
    // A new entry takes the free number.
    DocumentTargets::write(settings, QStringLiteral("/tmp/c.olvx"), TCountTarget{7, TCountTarget::Unit::Pages});
    QCOMPARE(settings.ini().ReadString(QStringLiteral("DocumentTarget"), QStringLiteral("File1"), QString()),
             QStringLiteral("/tmp/c.olvx"));
    QCOMPARE(settings.ini().ReadString(QStringLiteral("DocumentTarget"), QStringLiteral("Target1"), QString()),
             QStringLiteral("7枚"));
}

void TestDocumentCount::panelText_data()
{
    QTest::addColumn<qint64>("characters");
    QTest::addColumn<qint64>("rows");
    QTest::addColumn<QString>("target");
    QTest::addColumn<qint64>("today");
    QTest::addColumn<QString>("text");
    QTest::newRow("no target") << qint64(123456) << qint64(6160) << "" << qint64(1234)
                               << "123,456字 / 308枚  今日 +1,234字";
    QTest::newRow("pages") << qint64(123456) << qint64(6160) << "400枚" << qint64(0)
                           << "123,456字 / 308枚 (目標 400枚 77%)  今日 +0字";
    QTest::newRow("characters, passed") << qint64(150500) << qint64(7000) << "150000字" << qint64(-20)
                                        << "150,500字 / 350枚 (目標 150,000字 100%)  今日 −20字";
    QTest::newRow("empty") << qint64(0) << qint64(0) << "10枚" << qint64(0) << "0字 / 0枚 (目標 10枚 0%)  今日 +0字";
}

void TestDocumentCount::panelText()
{
    QFETCH(qint64, characters);
    QFETCH(qint64, rows);
    QFETCH(QString, target);
    QFETCH(qint64, today);
    QFETCH(QString, text);
    TTextCount count;
    count.characters = characters;
    count.rows = rows;
    QCOMPARE(CountText::panel(count, TCountTarget::fromText(target), today), text);
}

QTEST_GUILESS_MAIN(TestDocumentCount)
#include "tst_documentcount.moc"
