#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "ui/OlvekTreeView.h"
#include "ui/TreeUpdateGuard.h"
#include "support/TreeLookup.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <stdexcept>

namespace {

QString shape(const TDocumentTree &tree)
{
    QStringList parts;
    for (TTreeNode *n = tree.first(); n; n = n->next())
        parts << n->title() + u'@' + QString::number(n->level());
    return parts.join(u' ');
}

// A shown tree over the four roots with, under the main title:
//   A (A1 (A1a), A2), B, C
// and T1 in the trash.
struct Fixture
{
    TOlvekTreeView view;
    QAbstractItemModelTester tester;
    TDocumentTree &tree;

    Fixture()
        : tester(view.documentModel(), QAbstractItemModelTester::FailureReportingMode::QtTest),
          tree(*view.documentTree())
    {
        tree.createRootFolders();
        tree.establishRootReferences();
        TTreeNode *main = tree.MainTitleNode();
        TTreeNode *a = tree.addChild(main, QStringLiteral("A"));
        TTreeNode *a1 = tree.addChild(a, QStringLiteral("A1"));
        tree.addChild(a1, QStringLiteral("A1a"));
        tree.addChild(a, QStringLiteral("A2"));
        tree.addChild(main, QStringLiteral("B"));
        tree.addChild(main, QStringLiteral("C"));
        tree.addChild(tree.TrashNode(), QStringLiteral("T1"));
        view.resize(300, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    TTreeNode *node(const char *title) const { return titled(tree, QString::fromUtf8(title)); }
    QModelIndex index(const char *title) const { return view.documentModel()->indexOf(node(title)); }
    // A point inside title's row at yOffset from the row's top.
    QPoint rowPoint(const char *title, int yOffset) const
    {
        const QRect r = view.visualRect(index(title));
        return QPoint(r.left() + 4, r.top() + yOffset);
    }
};

} // namespace

class TestTreeView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void selectByNodeShowsIt();
    void changeIsReportedAfterTheDelay();
    void changingComesBeforeTheChange();
    void itemRebuiltWhileLeavingIsNotReached();
    void keyboardSelectionIsReportedOnceItRests();
    void zeroDelayReportsAtOnce();
    void movesKeepTheSelectionSilently_data();
    void movesKeepTheSelectionSilently();
    void removingTheSelectedItemReportsTheNewOne_data();
    void removingTheSelectedItemReportsTheNewOne();
    void expandCollapseFollowFlags();
    void viewExpandingSetsFlags();
    void recursiveExpandAndCollapse();
    void movedSubtreeKeepsExpandedState_data();
    void movedSubtreeKeepsExpandedState();
    void flagsAppliedAfterReplaceContents();
    void topNodeSaveRestore();
    void redrawSuspensionNests();
    void dropModeForOffset_data();
    void dropModeForOffset();
    void dropTargetFollowsRules_data();
    void dropTargetFollowsRules();
    void dropMovesItem_data();
    void dropMovesItem();
    void dropIntoTrashSelectsCollapsedTrash();
    void dropIntoOwnSubtreeIsRefused();
    void dragAndDropEvents();
    void dragNearAnEdgeScrolls();
    void dropTargetIsHighlighted_data();
    void dropTargetIsHighlighted();
    void titleEditingOnlyWhenAllowed();
    void titleEditEndsWithF2KeepingText();
    void letterKeys_data();
    void letterKeys();
    void iconProviderIsAsked();
};

void TestTreeView::selectByNodeShowsIt()
{
    Fixture f;
    TTreeNode *deep = f.node("A1a");
    QVERIFY(!f.node("A")->isExpanded());
    f.view.setSelectedNode(deep);
    QCOMPARE(f.view.selectedNode(), deep);
    QCOMPARE(f.view.currentIndex(), f.index("A1a"));
    // Its ancestors are opened, in the view and in their flags.
    QVERIFY(f.view.isExpanded(f.index("A1")));
    QVERIFY(f.node("A1")->isExpanded());
    QVERIFY(f.node("A")->isExpanded());
    QVERIFY(f.tree.MainTitleNode()->isExpanded());

    f.view.setSelectedNode(nullptr);
    QCOMPARE(f.view.selectedNode(), nullptr);
}

void TestTreeView::changeIsReportedAfterTheDelay()
{
    Fixture f;
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);
    QElapsedTimer clock;
    clock.start();
    f.view.setSelectedNode(f.node("B"));
    QCOMPARE(changed.count(), 0);
    QTRY_COMPARE(changed.count(), 1);
    QVERIFY(clock.elapsed() >= TOlvekTreeView::DefaultChangeDelay - 5);
    QCOMPARE(changed.at(0).at(0).value<TTreeNode *>(), f.node("B"));

