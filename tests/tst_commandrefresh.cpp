#include "support/OutlineFixture.h"

#include "app/CommandRefresh.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {
const QStringList treeActions{"TreeInsertNode", "TreeAddNode", "TreeAddChildNode", "TreeDeleteNode",
                              "TreeNodeMoveLeft", "TreeNodeMoveRight", "TreeNodeMoveUp", "TreeNodeMoveDown"};

struct TRefreshFixture
{
    TRefreshFixture()
    {
        for (const char *name : {"TreeInsertNode", "TreeAddNode", "TreeAddChildNode", "TreeDeleteNode",
                                 "TreeNodeMoveLeft", "TreeNodeMoveRight", "TreeNodeMoveUp", "TreeNodeMoveDown",
                                 "ViewModeChange", "EditDelete", "EditCut1", "EditCopy1", "EditPaste1",
                                 "EditUndo1", "EditRedo1", "FileSave1"}) {
            auto *action = new QAction(&actions);
            action->setObjectName(QLatin1String(name));
        }
        for (int i = 0; i < 6; ++i)
            buttons << new QToolButton(outline.window.get());
        TRefreshTargets targets;
        targets.actions = &actions;
        targets.engine = outline.engine;
        targets.state = &outline.state;
        targets.window = outline.window.get();
        targets.treeStatus = outline.statusBar;
        targets.title = outline.title;
        targets.editor1 = outline.editor;
        targets.editor2 = outline.editor2;
        targets.expandButtons = buttons;
        refresh = std::make_unique<TCommandRefresh>(targets);
        outline.engine->setRefreshHandler([this] { refresh->run(); });
    }

    // The tree actions that are enabled, in table order.
    QStringList enabledTreeActions() const
    {
        QStringList enabled;
        for (const QString &name : treeActions) {
            if (actions.findChild<QAction *>(name)->isEnabled())
                enabled << name;
        }
        return enabled;
    }
    bool enabled(const char *name) const { return actions.findChild<QAction *>(QLatin1String(name))->isEnabled(); }

    TOutlineFixture outline;
    QObject actions;
    QList<QWidget *> buttons;
    std::unique_ptr<TCommandRefresh> refresh;
};

TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title)
{
    return tree.addChild(parent, title, std::make_unique<TNodeData>());
}
} // namespace

class TestCommandRefresh : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void treeAvailability_data();
    void treeAvailability();
    void newDocument();
    void treeEditCommands_data();
    void treeEditCommands();
    void editorEditCommands();
    void editCommandsNeedSomethingToActOn_data();
    void editCommandsWhileTheWindowIsInactive();
    void editCommandsNeedSomethingToActOn();
    void expandButtonsFollowTheDeepestLevel();
    void captionAndSave();
    void selectsTheFirstItemWithoutStoring();
    void disabledRefreshDoesNothing();
};

void TestCommandRefresh::treeAvailability_data()
{
    // The document: main title with a(a1 a2(a21)) b; a chain to level 17 under the work folder.
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("main title")
        << "メインタイトル" << QStringList{"TreeAddChildNode"};
    QTest::newRow("trash root") << "ゴミ箱" << QStringList();
    QTest::newRow("first of two at level 1")
        << "a" << QStringList{"TreeInsertNode", "TreeAddNode", "TreeAddChildNode", "TreeDeleteNode", "TreeNodeMoveDown"};
    QTest::newRow("last of two at level 1")
        << "b" << QStringList{"TreeInsertNode", "TreeAddNode", "TreeAddChildNode", "TreeDeleteNode", "TreeNodeMoveRight",
                              "TreeNodeMoveUp"};
    QTest::newRow("last child at level 2")
        << "a2" << QStringList{"TreeInsertNode", "TreeAddNode", "TreeAddChildNode", "TreeDeleteNode", "TreeNodeMoveLeft",
                               "TreeNodeMoveRight", "TreeNodeMoveUp"};
    QTest::newRow("level 16 with an older sibling")
        << "L16b" << QStringList{"TreeInsertNode", "TreeAddNode", "TreeDeleteNode", "TreeNodeMoveLeft", "TreeNodeMoveUp"};
    QTest::newRow("level 17, as a file may hold")
        << "L17b" << QStringList{"TreeInsertNode", "TreeAddNode", "TreeDeleteNode", "TreeNodeMoveLeft", "TreeNodeMoveUp"};
}

