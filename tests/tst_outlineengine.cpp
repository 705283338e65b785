#include "support/OutlineFixture.h"
#include "support/RootInvariant.h"
#include "support/TypeText.h"

#include "app/DocumentFiles.h"

#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {
const QString untitled0 = QStringLiteral("[タイトル未定] 0");
const QString untitled1 = QStringLiteral("[タイトル未定] 1");

// Adds titled items under parent directly through the tree, each with a payload holding body.
TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QString &body = {})
{
    auto data = std::make_unique<TNodeData>();
    data->setBodyFromText(body);
    return tree.addChild(parent, title, std::move(data));
}

// The body every item of the operations' document starts with; copies keep it, new items are
// untitled and empty.
QString bodyOf(const QString &title)
{
    return title + QStringLiteral(" の本文");
}

// Items whose body is not the one they started with (the folder roots are the invariant's).
QStringList misplacedBodies(const TDocumentTree &tree)
{
    QStringList wrong;
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        if (tree.isFolderRoot(n))
            continue;
        const QStringList expected = TDocumentTree::isUntitled(n->title()) ? QStringList() : QStringList{bodyOf(n->title())};
        if (!n->data() || n->data()->Lines != expected)
            wrong << n->title();
    }
    return wrong;
}

// Titles, levels and bodies of every item in pre-order.
QString snapshot(const TDocumentTree &tree)
{
    QStringList parts;
    for (TTreeNode *n = tree.first(); n; n = n->next())
        parts << n->title() + u'@' + QString::number(n->level()) + u'=' + (n->data() ? n->data()->Lines.join(u'|') : QString());
    return parts.join(u' ');
}

TTreeNode *chainToLevel(TDocumentTree &tree, int level)
{
    TTreeNode *n = tree.MainTitleNode();
    for (int i = 1; i <= level; ++i)
        n = addItem(tree, n, QStringLiteral("L%1").arg(i));
    return n;
}
} // namespace

class TestOutlineEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addChildNumbersDefaultTitles();
    void insertAndAddDoNothingOnMainTitle();
    void addAfterGoesBehindTheSubtree();
    void addAfterAtTheVeryEnd();
    void typedTextSurvivesCreatingAnItem();
    void addChildLevelLimit_data();
    void addChildLevelLimit();
    void deleteToTrash();
    void cutTwiceKeepsTheSecond();
    void pasteTwiceMakesIndependentCopies();
    void copyTakesTheEditorsLatestText();
    void moveUpAndDown();
    void promoteSecondOfThree();
    void demote_data();
    void demote();
    void titleFromBody_data();
    void titleFromBody();
    void leavingUnmodifiedStoresOnlyPositions();
    void replaceDialogPutsCaretAtStart();
    void jumpHistoryLimitAndOrder();
    void jumpHistoryForgetsDeletedItems();
    void emptyTrashWithSelectionInside();
    void makeNodesFromLines();
    void baseKeys();
    void modifierSetMustMatchExactly();
    void loadingNeverMarksModified();
    void undoNeverBringsBackAnotherItem();
    void caretStatusText();
    void caretStatusFollowsTheLoadedItem();
    void reachingTheHeldItemLoadsItOnlyWhenChanged_data();
    void reachingTheHeldItemLoadsItOnlyWhenChanged();
    void makeNodesLineBreakAfterTheLast_data();
    void makeNodesLineBreakAfterTheLast();
    void commitStoresIntoTheEditorsItem_data();
    void commitStoresIntoTheEditorsItem();
    void commitIntoAGoneItemStoresNothing();
    void operationsKeepTheRoots_data();
    void operationsKeepTheRoots();
    void demoteShowsTheMovedItem_data();
    void demoteShowsTheMovedItem();
    void cuttingTheFirstVisibleItemKeepsTheView();
    void makeNodesKeepToTheLevelLimit();
};

void TestOutlineEngine::addChildNumbersDefaultTitles()
{
    TOutlineFixture f;
    f.engine->AddChild();
    f.engine->AddChild();
    QCOMPARE(f.shape(), QStringLiteral("メインタイトル@0 %1@1 %2@2 作業フォルダ@0 ゴミ箱@0 クリップ@0")
                            .arg(untitled0, untitled1));
    f.select(f.tree().MainTitleNode());
    f.engine->AddChild();
    QCOMPARE(f.selected()->title(), QStringLiteral("[タイトル未定] 2"));
    QCOMPARE(f.engine->NewNodeCounter(), 3);
    QCOMPARE(f.engine->DeepestLevel(), 2);
    QVERIFY(f.state.isModified());
    QCOMPARE(f.title->text(), QStringLiteral("[タイトル未定] 2"));
    QVERIFY(f.selected()->data());
    QCOMPARE(f.editor->lines(), QStringList());
}