    // Changes within the delay restart it: only the item where the selection rests is reported.
    changed.clear();
    f.view.setSelectedNode(f.node("A"));
    f.view.setSelectedNode(f.node("C"));
    f.view.setSelectedNode(f.node("A2"));
    QTRY_COMPARE(changed.count(), 1);
    QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<TTreeNode *>(), f.node("A2"));
}

void TestTreeView::changingComesBeforeTheChange()
{
    Fixture f;
    f.view.setSelectedNode(f.node("A"));
    struct Seen
    {
        TTreeNode *leaving, *reaching, *selectedThen;
    };
    std::vector<Seen> seen;
    connect(&f.view, &TOlvekTreeView::changing, &f.view, [&](TTreeNode *leaving, TTreeNode *reaching) {
        seen.push_back({leaving, reaching, f.view.selectedNode()});
    });
    f.view.setSelectedNode(f.node("B"));
    QCOMPARE(seen.size(), size_t(1));
    QCOMPARE(seen[0].leaving, f.node("A"));
    QCOMPARE(seen[0].reaching, f.node("B"));
    QCOMPARE(seen[0].selectedThen, f.node("A"));

    // Selecting the selected item again is no change.
    QCOMPARE(f.view.selectedNode(), f.node("B"));
    f.view.setSelectedNode(f.node("B"));
    QCOMPARE(seen.size(), size_t(1));

    // A click is a change like any other.
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.rowPoint("C", 3));
    QCOMPARE(seen.size(), size_t(2));
    QCOMPARE(seen[1].leaving, f.node("B"));
    QCOMPARE(seen[1].reaching, f.node("C"));

    // So is a press of the right button, so that the popup menu acts on the item under it.
    QTest::mousePress(f.view.viewport(), Qt::RightButton, {}, f.rowPoint("B", 3));
    QCOMPARE(f.view.selectedNode(), f.node("B"));
    QCOMPARE(seen.size(), size_t(3));
}

void TestTreeView::itemRebuiltWhileLeavingIsNotReached()
{
    Fixture f;
    f.view.setSelectedNode(f.node("A1a"));
    f.view.setSelectedNode(f.node("A"));
    QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
    // Leaving A rebuilds its subtree, as the text mode does: the item clicked no longer exists.
    connect(&f.view, &TOlvekTreeView::changing, &f.view, [&](TTreeNode *leaving, TTreeNode *) {
        f.tree.deleteChildren(leaving);
        f.tree.addChild(leaving, QStringLiteral("A1 again"));
    });
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, {}, f.rowPoint("A1", 3));
    QCOMPARE(f.view.selectedNode(), f.node("A"));
    QVERIFY(f.node("A1 again"));
    QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
    QCOMPARE(changed.count(), 0);
}

void TestTreeView::keyboardSelectionIsReportedOnceItRests()
{
    Fixture f;
    f.view.setSelectedNode(f.node("A"));
    f.view.collapseNode(f.node("A"));
    QSignalSpy changing(&f.view, &TOlvekTreeView::changing);
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);
    f.view.setFocus();
    QTest::keyClick(&f.view, Qt::Key_Down);
    QTest::keyClick(&f.view, Qt::Key_Down);
    QCOMPARE(changing.count(), 2);
    QCOMPARE(f.view.selectedNode(), f.node("C"));
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<TTreeNode *>(), f.node("C"));

    // The selected item is kept in view.
    for (int i = 0; i < 60; ++i)
        f.tree.addChild(f.tree.MainTitleNode(), QStringLiteral("n%1").arg(i));
    f.view.resize(200, 150);
    QTest::keyClick(&f.view, Qt::Key_End);
    QCOMPARE(f.view.selectedNode(), f.tree.ClipFolderNode());
    QVERIFY(f.view.viewport()->rect().contains(f.view.visualRect(f.view.currentIndex())));
}

void TestTreeView::zeroDelayReportsAtOnce()
{
    Fixture f;
    f.view.setChangeDelay(0);
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);
    f.view.setSelectedNode(f.node("B"));
    f.view.setSelectedNode(f.node("C"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).value<TTreeNode *>(), f.node("C"));
}

void TestTreeView::movesKeepTheSelectionSilently_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("mode"); // TDocumentTree::MoveMode
    QTest::addColumn<QString>("expected");

    const QString head = QStringLiteral("メインタイトル@0 ");
    const QString roots = QStringLiteral(" 作業フォルダ@0 ゴミ箱@0 T1@1 クリップ@0");
    QTest::newRow("insert before a sibling") << "B" << int(TDocumentTree::MoveMode::Insert)
                                             << head + "A@1 A1@2 A1a@3 A2@2 C@1 B@1" + roots;
    QTest::newRow("as child of an item") << "A2" << int(TDocumentTree::MoveMode::AddChild)
                                         << head + "A@1 A1@2 A1a@3 A2@2 C@3 B@1" + roots;
    QTest::newRow("as last sibling elsewhere") << "T1" << int(TDocumentTree::MoveMode::Add)
                                               << head + "A@1 A1@2 A1a@3 A2@2 B@1 作業フォルダ@0 ゴミ箱@0 T1@1 C@1 クリップ@0";
}