void TestCommandRefresh::treeAvailability()
{
    QFETCH(QString, selected);
    QFETCH(QStringList, enabled);
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    addItem(t, a, QStringLiteral("a1"));
    addItem(t, addItem(t, a, QStringLiteral("a2")), QStringLiteral("a21"));
    addItem(t, t.MainTitleNode(), QStringLiteral("b"));
    TTreeNode *n = t.WorkFolderNode();
    for (int level = 1; level < 16; ++level)
        n = addItem(t, n, QStringLiteral("L%1").arg(level));
    addItem(t, n, QStringLiteral("L16a"));
    TTreeNode *deepest = addItem(t, n, QStringLiteral("L16b"));
    addItem(t, deepest, QStringLiteral("L17a"));
    addItem(t, deepest, QStringLiteral("L17b"));
    f.outline.select(f.outline.titled(selected));
    f.refresh->run();
    QCOMPARE(f.enabledTreeActions(), enabled);
    QCOMPARE(f.enabled("ViewModeChange"), !t.isFolderRoot(f.outline.selected()));
    QCOMPARE(f.outline.editor->isEnabled(), !t.isFolderRoot(f.outline.selected()));
    QCOMPARE(f.outline.title->isEnabled(), f.outline.editor->isEnabled());
}

void TestCommandRefresh::newDocument()
{
    TRefreshFixture f;
    f.refresh->run();
    QCOMPARE(f.enabledTreeActions(), QStringList{"TreeAddChildNode"});
    QCOMPARE(f.outline.statusBar->panelText(0), QStringLiteral("  1/  4"));
    QCOMPARE(f.outline.statusBar->panelText(1), QString());
}

void TestCommandRefresh::treeEditCommands_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("clipHasItems");
    QTest::addColumn<bool>("cutCopy");
    QTest::addColumn<bool>("paste");
    QTest::newRow("ordinary item, empty clipboard folder") << "a" << false << true << false;
    QTest::newRow("ordinary item, something to paste") << "a" << true << true << true;
    QTest::newRow("main title pastes but never cuts") << "メインタイトル" << true << false << true;
    QTest::newRow("trash root takes a paste") << "ゴミ箱" << true << false << true;
    QTest::newRow("inside the clipboard folder") << "inclip" << true << false << false;
}

void TestCommandRefresh::treeEditCommands()
{
    QFETCH(QString, selected);
    QFETCH(bool, clipHasItems);
    QFETCH(bool, cutCopy);
    QFETCH(bool, paste);
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    if (clipHasItems)
        addItem(t, t.ClipFolderNode(), QStringLiteral("inclip"));
    f.outline.select(f.outline.titled(selected));
    f.outline.treeView->setFocus();
    f.refresh->run();
    QCOMPARE(f.enabled("EditCut1"), cutCopy);
    QCOMPARE(f.enabled("EditCopy1"), cutCopy);
    QCOMPARE(f.enabled("EditPaste1"), paste);
    QCOMPARE(f.enabled("EditDelete"), f.outline.selected()->level() > 0);
}

void TestCommandRefresh::editorEditCommands()
{
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    a->data()->setBodyFromText(QStringLiteral("abc"));
    f.outline.select(a);
    f.outline.editor->setFocus();
    QApplication::clipboard()->clear();
    f.refresh->run();
    QVERIFY(!f.enabled("EditCut1"));
    QVERIFY(!f.enabled("EditPaste1"));
    QVERIFY(!f.enabled("EditUndo1"));
    f.outline.editor->setSelStart(0);
    f.outline.editor->setSelLength(2);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    QTest::keyClick(f.outline.editor, Qt::Key_Delete);
    f.outline.editor->setSelStart(0);
    f.outline.editor->setSelLength(1);
    f.refresh->run();
    QVERIFY(f.enabled("EditCut1"));
    QVERIFY(f.enabled("EditCopy1"));
    QVERIFY(f.enabled("EditPaste1"));
    QVERIFY(f.enabled("EditUndo1"));
    QVERIFY(!f.enabled("EditRedo1"));
    f.outline.title->setFocus();
    f.outline.title->deselect();
    f.refresh->run();
    QVERIFY(!f.enabled("EditCut1"));
}

void TestCommandRefresh::editCommandsNeedSomethingToActOn_data()
{
    QTest::addColumn<QString>("control"); // what gets the focus after the body editor
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("title box, nothing selected or typed") << QStringLiteral("title") << QStringList{"EditPaste1"};
    QTest::newRow("title box, one edit") << QStringLiteral("edited title") << QStringList{"EditPaste1", "EditUndo1"};
    QTest::newRow("tree on an item") << QStringLiteral("tree") << QStringList{"EditCut1", "EditCopy1"};
    QTest::newRow("a button") << QStringLiteral("button") << QStringList();
}