void TestOutlineEngine::insertAndAddDoNothingOnMainTitle()
{
    TOutlineFixture f;
    const QString before = f.shape();
    f.engine->InsertBefore();
    f.engine->AddAfter();
    QCOMPARE(f.shape(), before);
    QVERIFY(!f.state.isModified());
}

void TestOutlineEngine::addAfterGoesBehindTheSubtree()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    addItem(t, addItem(t, a, QStringLiteral("a1")), QStringLiteral("a11"));
    addItem(t, t.MainTitleNode(), QStringLiteral("b"));
    f.select(a);
    f.engine->AddAfter();
    QCOMPARE(f.shape(), QStringLiteral("メインタイトル@0 a@1 a1@2 a11@3 %1@1 b@1 作業フォルダ@0 ゴミ箱@0 クリップ@0")
                            .arg(untitled0));
    f.select(t.nodeAt(1));
    f.engine->InsertBefore();
    QCOMPARE(t.nodeAt(1)->title(), untitled1);
    QCOMPARE(f.selected(), t.nodeAt(1));
}

void TestOutlineEngine::addAfterAtTheVeryEnd()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *c = addItem(t, t.ClipFolderNode(), QStringLiteral("c"));
    addItem(t, c, QStringLiteral("c1"));
    f.select(c);
    f.engine->AddAfter();
    QCOMPARE(f.selected()->parent(), t.ClipFolderNode());
    QCOMPARE(f.selected()->index(), 1);
}

void TestOutlineEngine::typedTextSurvivesCreatingAnItem()
{
    TOutlineFixture f;
    f.engine->AddChild();
    TTreeNode *first = f.selected();
    f.editor->setFocus();
    typeText(f.editor, QStringLiteral("本文です"));
    f.engine->AddAfter();
    QCOMPARE(first->data()->Lines, QStringList{QStringLiteral("本文です")});
    QCOMPARE(first->title(), QStringLiteral("本文です"));
    QCOMPARE(f.editor->lines(), QStringList());
}

void TestOutlineEngine::addChildLevelLimit_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("created");
    QTest::newRow("level 15 gets a child") << 15 << true;
    QTest::newRow("level 16 refuses") << 16 << false;
    QTest::newRow("level 17 (from a file) refuses") << 17 << false;
}

void TestOutlineEngine::addChildLevelLimit()
{
    QFETCH(int, level);
    QFETCH(bool, created);
    TOutlineFixture f;
    TTreeNode *deep = chainToLevel(f.tree(), level);
    f.select(deep);
    const int count = f.tree().count();
    f.engine->AddChild();
    QCOMPARE(f.tree().count(), created ? count + 1 : count);
    QCOMPARE(f.prompt.texts(), created ? QStringList() : QStringList{QStringLiteral("これ以上下の階層はつくれません")});
}

void TestOutlineEngine::deleteToTrash()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    for (const char *name : {"a", "b", "c", "d"})
        addItem(t, t.MainTitleNode(), QString::fromLatin1(name), QStringLiteral("body of ") + QString::fromLatin1(name));
    TTreeNode *kept = addItem(t, t.TrashNode(), QStringLiteral("old"));
    addItem(t, kept, QStringLiteral("old1"));
    f.treeView->expandNode(t.TrashNode(), true);
    TTreeNode *d = t.nodeAt(4);
    addItem(t, d, QStringLiteral("d1"));
    f.select(t.nodeAt(4));
    f.editor->setFocus();
    QTest::keyClick(f.editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(f.editor, QStringLiteral("!"));
    f.engine->DeleteToTrash();
    QCOMPARE(f.selected(), t.nodeAt(3));
    QCOMPARE(f.editor->text(), QStringLiteral("body of c"));
    QCOMPARE(d->parent(), t.TrashNode());
    QCOMPARE(d->index(), 1);
    QCOMPARE(d->data()->Lines, QStringList{QStringLiteral("body of d!")});
    QCOMPARE(d->childCount(), 1);
    QVERIFY(!t.TrashNode()->isExpanded());
    QVERIFY(!kept->isExpanded());
    QVERIFY(f.state.isModified());
}