void TestTreeView::movesKeepTheSelectionSilently()
{
    QFETCH(QString, destination);
    QFETCH(int, mode);
    QFETCH(QString, expected);

    Fixture f;
    f.view.expandNode(f.tree.MainTitleNode(), true);
    f.view.setSelectedNode(f.node("C"));
    QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
    QSignalSpy changing(&f.view, &TOlvekTreeView::changing);
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);

    QVERIFY(f.tree.move(f.node("C"), titled(f.tree, destination), TDocumentTree::MoveMode(mode)));
    QCOMPARE(shape(f.tree), expected);
    QCOMPARE(f.view.selectedNode(), f.node("C"));
    QVERIFY(f.view.selectionModel()->isSelected(f.index("C")));
    QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
    QCOMPARE(changing.count(), 0);
    QCOMPARE(changed.count(), 0);
}

void TestTreeView::removingTheSelectedItemReportsTheNewOne_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("removed"); // its children are deleted when it is a root
    QTest::addColumn<QString>("expected");

    QTest::newRow("the item itself") << "A1" << "A1" << "A2";
    QTest::newRow("its parent") << "A1a" << "A1" << "A2";
    QTest::newRow("another item") << "A1a" << "C" << "A1a";
    QTest::newRow("the last of its siblings") << "C" << "C" << "B";
    QTest::newRow("emptying the trash") << "T1" << "ゴミ箱" << "ゴミ箱";
}

void TestTreeView::removingTheSelectedItemReportsTheNewOne()
{
    QFETCH(QString, selected);
    QFETCH(QString, removed);
    QFETCH(QString, expected);

    Fixture f;
    f.view.setSelectedNode(titled(f.tree, selected));
    QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);
    TTreeNode *gone = titled(f.tree, removed);
    if (gone->parent())
        f.tree.remove(gone);
    else
        f.tree.deleteChildren(gone);
    if (titled(f.tree, expected) == titled(f.tree, selected)) {
        // Nothing selected was removed: no change.
        QTest::qWait(2 * TOlvekTreeView::DefaultChangeDelay);
        QCOMPARE(changed.count(), 0);
        return;
    }
    QCOMPARE(f.view.selectedNode(), titled(f.tree, expected));
    QVERIFY(f.view.selectionModel()->isSelected(f.view.currentIndex()));
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<TTreeNode *>(), titled(f.tree, expected));
}

void TestTreeView::expandCollapseFollowFlags()
{
    Fixture f;
    TTreeNode *a = f.node("A");
    f.tree.MainTitleNode()->setExpanded(true);
    a->setExpanded(true);
    QVERIFY(f.view.isExpanded(f.index("A")));
    QVERIFY(f.view.visualRect(f.index("A2")).isValid());
    a->setExpanded(false);
    QVERIFY(!f.view.isExpanded(f.index("A")));
    QVERIFY(!f.view.visualRect(f.index("A2")).isValid());

    // An item losing its last child is collapsed in the view too.
    f.node("A1")->setExpanded(true);
    QVERIFY(f.view.isExpanded(f.index("A1")));
    f.tree.remove(f.node("A1a"));
    QVERIFY(!f.node("A1")->isExpanded());
    QVERIFY(!f.view.isExpanded(f.index("A1")));
}

void TestTreeView::viewExpandingSetsFlags()
{
    Fixture f;
    TTreeNode *main = f.tree.MainTitleNode();
    f.view.setSelectedNode(main);
    f.view.setFocus();
    QTest::keyClick(&f.view, Qt::Key_Right);
    QVERIFY(f.view.isExpanded(f.index("メインタイトル")));
    QVERIFY(main->isExpanded());
    QTest::keyClick(&f.view, Qt::Key_Left);
    QVERIFY(!main->isExpanded());
    f.view.expand(f.index("メインタイトル"));
    QVERIFY(main->isExpanded());
}

void TestTreeView::recursiveExpandAndCollapse()
{
    Fixture f;
    TTreeNode *main = f.tree.MainTitleNode();
    f.view.expandNode(main, true);
    for (const char *title : {"メインタイトル", "A", "A1"}) {
        QVERIFY2(f.node(title)->isExpanded(), title);
        QVERIFY2(f.view.isExpanded(f.index(title)), title);
    }
    QVERIFY(f.view.visualRect(f.index("A1a")).isValid());
    QVERIFY(!f.view.isExpanded(f.index("ゴミ箱")));

    f.view.collapseNode(f.node("A"), true);
    QVERIFY(!f.node("A")->isExpanded() && !f.node("A1")->isExpanded());
    QVERIFY(!f.view.isExpanded(f.index("A")) && !f.view.isExpanded(f.index("A1")));
    QVERIFY(f.view.isExpanded(f.index("メインタイトル")));
}

