#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "ui/OlvekTreeView.h"
#include "ui/PaneController.h"
#include "ui/TreeExpander.h"

#include <QSplitter>
#include <QtTest>

namespace {
TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title)
{
    return tree.addChild(parent, title, std::make_unique<TNodeData>());
}

// A main splitter with the navigator (holding its pages) and the editor pane, 1000 pixels wide.
struct TPaneFixture
{
    TPaneFixture()
    {
        window.resize(1000, 500);
        splitter = new QSplitter(&window);
        splitter->setChildrenCollapsible(false);
        splitter->setHandleWidth(6);
        navigator = new QWidget;
        pages = new QWidget(navigator);
        editor = new QWidget;
        splitter->addWidget(navigator);
        splitter->addWidget(editor);
        splitter->resize(1000, 500);
        window.show();
        TPaneWidgets widgets;
        widgets.mainSplitter = splitter;
        widgets.navigator = navigator;
        widgets.navigatorPages = pages;
        widgets.editor = editor;
        panes = std::make_unique<TPaneController>(widgets);
        panes->SetNaviVisible(true);
        panes->SetEditorVisible(true);
        panes->Apply();
    }

    QWidget window;
    QSplitter *splitter;
    QWidget *navigator;
    QWidget *pages;
    QWidget *editor;
    std::unique_ptr<TPaneController> panes;
};
} // namespace

class TestPanes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void expanderTogglesOneLevel();
    void expanderLevelZeroFoldsTheRoots();
    void navigatorWidthComesBack();
    void hiddenPanesLeaveStrips();
    void headingsLeaveAPaneBesideTheEditor();
};

void TestPanes::expanderTogglesOneLevel()
{
    TOlvekTreeView view;
    TDocumentTree &t = *view.documentTree();
    t.createRootFolders();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    TTreeNode *a1 = addItem(t, a, QStringLiteral("a1"));
    addItem(t, a1, QStringLiteral("a11"));
    TTreeNode *w = addItem(t, t.WorkFolderNode(), QStringLiteral("w"));
    addItem(t, w, QStringLiteral("w1"));
    for (TTreeNode *n = t.first(); n; n = n->next())
        n->setExpanded(true);
    TTreeExpander expander(&view);
    QCOMPARE(expander.State(1), 1);
    expander.ToggleLevel(1);
    QCOMPARE(expander.State(1), 0);
    QVERIFY(!a->isExpanded());
    QVERIFY(!w->isExpanded());
    QVERIFY(a1->isExpanded());
    QVERIFY(t.MainTitleNode()->isExpanded());
    QVERIFY(!view.isExpanded(view.documentModel()->indexOf(a)));
    expander.ToggleLevel(1);
    QCOMPARE(expander.State(1), 1);
    QVERIFY(a->isExpanded());
    QVERIFY(w->isExpanded());
    a->setExpanded(false);
    QCOMPARE(expander.State(1), 1);
}

void TestPanes::expanderLevelZeroFoldsTheRoots()
{
    TOlvekTreeView view;
    TDocumentTree &t = *view.documentTree();
    t.createRootFolders();
    addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    addItem(t, t.TrashNode(), QStringLiteral("t"));
    t.MainTitleNode()->setExpanded(true);
    TTreeExpander expander(&view);
    expander.ToggleLevel(0);
    QVERIFY(!t.MainTitleNode()->isExpanded());
    expander.ToggleLevel(0);
    QVERIFY(t.MainTitleNode()->isExpanded());
    QVERIFY(t.TrashNode()->isExpanded());
}

void TestPanes::navigatorWidthComesBack()
{
    TPaneFixture f;
    QCOMPARE(f.navigator->width(), 250);
    f.splitter->setSizes({320, 674});
    f.panes->NavigatorResized();
    QCOMPARE(f.panes->NaviWidth(), 320);
    f.panes->SetNaviVisible(false);
    f.panes->Apply();
    f.panes->SetNaviVisible(true);
    f.panes->Apply();
    QCOMPARE(f.navigator->width(), 320);
    QVERIFY(f.pages->isVisibleTo(f.navigator));
    QVERIFY(f.splitter->handle(1)->isVisibleTo(f.splitter));
}

void TestPanes::hiddenPanesLeaveStrips()
{
    TPaneFixture f;
    f.panes->SetNaviVisible(false);
    f.panes->Apply();
    QCOMPARE(f.navigator->width(), TPaneController::HiddenNavigatorWidth);
    QVERIFY(!f.pages->isVisibleTo(f.navigator));
    QVERIFY(!f.splitter->handle(1)->isVisibleTo(f.splitter));
    f.panes->SetNaviVisible(true);
    f.panes->SetEditorVisible(false);
    f.panes->Apply();
    QCOMPARE(f.editor->width(), TPaneController::HiddenEditorWidth);
}

// The text mode's heading list opens at the left of the editor's splitter while a third pane (the
// vertical preview) stands at its right: that pane keeps its width.
void TestPanes::headingsLeaveAPaneBesideTheEditor()
{
    QWidget window;
    window.resize(1000, 500);
    auto *splitter = new QSplitter(&window);
    splitter->setChildrenCollapsible(false);
    splitter->setHandleWidth(6);
    auto *headings = new QWidget;
    auto *editor = new QWidget;
    auto *preview = new QWidget;
    splitter->addWidget(headings);
    splitter->addWidget(editor);
    splitter->addWidget(preview);
    splitter->resize(1000, 500);
    splitter->setSizes({200, 494, 294});
    window.show();
    TPaneWidgets widgets;
    widgets.headings = headings;
    widgets.headingSplitter = splitter;
    TPaneController panes(widgets);
    panes.SetHeadingsVisible(true);
    panes.setHeadingsWidth(240);
    panes.Apply(true);
    QCOMPARE(headings->width(), 240);
    QCOMPARE(preview->width(), 294);
    QCOMPARE(editor->width(), 1000 - 240 - 294 - 2 * 6);
}

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