void TestOutlineEngine::cutTwiceKeepsTheSecond()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    TTreeNode *b = addItem(t, t.MainTitleNode(), QStringLiteral("b"));
    addItem(t, b, QStringLiteral("b1"));
    f.select(a);
    f.engine->CutNode();
    QCOMPARE(f.selected(), t.MainTitleNode());
    f.select(b);
    f.engine->CutNode();
    QCOMPARE(f.shape(), QStringLiteral("メインタイトル@0 作業フォルダ@0 ゴミ箱@0 クリップ@0 b@1 b1@2"));
    QVERIFY(!t.ClipFolderNode()->isExpanded());
    QVERIFY(f.state.isModified());
}

void TestOutlineEngine::pasteTwiceMakesIndependentCopies()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("A"));
    addItem(t, a, QStringLiteral("a1"), QStringLiteral("A1"));
    TTreeNode *target = addItem(t, t.WorkFolderNode(), QStringLiteral("target"));
    f.select(a);
    f.engine->CopyNode();
    f.select(target);
    f.engine->PasteNodes();
    f.engine->PasteNodes();
    QCOMPARE(target->childCount(), 2);
    TTreeNode *first = target->child(0);
    TTreeNode *second = target->child(1);
    QCOMPARE(first->title(), QStringLiteral("a"));
    QCOMPARE(second->child(0)->data()->Lines, QStringList{QStringLiteral("A1")});
    first->data()->Lines = QStringList{QStringLiteral("changed")};
    QCOMPARE(second->data()->Lines, QStringList{QStringLiteral("A")});
    QCOMPARE(a->data()->Lines, QStringList{QStringLiteral("A")});
    QVERIFY(target->isExpanded());
    QVERIFY(first->isExpanded());
    QCOMPARE(t.ClipFolderNode()->childCount(), 1);
}

void TestOutlineEngine::copyTakesTheEditorsLatestText()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("A"));
    f.select(a);
    f.editor->setFocus();
    QTest::keyClick(f.editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(f.editor, QStringLiteral("+"));
    f.engine->CopyNode();
    QCOMPARE(t.ClipFolderNode()->child(0)->data()->Lines, QStringList{QStringLiteral("A+")});
}

void TestOutlineEngine::moveUpAndDown()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    for (const char *name : {"a", "b", "c"})
        addItem(t, t.MainTitleNode(), QString::fromLatin1(name));
    f.select(f.titled(QStringLiteral("b")));
    f.engine->MoveDown();
    QCOMPARE(f.shape().section(u' ', 1, 3), QStringLiteral("a@1 c@1 b@1"));
    QCOMPARE(f.selected()->title(), QStringLiteral("b"));
    QVERIFY(f.state.isModified());
    f.engine->MoveDown();
    QCOMPARE(f.shape().section(u' ', 1, 3), QStringLiteral("a@1 c@1 b@1"));
    f.engine->MoveUp();
    f.engine->MoveUp();
    QCOMPARE(f.shape().section(u' ', 1, 3), QStringLiteral("b@1 a@1 c@1"));
    f.engine->MoveUp();
    QCOMPARE(f.shape().section(u' ', 1, 3), QStringLiteral("b@1 a@1 c@1"));
    QCOMPARE(f.selected()->title(), QStringLiteral("b"));
}

void TestOutlineEngine::promoteSecondOfThree()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *p = addItem(t, t.MainTitleNode(), QStringLiteral("P"));
    addItem(t, p, QStringLiteral("p1"));
    TTreeNode *p2 = addItem(t, p, QStringLiteral("p2"));
    addItem(t, p2, QStringLiteral("p21"));
    addItem(t, p, QStringLiteral("p3"));
    addItem(t, t.MainTitleNode(), QStringLiteral("Q"));
    f.select(p2);
    f.engine->MoveLeft();
    QCOMPARE(f.shape().section(u' ', 0, 6),
             QStringLiteral("メインタイトル@0 P@1 p1@2 p3@2 p2@1 p21@2 Q@1"));
    QCOMPARE(f.selected(), p2);
    QVERIFY(!f.treeView->isUpdating());
    f.engine->MoveLeft();
    QCOMPARE(p2->level(), 1);
}

void TestOutlineEngine::demote_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("first");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("message");
    QTest::newRow("second child goes under the first") << 3 << false << true << QString();
    QTest::newRow("first child stays") << 3 << true << false << QString();
    QTest::newRow("level 16 explains") << 16 << false << false << QStringLiteral("これ以上下の階層には移動できません");
    QTest::newRow("level 17 (from a file) explains") << 17 << false << false << QStringLiteral("これ以上下の階層には移動できません");
}