void TestTreeView::movedSubtreeKeepsExpandedState_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("mode"); // TDocumentTree::MoveMode

    QTest::newRow("into another parent") << "T1" << int(TDocumentTree::MoveMode::Insert);
    QTest::newRow("down among its siblings") << "C" << int(TDocumentTree::MoveMode::Add);
    QTest::newRow("under a sibling") << "B" << int(TDocumentTree::MoveMode::AddChild);
}

void TestTreeView::movedSubtreeKeepsExpandedState()
{
    QFETCH(QString, destination);
    QFETCH(int, mode);

    Fixture f;
    f.view.expandNode(f.tree.MainTitleNode(), true);
    f.view.expandNode(f.tree.TrashNode());
    QVERIFY(f.tree.move(f.node("A"), titled(f.tree, destination), TDocumentTree::MoveMode(mode)));
    f.view.expandNode(f.node("A")->parent());
    for (const char *title : {"A", "A1"}) {
        QVERIFY2(f.node(title)->isExpanded(), title);
        QVERIFY2(f.view.isExpanded(f.index(title)), title);
    }
    QVERIFY(f.view.visualRect(f.index("A1a")).isValid());
}

void TestTreeView::flagsAppliedAfterReplaceContents()
{
    Fixture f;
    f.view.expandNode(f.tree.MainTitleNode(), true);

    TDocumentTree loaded;
    loaded.createRootFolders();
    loaded.establishRootReferences();
    TTreeNode *x = loaded.addChild(loaded.MainTitleNode(), QStringLiteral("X"));
    TTreeNode *x1 = loaded.addChild(x, QStringLiteral("X1"));
    loaded.addChild(x1, QStringLiteral("X1a"));
    TTreeNode *y = loaded.addChild(loaded.MainTitleNode(), QStringLiteral("Y"));
    loaded.addChild(y, QStringLiteral("Y1"));
    loaded.addChild(loaded.WorkFolderNode(), QStringLiteral("W1"));
    loaded.MainTitleNode()->setExpanded(true);
    x1->setExpanded(true); // under a collapsed X
    y->setExpanded(true);

    f.tree.replaceContents(loaded);
    for (TTreeNode *n = f.tree.first(); n; n = n->next()) {
        const QModelIndex index = f.view.documentModel()->indexOf(n);
        QVERIFY2(f.view.isExpanded(index) == n->isExpanded(), qPrintable(n->title()));
    }
    QVERIFY(f.view.isExpanded(f.index("X1")));
    QVERIFY(!f.view.isExpanded(f.index("X")));
    QVERIFY(f.view.visualRect(f.index("Y1")).isValid());
    QVERIFY(!f.view.visualRect(f.index("X1a")).isValid());
}

void TestTreeView::topNodeSaveRestore()
{
    Fixture f;
    TTreeNode *main = f.tree.MainTitleNode();
    for (int i = 0; i < 100; ++i)
        f.tree.addChild(main, QStringLiteral("n%1").arg(i));
    main->setExpanded(true);
    f.view.resize(200, 150);
    QCoreApplication::processEvents();

    QCOMPARE(f.view.topNode(), main);
    f.view.setTopNode(f.node("n40"));
    QCOMPARE(f.view.topNode(), f.node("n40"));
    TTreeNode *saved = f.view.topNode();
    f.view.verticalScrollBar()->setValue(f.view.verticalScrollBar()->maximum());
    QVERIFY(f.view.topNode() != saved);
    f.view.setTopNode(saved);
    QCOMPARE(f.view.topNode(), saved);

    // An item hidden under a collapsed parent is not opened: its nearest shown ancestor goes on top.
    f.view.setTopNode(f.node("A1a"));
    QVERIFY(!f.node("A")->isExpanded());
    QCOMPARE(f.view.topNode(), f.node("A"));
}

void TestTreeView::redrawSuspensionNests()
{
    Fixture f;
    QVERIFY(f.view.updatesEnabled());
    f.view.beginUpdate();
    f.view.beginUpdate();
    QVERIFY(!f.view.updatesEnabled());
    f.view.endUpdate();
    QVERIFY(!f.view.updatesEnabled());
    QVERIFY(f.view.isUpdating());
    f.view.endUpdate();
    QVERIFY(f.view.updatesEnabled());
    QVERIFY(!f.view.isUpdating());

    // The guard resumes the redraw when an error leaves the operation.
    try {
        TTreeUpdateGuard outer(&f.view);
        TTreeUpdateGuard inner(&f.view);
        QVERIFY(!f.view.updatesEnabled());
        throw std::runtime_error("failed inside");
    } catch (const std::runtime_error &) {
    }
    QVERIFY(f.view.updatesEnabled());
}