void TestCommandRefresh::editCommandsNeedSomethingToActOn()
{
    // The body editor, with a selection and an edit to undo, leaves the edit commands enabled;
    // the control that takes the focus next decides again, from what it holds itself.
    QFETCH(QString, control);
    QFETCH(QStringList, enabled);
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    a->data()->setBodyFromText(QStringLiteral("abc"));
    f.outline.select(a);
    f.outline.editor->setFocus();
    QTest::keyClick(f.outline.editor, Qt::Key_Delete);
    f.outline.editor->setSelStart(0);
    f.outline.editor->setSelLength(1);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    const QStringList editActions{"EditCut1", "EditCopy1", "EditPaste1", "EditUndo1", "EditRedo1"};
    const auto enabledEditActions = [&] {
        QStringList names;
        for (const QString &name : editActions) {
            if (f.enabled(qPrintable(name)))
                names << name;
        }
        return names;
    };
    f.refresh->run();
    QCOMPARE(enabledEditActions(), (QStringList{"EditCut1", "EditCopy1", "EditPaste1", "EditUndo1"}));

    QPushButton button(QStringLiteral("OK"), f.outline.window.get());
    button.setFocusPolicy(Qt::StrongFocus);
    button.show();
    if (control == QLatin1String("tree")) {
        f.outline.treeView->setFocus();
    } else if (control == QLatin1String("button")) {
        button.setFocus();
    } else {
        f.outline.title->setFocus();
        f.outline.title->deselect();
        if (control == QLatin1String("edited title")) {
            QTest::keyClick(f.outline.title, Qt::Key_End);
            QTest::keyClick(f.outline.title, Qt::Key_X);
        }
    }
    QTRY_VERIFY(QApplication::focusWidget() != f.outline.editor);
    f.refresh->run();
    QCOMPARE(enabledEditActions(), enabled);
}

void TestCommandRefresh::editCommandsWhileTheWindowIsInactive()
{
    // With another window active the application has no focus widget: the control that gets the
    // focus back when the window is active again decides, here the tree on the main title.
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    a->data()->setBodyFromText(QStringLiteral("abc"));
    f.outline.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.outline.window.get()));
    f.outline.select(a);
    f.outline.editor->setFocus();
    f.outline.editor->setSelStart(0);
    f.outline.editor->setSelLength(1);
    f.refresh->run();
    QVERIFY(f.enabled("EditCut1"));

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(QApplication::focusWidget(), nullptr);
    f.outline.select(t.MainTitleNode());
    f.outline.treeView->setFocus();
    f.refresh->run();
    QVERIFY(!f.enabled("EditCut1"));
    QVERIFY(!f.enabled("EditCopy1"));

    f.outline.treeView->clearFocus();
    f.refresh->run();
    QVERIFY(!f.enabled("EditCut1"));
    QVERIFY(!f.enabled("EditUndo1"));
}

void TestCommandRefresh::expandButtonsFollowTheDeepestLevel()
{
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    addItem(t, addItem(t, t.MainTitleNode(), QStringLiteral("a")), QStringLiteral("a1"));
    f.outline.engine->ComputeDeepestLevel();
    f.refresh->run();
    QList<bool> visible;
    for (QWidget *button : f.buttons)
        visible << !button->isHidden();
    QCOMPARE(visible, (QList<bool>{true, true, false, false, false, false}));
}

void TestCommandRefresh::captionAndSave()
{
    TRefreshFixture f;
    f.refresh->run();
    QCOMPARE(f.outline.window->windowTitle(), QStringLiteral("おるべく - NonTitled"));
    QVERIFY(!f.enabled("FileSave1"));
    f.outline.engine->AddChild();
    QCOMPARE(f.outline.window->windowTitle(), QStringLiteral("おるべく - NonTitled *"));
    QVERIFY(f.enabled("FileSave1"));
}

void TestCommandRefresh::selectsTheFirstItemWithoutStoring()
{
    TRefreshFixture f;
    TDocumentTree &t = f.outline.tree();
    TTreeNode *a = addItem(t, t.MainTitleNode(), QStringLiteral("a"));
    f.outline.select(a);
    f.outline.editor->setFocus();
    QTest::keyClicks(f.outline.editor, QStringLiteral("unsaved"));
    f.outline.engine->setStoreLocked(true);
    f.outline.treeView->setSelectedNode(nullptr);
    f.outline.engine->setStoreLocked(false);
    f.refresh->run();
    QCOMPARE(f.outline.selected(), t.first());
    QCOMPARE(a->data()->Lines, QStringList());
    QVERIFY(!f.outline.engine->StoreLocked());
}

void TestCommandRefresh::disabledRefreshDoesNothing()
{
    TRefreshFixture f;
    f.outline.state.setRefreshEnabled(false);
    f.outline.statusBar->setPanelText(1, QStringLiteral("自動保存しました"));
    f.refresh->run();
    QCOMPARE(f.outline.statusBar->panelText(1), QStringLiteral("自動保存しました"));
}

QTEST_MAIN(TestCommandRefresh)
#include "tst_commandrefresh.moc"