void TestOutlineEngine::demote()
{
    QFETCH(int, level);
    QFETCH(bool, first);
    QFETCH(bool, moved);
    QFETCH(QString, message);
    TOutlineFixture f;
    TTreeNode *parent = chainToLevel(f.tree(), level - 1);
    TTreeNode *older = addItem(f.tree(), parent, QStringLiteral("older"));
    TTreeNode *item = first ? older : addItem(f.tree(), parent, QStringLiteral("item"));
    f.select(item);
    f.engine->MoveRight();
    QCOMPARE(item->parent() == older, moved);
    QCOMPARE(f.prompt.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(f.state.isModified(), moved);
}

void TestOutlineEngine::titleFromBody_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::newRow("leading blanks, long line cut at 20")
        << QStringLiteral("  あいうえおかきくけこさしすせそたちつてとなにぬねの") << QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
    QTest::newRow("first line of spaces keeps the default") << QStringLiteral("   \nsecond") << untitled0;
    QTest::newRow("short line") << QStringLiteral("序章 ") << QStringLiteral("序章");
}

void TestOutlineEngine::titleFromBody()
{
    QFETCH(QString, typed);
    QFETCH(QString, title);
    TOutlineFixture f;
    f.engine->AddChild();
    TTreeNode *item = f.selected();
    f.editor->setFocus();
    typeText(f.editor, typed);
    f.select(f.tree().MainTitleNode());
    QCOMPARE(item->title(), title);
}

void TestOutlineEngine::leavingUnmodifiedStoresOnlyPositions()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("line one\r\nline two"));
    TTreeNode *b = addItem(t, t.MainTitleNode(), QStringLiteral("b"), QStringLiteral("other"));
    f.select(a);
    TNodeData *before = a->data();
    f.editor->setSelStart(5);
    f.editor->setSelLength(3);
    f.select(b);
    QCOMPARE(a->data(), before);
    QCOMPARE(a->data()->SelStart, 5);
    QCOMPARE(a->data()->SelLength, 3);
    QCOMPARE(f.engine->JumpHistory().size(), 0);
    QVERIFY(!f.state.isModified());
    f.select(a);
    QCOMPARE(f.editor->selStart(), 5);
    QCOMPARE(f.editor->selLength(), 3);
}

void TestOutlineEngine::replaceDialogPutsCaretAtStart()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"), QStringLiteral("abcdef"));
    a->data()->SelStart = 2;
    a->data()->SelLength = 2;
    f.engine->setReplaceDialogShowing(true);
    f.select(a);
    QCOMPARE(f.editor->selStart(), 0);
    QCOMPARE(f.editor->selLength(), 0);
}

void TestOutlineEngine::jumpHistoryLimitAndOrder()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    QList<TTreeNode *> items;
    for (int i = 0; i < 6; ++i)
        items << addItem(t, t.MainTitleNode(), QStringLiteral("item%1").arg(i));
    for (TTreeNode *item : items) {
        f.select(item);
        f.engine->RecordJump();
    }
    auto captions = [&f] {
        QStringList list;
        const QList<QAction *> entries = f.jumpMenu->actions();
        for (int i = TOlvekEngine::JumpMenuFixedEntries; i < entries.size(); ++i)
            list << entries[i]->text();
        return list;
    };
    QCOMPARE(captions(), (QStringList{"item5", "item4", "item3", "item2", "item1"}));
    f.select(items[3]);
    f.engine->RecordJump();
    QCOMPARE(captions(), (QStringList{"item3", "item5", "item4", "item2", "item1"}));
    f.jumpMenu->actions().at(TOlvekEngine::JumpMenuFixedEntries + 2)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(f.selected(), items[4]);
    f.engine->ClearJumps();
    QCOMPARE(f.jumpMenu->actions().size(), TOlvekEngine::JumpMenuFixedEntries);
}

void TestOutlineEngine::jumpHistoryForgetsDeletedItems()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    TTreeNode *b = addItem(t, t.MainTitleNode(), QStringLiteral("b"));
    f.select(a);
    f.engine->RecordJump();
    f.select(b);
    f.engine->RecordJump();
    f.engine->EmptyTrash();
    f.select(a);
    f.engine->DeleteToTrash();
    f.engine->EmptyTrash();
    f.engine->JumpTo(TOlvekEngine::JumpMenuFixedEntries + 1);
    f.select(b);
    f.engine->RecordJump();
    QCOMPARE(f.engine->JumpHistory().size(), 1);
    QCOMPARE(f.jumpMenu->actions().size(), TOlvekEngine::JumpMenuFixedEntries + 1);
}