void TestTreeView::dropModeForOffset_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<bool>("besideAllowed");
    QTest::addColumn<int>("mode");

    using M = TOlvekTreeView::DropMode;
    QTest::newRow("top edge") << 0 << 16 << true << int(M::Before);
    QTest::newRow("last line of the upper quarter") << 3 << 16 << true << int(M::Before);
    QTest::newRow("first line of the middle") << 4 << 16 << true << int(M::Into);
    QTest::newRow("middle") << 8 << 16 << true << int(M::Into);
    QTest::newRow("last line of the middle") << 11 << 16 << true << int(M::Into);
    QTest::newRow("first line of the lower quarter") << 12 << 16 << true << int(M::After);
    QTest::newRow("bottom edge") << 15 << 16 << true << int(M::After);
    QTest::newRow("odd height, upper") << 4 << 19 << true << int(M::Into);
    QTest::newRow("odd height, lower") << 15 << 19 << true << int(M::After);
    QTest::newRow("root: top edge is into") << 0 << 16 << false << int(M::Into);
    QTest::newRow("root: bottom edge is into") << 15 << 16 << false << int(M::Into);
}

void TestTreeView::dropModeForOffset()
{
    QFETCH(int, y);
    QFETCH(int, rowHeight);
    QFETCH(bool, besideAllowed);
    QFETCH(int, mode);
    QCOMPARE(int(TOlvekTreeView::dropModeForOffset(y, rowHeight, besideAllowed)), mode);
}

void TestTreeView::dropTargetFollowsRules_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("over");
    QTest::addColumn<QString>("where"); // top, middle, bottom of the row
    QTest::addColumn<int>("mode");      // -1: refused
    QTest::addColumn<QString>("status");

    using M = TOlvekTreeView::DropMode;
    const QString before = QStringLiteral("この項目の前に移動");
    const QString after = QStringLiteral("この項目の後に移動");
    const QString into = QStringLiteral("この項目の中に移動");
    QTest::newRow("before an item") << "C" << "B" << "top" << int(M::Before) << before;
    QTest::newRow("after an item") << "C" << "A1" << "bottom" << int(M::After) << after;
    QTest::newRow("into an item") << "C" << "B" << "middle" << int(M::Into) << into;
    QTest::newRow("main title: nothing before") << "C" << "メインタイトル" << "top" << int(M::Into) << into;
    QTest::newRow("main title: nothing after") << "C" << "メインタイトル" << "bottom" << int(M::Into) << into;
    QTest::newRow("folder root: into only") << "C" << "ゴミ箱" << "top" << int(M::Into) << into;
    QTest::newRow("item in a folder: before") << "C" << "T1" << "top" << int(M::Before) << before;
    QTest::newRow("onto itself") << "A" << "A" << "middle" << -1 << QString();
    QTest::newRow("into its own child") << "A" << "A1" << "middle" << -1 << QString();
    QTest::newRow("before its own grandchild") << "A" << "A1a" << "top" << -1 << QString();
    QTest::newRow("a root is never dragged") << "ゴミ箱" << "B" << "middle" << -1 << QString();
}

void TestTreeView::dropTargetFollowsRules()
{
    QFETCH(QString, dragged);
    QFETCH(QString, over);
    QFETCH(QString, where);
    QFETCH(int, mode);

    Fixture f;
    f.view.expandNode(f.tree.MainTitleNode(), true);
    f.view.expandNode(f.tree.TrashNode());
    QCoreApplication::processEvents();
    const QRect row = f.view.visualRect(f.view.documentModel()->indexOf(titled(f.tree, over)));
    const int y = where == QLatin1String("top") ? row.top() : where == QLatin1String("bottom") ? row.bottom()
                                                                                              : row.center().y();
    const auto target = f.view.dropTargetAt(titled(f.tree, dragged), QPoint(row.left() + 5, y));
    if (mode < 0) {
        QVERIFY(!target);
        return;
    }
    QVERIFY(target);
    QCOMPARE(target->node, titled(f.tree, over));
    QCOMPARE(int(target->mode), mode);
    QFETCH(QString, status);
    QCOMPARE(TOlvekTreeView::dropStatusText(target->mode), status);
}

void TestTreeView::dropMovesItem_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");

    using M = TOlvekTreeView::DropMode;
    const QString head = QStringLiteral("メインタイトル@0 ");
    const QString roots = QStringLiteral(" 作業フォルダ@0 ゴミ箱@0 T1@1 クリップ@0");
    QTest::newRow("before") << "C" << "A" << int(M::Before) << head + "C@1 A@1 A1@2 A1a@3 A2@2 B@1" + roots;
    QTest::newRow("after goes past the target's subtree")
        << "C" << "A1" << int(M::After) << head + "A@1 A1@2 A1a@3 C@2 A2@2 B@1" + roots;
    QTest::newRow("after the last child") << "B" << "A2" << int(M::After)
                                          << head + "A@1 A1@2 A1a@3 A2@2 B@2 C@1" + roots;
    QTest::newRow("after its own previous sibling") << "B" << "A" << int(M::After)
                                                    << head + "A@1 A1@2 A1a@3 A2@2 B@1 C@1" + roots;
    QTest::newRow("into") << "A" << "C" << int(M::Into) << head + "B@1 C@1 A@2 A1@3 A1a@4 A2@3" + roots;
    QTest::newRow("into the main title") << "A1a" << "メインタイトル" << int(M::Into)
                                         << head + "A@1 A1@2 A2@2 B@1 C@1 A1a@1" + roots;
    QTest::newRow("into the work folder") << "B" << "作業フォルダ" << int(M::Into)
                                          << head + "A@1 A1@2 A1a@3 A2@2 C@1 作業フォルダ@0 B@1 ゴミ箱@0 T1@1 クリップ@0";
}

void TestTreeView::dropMovesItem()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(int, mode);
    QFETCH(QString, expected);

    Fixture f;
    TTreeNode *node = titled(f.tree, dragged);
    f.view.setSelectedNode(node);
    QSignalSpy dropped(&f.view, &TOlvekTreeView::nodeDropped);
    QVERIFY(f.view.dropNode(node, titled(f.tree, target), TOlvekTreeView::DropMode(mode)));
    QCOMPARE(shape(f.tree), expected);
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(f.view.selectedNode(), node);
    QCOMPARE(node->isExpanded(), node->hasChildren());
    // The moved item stays selected, so the item it went into opens and shows it.
    if (TOlvekTreeView::DropMode(mode) == TOlvekTreeView::DropMode::Into)
        QVERIFY(f.view.isExpanded(f.view.documentModel()->indexOf(node->parent())));
}

void TestTreeView::dropIntoTrashSelectsCollapsedTrash()
{
    Fixture f;
    TTreeNode *a = f.node("A");
    f.view.setSelectedNode(a);
    f.view.expandNode(f.tree.TrashNode());
    QSignalSpy changed(&f.view, &TOlvekTreeView::changed);
    QVERIFY(f.view.dropNode(a, f.tree.TrashNode(), TOlvekTreeView::DropMode::Into));
    QCOMPARE(a->parent(), f.tree.TrashNode());
    QVERIFY(!f.tree.TrashNode()->isExpanded());
    QVERIFY(!f.view.isExpanded(f.index("ゴミ箱")));
    QCOMPARE(f.view.selectedNode(), f.tree.TrashNode());
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<TTreeNode *>(), f.tree.TrashNode());
}

void TestTreeView::dropIntoOwnSubtreeIsRefused()
{
    Fixture f;
    const QString before = shape(f.tree);
    QSignalSpy dropped(&f.view, &TOlvekTreeView::nodeDropped);
    using M = TOlvekTreeView::DropMode;
    QVERIFY(!f.view.dropNode(f.node("A"), f.node("A1a"), M::Into));
    QVERIFY(!f.view.dropNode(f.node("A"), f.node("A1"), M::After));
    QVERIFY(!f.view.dropNode(f.node("A"), f.node("A"), M::Into));
    // Nothing lands beside a root.
    QVERIFY(!f.view.dropNode(f.node("B"), f.tree.TrashNode(), M::Before));
    QVERIFY(!f.view.dropNode(f.node("B"), f.tree.MainTitleNode(), M::After));
    QCOMPARE(shape(f.tree), before);
    QCOMPARE(dropped.count(), 0);
}