void TestOutlineEngine::emptyTrashWithSelectionInside()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *junk = addItem(t, t.TrashNode(), QStringLiteral("junk"));
    addItem(t, junk, QStringLiteral("junk1"));
    f.select(junk->child(0));
    f.engine->EmptyTrash();
    QCOMPARE(f.selected(), t.TrashNode());
    QCOMPARE(t.TrashNode()->childCount(), 0);
    QVERIFY(f.state.isModified());
}

void TestOutlineEngine::makeNodesFromLines()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    f.select(a);
    f.editor->setFocus();
    QTest::keyClicks(f.editor, QStringLiteral("kept"));
    f.pages->setCurrentWidget(f.editor2);
    f.editor2->setLines({QStringLiteral("第一章"), QString(), QStringLiteral("第二章")});
    f.engine->MakeNodesFromLines(t.WorkFolderNode());
    QCOMPARE(a->data()->Lines, QStringList{QStringLiteral("kept")});
    QCOMPARE(t.WorkFolderNode()->childCount(), 3);
    QCOMPARE(t.WorkFolderNode()->child(1)->title(), QString());
    QCOMPARE(t.WorkFolderNode()->child(2)->title(), QStringLiteral("第二章"));
    QCOMPARE(f.selected(), t.WorkFolderNode()->child(2));
    QCOMPARE(f.engine->NewNodeCounter(), 3);
    QCOMPARE(f.editor2->lines(), QStringList());
    QVERIFY(!f.editor2->canUndo());
    QVERIFY(f.editor2->wordWrap());
    QCOMPARE(f.pages->currentWidget(), static_cast<QWidget *>(f.treeView));
}

void TestOutlineEngine::baseKeys()
{
    TOutlineFixture f;
    TTreeNode *a = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("a"), QStringLiteral("abc"));
    f.select(a);
    f.editor->setFocus();
    QVERIFY(!f.editor->isOverwrite());
    QTest::keyClick(f.editor, Qt::Key_Insert);
    QVERIFY(f.editor->isOverwrite());
    QTest::keyClick(f.editor, Qt::Key_Insert);
    QVERIFY(!f.editor->isOverwrite());

    f.editor->setSelStart(0);
    f.editor->setSelLength(2);
    QApplication::clipboard()->setText(QStringLiteral("old"));
    QTest::keyClick(f.editor, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ab"));
    QTest::keyClick(f.editor, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(f.editor->text(), QStringLiteral("abc"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ab"));
    f.editor->setSelStart(3);
    QTest::keyClick(f.editor, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(f.editor->text(), QStringLiteral("abcab"));
    QVERIFY(f.state.isModified());
}

void TestOutlineEngine::modifierSetMustMatchExactly()
{
    TOutlineFixture f;
    int key = Qt::Key_Insert;
    f.engine->EditorKeyDown(f.editor, key, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(key, int(Qt::Key_Insert));
    key = Qt::Key_Insert;
    f.engine->EditorKeyDown(f.editor, key, Qt::AltModifier);
    QCOMPARE(key, int(Qt::Key_Insert));
    QVERIFY(!f.editor->isOverwrite());
    key = Qt::Key_Insert;
    f.engine->EditorKeyDown(f.editor, key, Qt::KeypadModifier);
    QCOMPARE(key, 0);
}

void TestOutlineEngine::loadingNeverMarksModified()
{
    TOutlineFixture f;
    TTreeNode *a = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("a"), QStringLiteral("x"));
    f.select(a);
    f.select(f.tree().WorkFolderNode());
    f.select(a);
    QVERIFY(!f.state.isModified());
    QCOMPARE(f.title->text(), QStringLiteral("a"));
    f.title->setFocus();
    QTest::keyClicks(f.title, QStringLiteral("b"));
    QVERIFY(f.state.isModified());
    QCOMPARE(a->title(), QStringLiteral("ab"));
}

void TestOutlineEngine::undoNeverBringsBackAnotherItem()
{
    TOutlineFixture f;
    TTreeNode *a = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("a"), QStringLiteral("first"));
    TTreeNode *b = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("b"), QStringLiteral("second"));
    f.select(a);
    f.editor->setFocus();
    QTest::keyClicks(f.editor, QStringLiteral("typed "));
    f.select(b);
    QVERIFY(!f.editor->canUndo());
    f.editor->undo();
    QCOMPARE(f.editor->text(), QStringLiteral("second"));
}

void TestOutlineEngine::caretStatusText()
{
    TOutlineFixture f;
    TTreeNode *a = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("a"), QStringLiteral("0123456789A\r\nx"));
    f.select(a);
    // A column is half a full-width character; in this font a half-width one takes exactly one.
    f.editor->setFontName(QStringLiteral("IPAGothic"));
    f.editor->setFocus();
    f.engine->ShowCaretPosition();
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("  1:  1"));
    f.editor->setSelStart(11);
    f.engine->ShowCaretPosition();
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("  12:  1"));
    QCOMPARE(f.ruler->selStart(), 11);
    QCOMPARE(f.ruler->selEnd(), 12);
}

void TestOutlineEngine::caretStatusFollowsTheLoadedItem()
{
    // Selecting another item shows where its caret is, before any key is pressed.
    TOutlineFixture f;
    TTreeNode *a = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("a"), QStringLiteral("0123456789A\r\nx"));
    TTreeNode *b = addItem(f.tree(), f.tree().MainTitleNode(), QStringLiteral("b"), QStringLiteral("bb"));
    f.select(a);
    f.editor->setSelStart(14);
    f.engine->ShowCaretPosition();
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("  2:  2"));
    f.select(b);
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("  1:  1"));
    f.select(a);
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("  2:  2"));
}

void TestOutlineEngine::reachingTheHeldItemLoadsItOnlyWhenChanged_data()
{
    // What happens between the engine's own load of A (as opening a document does) and the
    // tree's change onto A.
    QTest::addColumn<QString>("between");
    QTest::addColumn<bool>("loadedAgain");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing") << QStringLiteral("nothing") << false << QStringLiteral("A の本文");
    QTest::newRow("A given new lines") << QStringLiteral("new data") << true << QStringLiteral("新しい本文");
    QTest::newRow("A's line changed in place") << QStringLiteral("line changed") << true << QStringLiteral("変えた行");
    QTest::newRow("B loaded instead") << QStringLiteral("other item") << true << QStringLiteral("A の本文");
}

void TestOutlineEngine::reachingTheHeldItemLoadsItOnlyWhenChanged()
{
    QFETCH(QString, between);
    QFETCH(bool, loadedAgain);
    QFETCH(QString, shown);
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("A"), bodyOf(QStringLiteral("A")));
    TTreeNode *b = addItem(t, t.MainTitleNode(), QStringLiteral("B"), bodyOf(QStringLiteral("B")));
    f.engine->LoadItem(a);
    if (between == QLatin1String("new data")) {
        auto data = std::make_unique<TNodeData>();
        data->setBodyFromText(QStringLiteral("新しい本文"));
        a->setData(std::move(data));
    } else if (between == QLatin1String("line changed")) {
        a->data()->Lines[0] = QStringLiteral("変えた行");
    } else if (between == QLatin1String("other item")) {
        f.engine->LoadItem(b);
    }
    QSignalSpy filled(f.editor->document(), &QTextDocument::contentsChanged);
    f.select(a);
    QCOMPARE(filled.count() > 0, loadedAgain);
    QCOMPARE(f.editor->text(), shown);
    QCOMPARE(f.title->text(), QStringLiteral("A"));
    QCOMPARE(f.engine->EditorItem(), a);
}

void TestOutlineEngine::makeNodesLineBreakAfterTheLast_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("break after the last") << QStringLiteral("一\n二\n") << QStringList{QStringLiteral("一"), QStringLiteral("二")};
    QTest::newRow("no break after the last") << QStringLiteral("一\n二") << QStringList{QStringLiteral("一"), QStringLiteral("二")};
    QTest::newRow("empty line inside") << QStringLiteral("一\n\n二\n")
                                       << QStringList{QStringLiteral("一"), QString(), QStringLiteral("二")};
    QTest::newRow("empty line before the break") << QStringLiteral("一\n\n") << QStringList{QStringLiteral("一"), QString()};
}

void TestOutlineEngine::makeNodesLineBreakAfterTheLast()
{
    QFETCH(QString, text);
    QFETCH(QStringList, titles);
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    f.pages->setCurrentWidget(f.editor2);
    f.editor2->setFocus();
    typeText(f.editor2, text);
    f.engine->MakeNodesFromLines(t.WorkFolderNode());
    QStringList made;
    for (TTreeNode *n = t.WorkFolderNode()->firstChild(); n; n = n->nextSibling())
        made << n->title();
    QCOMPARE(made, titles);
    QCOMPARE(f.engine->NewNodeCounter(), titles.size());
}