void TestTreeView::dragAndDropEvents()
{
    Fixture f;
    f.view.expandNode(f.tree.MainTitleNode(), true);
    QCoreApplication::processEvents();
    QSignalSpy status(&f.view, &TOlvekTreeView::dropStatusChanged);
    QSignalSpy dropped(&f.view, &TOlvekTreeView::nodeDropped);
    QWidget *viewport = f.view.viewport();
    const std::unique_ptr<QMimeData> mime(f.view.createDragData(f.node("C")));
    QCOMPARE(f.view.draggedNode(mime.get()), f.node("C"));

    const auto send = [&](QEvent::Type type, const QPoint &pos) {
        std::unique_ptr<QDropEvent> event;
        if (type == QEvent::DragEnter)
            event = std::make_unique<QDragEnterEvent>(pos, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        else if (type == QEvent::DragMove)
            event = std::make_unique<QDragMoveEvent>(pos, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        else
            event = std::make_unique<QDropEvent>(QPointF(pos), Qt::MoveAction, mime.get(), Qt::LeftButton,
                                                 Qt::NoModifier);
        QApplication::sendEvent(viewport, event.get());
        return event->isAccepted();
    };
    const int h = f.view.visualRect(f.index("A1")).height();
    QVERIFY(send(QEvent::DragEnter, f.rowPoint("B", h / 2)));

    QVERIFY(send(QEvent::DragMove, f.rowPoint("A1", h / 2)));
    QCOMPARE(f.view.currentDropTarget()->node, f.node("A1"));
    QCOMPARE(f.view.currentDropTarget()->mode, TOlvekTreeView::DropMode::Into);
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("この項目の中に移動"));
    QVERIFY(send(QEvent::DragMove, f.rowPoint("B", 0)));
    QCOMPARE(f.view.currentDropTarget()->node, f.node("B"));
    QCOMPARE(f.view.currentDropTarget()->mode, TOlvekTreeView::DropMode::Before);
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("この項目の前に移動"));
    // Over itself: refused, nothing highlighted, the status emptied.
    QVERIFY(!send(QEvent::DragMove, f.rowPoint("C", h / 2)));
    QVERIFY(!f.view.currentDropTarget());
    QCOMPARE(status.last().at(0).toString(), QString());
    QVERIFY(send(QEvent::Drop, f.rowPoint("A1", h / 2)));
    QCOMPARE(f.node("C")->parent(), f.node("A1"));
    QCOMPARE(dropped.count(), 1);
    QVERIFY(!f.view.currentDropTarget());
    QCOMPARE(status.last().at(0).toString(), QString());

    // Another view's items are not taken.
    TOlvekTreeView other;
    other.documentTree()->createRootFolders();
    other.documentTree()->establishRootReferences();
    TTreeNode *foreign = other.documentTree()->addChild(other.documentTree()->MainTitleNode(), QStringLiteral("F"));
    const std::unique_ptr<QMimeData> foreignMime(other.createDragData(foreign));
    QCOMPARE(f.view.draggedNode(foreignMime.get()), nullptr);
}