void TestOutlineEngine::commitStoresIntoTheEditorsItem_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("save") << QStringLiteral("save");
    QTest::newRow("auto-save tick") << QStringLiteral("auto-save");
    QTest::newRow("insert before (Ctrl+I)") << QStringLiteral("insert");
    QTest::newRow("add after (Ctrl+K)") << QStringLiteral("add");
    QTest::newRow("add child (Ctrl+L)") << QStringLiteral("child");
}

void TestOutlineEngine::commitStoresIntoTheEditorsItem()
{
    QFETCH(QString, trigger);
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("A"), bodyOf(QStringLiteral("A")));
    TTreeNode *b = addItem(t, t.MainTitleNode(), QStringLiteral("B"), bodyOf(QStringLiteral("B")));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TDocumentFiles files(f.engine, &f.state, f.statusBar);
    f.state.setFileName(dir.filePath(QStringLiteral("doc.olvx")));
    f.select(a);
    // Down onto B: the tree selects B at once but reports it only after its delay, so the editor
    // still holds A's text when the command comes.
    f.treeView->setChangeDelay(60000);
    f.treeView->setFocus();
    QTest::keyClick(f.treeView, Qt::Key_Down);
    QCOMPARE(f.selected(), b);
    QCOMPARE(f.editor->text(), bodyOf(QStringLiteral("A")));
    if (trigger == QLatin1String("save")) {
        QVERIFY(files.SaveDocument());
    } else if (trigger == QLatin1String("auto-save")) {
        f.state.setModified(true);
        files.Timer1Timer();
        QVERIFY(!f.state.isModified());
    } else if (trigger == QLatin1String("insert")) {
        f.engine->InsertBefore();
    } else if (trigger == QLatin1String("add")) {
        f.engine->AddAfter();
    } else {
        f.engine->AddChild();
    }
    f.treeView->completePendingChange();
    QCOMPARE(a->data()->Lines, QStringList{bodyOf(QStringLiteral("A"))});
    QCOMPARE(b->data()->Lines, QStringList{bodyOf(QStringLiteral("B"))});
    QCOMPARE(a->title(), QStringLiteral("A"));
    QCOMPARE(b->title(), QStringLiteral("B"));
}

void TestOutlineEngine::commitIntoAGoneItemStoresNothing()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *a = addItem(t, t.TrashNode(), QStringLiteral("A"), bodyOf(QStringLiteral("A")));
    TTreeNode *b = addItem(t, t.MainTitleNode(), QStringLiteral("B"), bodyOf(QStringLiteral("B")));
    f.select(a);
    QCOMPARE(f.engine->EditorItem(), a);
    f.treeView->setChangeDelay(60000);
    f.engine->EmptyTrash();
    QVERIFY(!f.engine->EditorItem());
    f.select(b);
    f.engine->Commit(b, true);
    QCOMPARE(b->data()->Lines, QStringList{bodyOf(QStringLiteral("B"))});
}

void TestOutlineEngine::operationsKeepTheRoots_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("acts");
    const QStringList operations{"insert", "add", "child", "delete", "cut", "copy", "paste", "up", "down", "left", "right"};
    // Per selection, the operations that change the document; every other one refuses.
    const QList<QPair<QString, QStringList>> selections{
        {QStringLiteral("メインタイトル"), {"child", "paste"}},
        {QStringLiteral("作業フォルダ"), {"child", "paste"}},
        {QStringLiteral("ゴミ箱"), {"paste"}},
        {QStringLiteral("クリップ"), {"child"}},
        {QStringLiteral("b"), {"insert", "add", "child", "delete", "cut", "copy", "paste", "up", "right"}},
        {QStringLiteral("w2"), {"insert", "add", "child", "delete", "cut", "copy", "paste", "up", "right"}},
        // t2 is already the trash's last item, where deleting puts it.
        {QStringLiteral("t2"), {"insert", "add", "child", "cut", "copy", "paste", "up", "right"}},
        {QStringLiteral("c1"), {"insert", "add", "child", "delete"}},
    };
    for (const auto &[selected, acting] : selections) {
        for (const QString &operation : operations) {
            QTest::addRow("%s on %s", qPrintable(operation), qPrintable(selected))
                << operation << selected << acting.contains(operation);
        }
    }
}