void TestTreeView::dragNearAnEdgeScrolls()
{
    Fixture f;
    TTreeNode *main = f.tree.MainTitleNode();
    for (int i = 0; i < 60; ++i)
        f.tree.addChild(main, QStringLiteral("n%1").arg(i));
    main->setExpanded(true);
    f.view.resize(200, 200);
    QCoreApplication::processEvents();
    QScrollBar *bar = f.view.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);

    const std::unique_ptr<QMimeData> mime(f.view.createDragData(f.node("B")));
    QWidget *viewport = f.view.viewport();
    const auto moveTo = [&](int y) {
        QDragMoveEvent move(QPoint(5, y), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    };
    QDragEnterEvent enter(QPoint(5, 50), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    moveTo(viewport->height() - TOlvekTreeView::AutoScrollMargin);
    QTRY_VERIFY(bar->value() >= 2);
    moveTo(viewport->height() / 2);
    const int stopped = bar->value();
    moveTo(TOlvekTreeView::AutoScrollMargin - 1);
    QTRY_VERIFY(bar->value() < stopped);
    QDragLeaveEvent leave;
    QApplication::sendEvent(viewport, &leave);
    const int left = bar->value();
    QTest::qWait(3 * TOlvekTreeView::AutoScrollInterval);
    QCOMPARE(bar->value(), left);
}

void TestTreeView::dropTargetIsHighlighted_data()
{
    QTest::addColumn<int>("yOffset");
    QTest::addColumn<bool>("highlight");
    QTest::addColumn<QColor>("colour"); // invalid: no highlight drawn

    QTest::newRow("before: blue") << 0 << true << QColor(0, 0, 255);
    QTest::newRow("into: red") << -2 << true << QColor(255, 0, 0);
    QTest::newRow("after: green") << -1 << true << QColor(0, 128, 0);
    QTest::newRow("highlight off") << -2 << false << QColor();
}

void TestTreeView::dropTargetIsHighlighted()
{
    QFETCH(int, yOffset);
    QFETCH(bool, highlight);
    QFETCH(QColor, colour);

    Fixture f;
    f.view.expandNode(f.tree.MainTitleNode());
    f.view.setDragHighlight(highlight);
    QCoreApplication::processEvents();
    const QRect row = f.view.visualRect(f.index("B"));
    // -1: the row's last line, -2: its middle.
    const int y = row.top() + (yOffset == -1 ? row.height() - 1 : yOffset == -2 ? row.height() / 2 : yOffset);
    const std::unique_ptr<QMimeData> mime(f.view.createDragData(f.node("C")));
    QDragEnterEvent enter(QPoint(5, y), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.view.viewport(), &enter);
    QDragMoveEvent move(QPoint(5, y), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.view.viewport(), &move);
    QVERIFY(f.view.currentDropTarget());

    const QImage image = f.view.viewport()->grab().toImage();
    const QColor frame = image.pixelColor(f.view.viewport()->width() - 2, row.top());
    const QColor fill = image.pixelColor(row.left() + 4, row.top() + 1);
    if (!colour.isValid()) {
        QVERIFY(frame != QColor(255, 0, 0));
        QVERIFY(fill != QColor(255, 0, 0));
        return;
    }
    QCOMPARE(frame, colour);
    QCOMPARE(fill, colour);
}

void TestTreeView::titleEditingOnlyWhenAllowed()
{
    Fixture f;
    f.view.setSelectedNode(f.node("B"));
    f.view.setFocus();
    QTest::keyClick(&f.view, Qt::Key_F2);
    QTest::keyClick(&f.view, Qt::Key_Space);
    QVERIFY(!f.view.isEditingTitle());

    f.view.setTitlesEditable(true);
    QSignalSpy started(&f.view, &TOlvekTreeView::titleEditStarted);
    QSignalSpy edited(&f.view, &TOlvekTreeView::titleEdited);
    QSignalSpy ended(&f.view, &TOlvekTreeView::titleEditEnded);
    QTest::keyClick(&f.view, Qt::Key_Space);
    QVERIFY(f.view.isEditingTitle());
    QCOMPARE(started.count(), 1);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    editor->insert(QStringLiteral("新しい題"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!f.view.isEditingTitle());
    QCOMPARE(f.node("新しい題"), f.view.selectedNode());
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.at(0).at(1).toString(), QStringLiteral("新しい題"));
    QCOMPARE(ended.count(), 1);

    // Escape ends the edit leaving the title as it was.
    QTest::keyClick(&f.view, Qt::Key_F2);
    QVERIFY(f.view.isEditingTitle());
    editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("x"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!f.view.isEditingTitle());
    QVERIFY(f.node("新しい題"));
    QCOMPARE(edited.count(), 1);
    QCOMPARE(ended.count(), 2);

    // A folder root's title is never edited.
    f.view.setSelectedNode(f.tree.WorkFolderNode());
    QTest::keyClick(&f.view, Qt::Key_F2);
    QTest::keyClick(&f.view, Qt::Key_Space);
    QVERIFY(!f.view.isEditingTitle());
    QCOMPARE(started.count(), 2);
}

void TestTreeView::titleEditEndsWithF2KeepingText()
{
    Fixture f;
    f.view.setTitlesEditable(true);
    f.view.setSelectedNode(f.node("C"));
    f.view.setFocus();
    QTest::keyClick(&f.view, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("D"));
    QTest::keyClick(editor, Qt::Key_F2);
    QVERIFY(!f.view.isEditingTitle());
    QCOMPARE(f.view.selectedNode()->title(), QStringLiteral("D"));
}

void TestTreeView::letterKeys_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("selected"); // after the key, starting on B
    QTest::addColumn<int>("direction");    // -1: no move asked

    const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
    using D = TOlvekTreeView::MoveDirection;
    QTest::newRow("K moves down") << true << int(Qt::Key_K) << 0 << "C" << -1;
    QTest::newRow("I moves up") << true << int(Qt::Key_I) << 0 << "A" << -1;
    QTest::newRow("J goes to the parent") << true << int(Qt::Key_J) << 0 << "メインタイトル" << -1;
    QTest::newRow("Ctrl+Shift+I asks to move up") << true << int(Qt::Key_I) << ctrlShift << "B" << int(D::Up);
    QTest::newRow("Ctrl+Shift+J asks to promote") << true << int(Qt::Key_J) << ctrlShift << "B" << int(D::Left);
    QTest::newRow("Ctrl+Shift+K asks to move down") << true << int(Qt::Key_K) << ctrlShift << "B" << int(D::Down);
    QTest::newRow("Ctrl+Shift+L asks to demote") << true << int(Qt::Key_L) << ctrlShift << "B" << int(D::Right);
    QTest::newRow("off: K is a search key") << false << int(Qt::Key_K) << 0 << "B" << -1;
    QTest::newRow("off: Ctrl+Shift+K asks nothing") << false << int(Qt::Key_K) << ctrlShift << "B" << -1;
}

void TestTreeView::letterKeys()
{
    QFETCH(bool, on);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, selected);
    QFETCH(int, direction);

    Fixture f;
    f.view.setLetterKeys(on);
    f.view.setSelectedNode(f.node("B"));
    f.view.setFocus();
    QSignalSpy moves(&f.view, &TOlvekTreeView::moveKeyPressed);
    QTest::keyClick(&f.view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.view.selectedNode(), titled(f.tree, selected));
    QCOMPARE(moves.count(), direction < 0 ? 0 : 1);
    if (direction >= 0)
        QCOMPARE(int(moves.at(0).at(0).value<TOlvekTreeView::MoveDirection>()), direction);
}

void TestTreeView::iconProviderIsAsked()
{
    Fixture f;
    QList<const TTreeNode *> asked;
    f.view.setIconProvider([&](const TTreeNode *node) {
        asked << node;
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    });
    f.view.repaint();
    QVERIFY(asked.contains(f.tree.MainTitleNode()));
    QVERIFY(asked.contains(f.tree.TrashNode()));
}

QTEST_MAIN(TestTreeView)
#include "tst_treeview.moc"