void TestOutlineEngine::operationsKeepTheRoots()
{
    QFETCH(QString, operation);
    QFETCH(QString, selected);
    QFETCH(bool, acts);
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    t.MainTitleNode()->data()->setBodyFromText(bodyOf(TDocumentTree::MainTitleCaption));
    const auto add = [&](TTreeNode *parent, const char *title) {
        return addItem(t, parent, QString::fromUtf8(title), bodyOf(QString::fromUtf8(title)));
    };
    TTreeNode *a = add(t.MainTitleNode(), "a");
    add(a, "a1");
    add(t.MainTitleNode(), "b");
    add(t.WorkFolderNode(), "w1");
    add(t.WorkFolderNode(), "w2");
    add(t.TrashNode(), "t1");
    add(t.TrashNode(), "t2");
    add(add(t.ClipFolderNode(), "c1"), "c11");
    const TRootInvariant roots(t);
    f.select(a);
    const QString before = snapshot(t);
    // Right after an arrow key: the tree already selects the item, the editor still holds a.
    f.treeView->setChangeDelay(60000);
    f.treeView->setSelectedNode(f.titled(selected));

    const QHash<QString, void (TOlvekEngine::*)()> operations{
        {"insert", &TOlvekEngine::InsertBefore}, {"add", &TOlvekEngine::AddAfter},
        {"child", &TOlvekEngine::AddChild},      {"delete", &TOlvekEngine::DeleteToTrash},
        {"cut", &TOlvekEngine::CutNode},         {"copy", &TOlvekEngine::CopyNode},
        {"paste", &TOlvekEngine::PasteNodes},    {"up", &TOlvekEngine::MoveUp},
        {"down", &TOlvekEngine::MoveDown},       {"left", &TOlvekEngine::MoveLeft},
        {"right", &TOlvekEngine::MoveRight},
    };
    (f.engine->*operations.value(operation))();
    f.treeView->completePendingChange();

    QCOMPARE(roots.fault(), QString());
    QCOMPARE(misplacedBodies(t), QStringList());
    QCOMPARE(snapshot(t) != before, acts);
    QCOMPARE(f.prompt.texts(), QStringList());
}

void TestOutlineEngine::demoteShowsTheMovedItem_data()
{
    QTest::addColumn<bool>("olderHasChildren");
    QTest::newRow("under a sibling without children") << false;
    QTest::newRow("under a collapsed sibling") << true;
}

void TestOutlineEngine::demoteShowsTheMovedItem()
{
    QFETCH(bool, olderHasChildren);
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    TTreeNode *older = addItem(t, t.MainTitleNode(), QStringLiteral("older"));
    if (olderHasChildren)
        addItem(t, older, QStringLiteral("older1"));
    TTreeNode *item = addItem(t, t.MainTitleNode(), QStringLiteral("item"));
    f.select(item);
    QVERIFY(!older->isExpanded());
    f.engine->MoveRight();
    QCOMPARE(item->parent(), older);
    QCOMPARE(f.selected(), item);
    QVERIFY(older->isExpanded());
    QVERIFY(f.treeView->isExpanded(f.treeView->documentModel()->indexOf(older)));
    QVERIFY(f.treeView->visualRect(f.treeView->currentIndex()).isValid());
}

void TestOutlineEngine::cuttingTheFirstVisibleItemKeepsTheView()
{
    TOutlineFixture f;
    TDocumentTree &t = f.tree();
    for (int i = 0; i < 200; ++i)
        addItem(t, t.MainTitleNode(), QStringLiteral("item %1").arg(i));
    f.treeView->expandNode(t.MainTitleNode());
    TTreeNode *first = f.titled(QStringLiteral("item 100"));
    f.select(first);
    f.treeView->setTopNode(first);
    QTRY_COMPARE(f.treeView->topNode(), first);
    f.engine->CutNode();
    QCOMPARE(first->parent(), t.ClipFolderNode());
    QTRY_COMPARE(f.treeView->topNode(), f.titled(QStringLiteral("item 101")));
}

void TestOutlineEngine::makeNodesKeepToTheLevelLimit()
{
    TOutlineFixture f;
    TTreeNode *deep = chainToLevel(f.tree(), 16);
    f.select(deep);
    f.editor2->setText(QStringLiteral("x\ny"));
    const int count = f.tree().count();
    f.engine->MakeNodesFromLines(deep);
    QCOMPARE(f.tree().count(), count);
    QCOMPARE(f.prompt.texts(), QStringList{QStringLiteral("これ以上下の階層はつくれません")});
}

QTEST_MAIN(TestOutlineEngine)
#include "tst_outlineengine.moc"
