// Every command that changes the tree, given in the text mode through the real window, against
// every state the text can be in: unchanged, edited, with a second top heading (which replaces the
// shown item by two), emptied, and shown for an item directly under a folder root. Whatever the
// command does, the program does not crash, the document keeps its four roots, every word typed
// is saved, and the editor shows the selected item's subtree as dotted text, never a plain body:
// leaving the text mode at once changes nothing more. Also the tree's undo in the text mode, with
// and without typing, a title typed in place, which every whole-document command takes along, and
// a title typed into the title box in the text mode.
#include "support/RootInvariant.h"
#include "support/ScriptedPrompt.h"
#include "support/TreeLookup.h"
#include "support/TypeText.h"

#include "app/EditingSession.h"
#include "app/DocumentFiles.h"
#include "app/MainUnit.h"
#include "app/ModeController.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "engine/TreeHistory.h"
#include "files/DocumentStorage.h"
#include "textmode/TreeText.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
TTreeNode *addItem(TDocumentTree &tree, TTreeNode *parent, const QString &title, const QString &body)
{
    auto data = std::make_unique<TNodeData>();
    data->Lines = QStringList{body};
    return tree.addChild(parent, title, std::move(data));
}

// Every item of a document in pre-order, "level title: body lines joined by /".
QStringList everything(const TDocumentTree &tree)
{
    QStringList items;
    for (TTreeNode *n = tree.first(); n; n = n->next())
        items << QStringLiteral("%1 %2: %3").arg(n->level()).arg(n->title(), n->data() ? n->data()->Lines.join(u'/') : QString());
    return items;
}

QStringList savedDocument(const QString &path)
{
    TDocumentTree saved;
    if (!TDocumentStorage::readDocumentFile(path, saved).ok)
        return {QStringLiteral("unreadable")};
    return everything(saved);
}
} // namespace

class TestTextModeCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void treeCommandKeepsEveryTypedWord_data();
    void treeCommandKeepsEveryTypedWord();
    void treeUndoInTextMode_data();
    void treeUndoInTextMode();
    void titleTypedInPlaceIsTaken_data();
    void titleTypedInPlaceIsTaken();
    void titleBoxInTextMode();
    void replacedItemIsSaid_data();
    void replacedItemIsSaid();
    void moveKeyThatCannotMoveDoesNothing_data();
    void moveKeyThatCannotMoveDoesNothing();

private:
    void showAsText(const QString &title);
    void typeAtEnd(const QString &text);
    void focusTree();
    void dropOnto(const QString &title);
    TModeController &modes() const { return m_main->session()->modes(); }
    TDocumentTree &document() const { return *m_form->document(); }
    TTreeNode *titled(const QString &title) const { return ::titled(document(), title); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TScriptedPrompt> m_prompt;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
    TOlvekTreeView *m_tree = nullptr;
    TOlvekEditor *m_editor = nullptr;
};

void TestTextModeCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompt = std::make_unique<TScriptedPrompt>();
    m_form = new TMainForm(m_dir->filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    m_tree = m_form->TreeView1;
    m_editor = m_form->Editor1;
    m_form->resize(1000, 700);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    // メインタイトル with P1, X (X1, X2) and P3; W1 and W2 in the work folder; one-line bodies.
    TDocumentTree &tree = document();
    TTreeNode *root = tree.first();
    root->data()->Lines = QStringList{QStringLiteral("main body")};
    addItem(tree, root, QStringLiteral("P1"), QStringLiteral("p1 body"));
    TTreeNode *x = addItem(tree, root, QStringLiteral("X"), QStringLiteral("x body"));
    addItem(tree, x, QStringLiteral("X1"), QStringLiteral("x1 body"));
    addItem(tree, x, QStringLiteral("X2"), QStringLiteral("x2 body"));
    addItem(tree, root, QStringLiteral("P3"), QStringLiteral("p3 body"));
    addItem(tree, tree.WorkFolderNode(), QStringLiteral("W1"), QStringLiteral("w1 body"));
    addItem(tree, tree.WorkFolderNode(), QStringLiteral("W2"), QStringLiteral("w2 body"));
    m_tree->expandNode(root, true);
    m_tree->expandNode(tree.WorkFolderNode(), true);
    m_main->session()->engine()->LoadItem(root);
}

void TestTextModeCommands::cleanup()
{
    delete m_main;
    delete m_form;
    m_main = nullptr;
    m_form = nullptr;
    m_prompt.reset();
    m_dir.reset();
}

void TestTextModeCommands::showAsText(const QString &title)
{
    m_tree->setSelectedNode(titled(title));
    m_tree->completePendingChange();
    m_main->ViewModeChange->trigger();
    QVERIFY(modes().textMode());
    m_main->ViewShowNaviWhenLumeno->trigger();
    QCOMPARE(m_editor->lineText(1), u'.' + title);
}

void TestTextModeCommands::typeAtEnd(const QString &text)
{
    m_editor->setFocus();
    QTRY_VERIFY(m_editor->hasFocus());
    QTest::keyClick(m_editor, Qt::Key_End, Qt::ControlModifier);
    typeText(m_editor, text);
}

void TestTextModeCommands::focusTree()
{
    m_tree->setFocus();
    QTRY_VERIFY(m_tree->hasFocus());
}

void TestTextModeCommands::dropOnto(const QString &title)
{
    const QRect row = m_tree->visualRect(m_tree->documentModel()->indexOf(titled(title)));
    QVERIFY(row.isValid());
    std::unique_ptr<QMimeData> mime(m_tree->createDragData(m_tree->selectedNode()));
    QDropEvent drop(QPointF(row.center()), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_tree->viewport(), &drop);
}

void TestTextModeCommands::treeCommandKeepsEveryTypedWord_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("state");
    const QStringList commands{"insert", "add after", "add child", "delete", "cut", "copy", "paste", "move up",
                               "move down", "move left", "move right", "drop", "make under main title",
                               "make under selected", "make under work folder", "undo", "redo", "import under",
                               "import after"};
    const QStringList states{"unchanged", "edited", "two top headings", "emptied", "under a folder root"};
    for (const QString &command : commands) {
        for (const QString &state : states)
            QTest::addRow("%s, %s", qPrintable(command), qPrintable(state)) << command << state;
    }
}

void TestTextModeCommands::treeCommandKeepsEveryTypedWord()
{
    QFETCH(QString, command);
    QFETCH(QString, state);
    const TRootInvariant roots(document());
    const QString importFile = m_dir->filePath(QStringLiteral("import.txt"));
    QFile text(importFile);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(".Imported\nimported body\n");
    text.close();

    if (command == "paste") {
        // Something to paste: a copy of P1 in the clipboard folder.
        m_tree->setSelectedNode(titled(QStringLiteral("P1")));
        m_tree->completePendingChange();
        focusTree();
        m_main->EditCopy1->trigger();
        QCOMPARE(document().ClipFolderNode()->childCount(), 1);
    }
    showAsText(state == "under a folder root" ? QStringLiteral("W1") : QStringLiteral("X"));
    if (command == "undo" || command == "redo") {
        // A tree step to undo, and for redo one undone.
        focusTree();
        m_main->TreeNodeMoveDown->trigger();
        QVERIFY(m_tree->history()->canUndo());
        if (command == "redo") {
            m_main->EditUndo1->trigger();
            QVERIFY(m_tree->history()->canRedo());
        }
    }

    QStringList typed;
    if (state == "edited") {
        m_editor->setFocus();
        m_editor->setCaretLine(2);
        QTest::keyClick(m_editor, Qt::Key_End);
        typeText(m_editor, QStringLiteral(" typedwords"));
        typed << QStringLiteral("typedwords");
    } else if (state == "two top headings" || state == "under a folder root") {
        typeAtEnd(QStringLiteral(".Z\nzwords"));
        typed << QStringLiteral("zwords");
    } else if (state == "emptied") {
        m_editor->setFocus();
        QTest::keyClick(m_editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(m_editor, Qt::Key_Delete);
        QCOMPARE(m_editor->lineCount(), 0);
    }

    m_form->Editor2->setText(QStringLiteral("NEW1\nNEW2"));
    m_prompt->scriptAnswer(TPrompt::Answer::Ok);
    focusTree();
    if (command == "insert")
        m_main->TreeInsertNode->trigger();
    else if (command == "add after")
        m_main->TreeAddNode->trigger();
    else if (command == "add child")
        m_main->TreeAddChildNode->trigger();
    else if (command == "delete")
        m_main->TreeDeleteNode->trigger();
    else if (command == "cut")
        m_main->EditCut1->trigger();
    else if (command == "copy")
        m_main->EditCopy1->trigger();
    else if (command == "paste")
        m_main->EditPaste1->trigger();
    else if (command == "move up")
        m_main->TreeNodeMoveUp->trigger();
    else if (command == "move down")
        m_main->TreeNodeMoveDown->trigger();
    else if (command == "move left")
        m_main->TreeNodeMoveLeft->trigger();
    else if (command == "move right")
        m_main->TreeNodeMoveRight->trigger();
    else if (command == "drop")
        dropOnto(QStringLiteral("P1"));
    else if (command == "make under main title")
        m_main->TreeMakeNodeToMainFolder->trigger();
    else if (command == "make under selected")
        m_main->TreeMakeNodeToCurrentNode->trigger();
    else if (command == "make under work folder")
        m_main->TreeMakeNodeToWorkFolder->trigger();
    else if (command == "undo")
        m_main->EditUndo1->trigger();
    else if (command == "redo")
        m_main->EditRedo1->trigger();
    else if (command == "import under" || command == "import after") {
        m_prompt->clear();
        m_prompt->scriptFile(importFile);
        (command == "import under" ? m_main->FileImportToChild : m_main->FileImportToNext)->trigger();
    } else
        QFAIL("unknown command");
    m_tree->completePendingChange();
    QCoreApplication::processEvents();

    QVERIFY2(roots.fault().isEmpty(), qPrintable(roots.fault()));
    QVERIFY(modes().textMode());
    // The editor shows the selected item's subtree (or a folder root's body, as the outline does).
    TTreeNode *selected = m_tree->selectedNode();
    QVERIFY(selected);
    if (!document().isFolderRoot(selected) && m_editor->lineCount() > 0)
        QCOMPARE(m_editor->lineText(1), u'.' + selected->title());

    const QString first = m_dir->filePath(QStringLiteral("first.olvx"));
    m_prompt->clear();
    m_prompt->scriptFile(first);
    m_main->FileSaveAs1->trigger();
    QCOMPARE(m_prompt->remainingScript(), 0);
    const QStringList saved = savedDocument(first);
    const QString all = saved.join(u'\n');
    for (const QString &word : std::as_const(typed))
        QVERIFY2(all.contains(word), qPrintable(word + u'\n' + all));
    for (const QString &body : {QStringLiteral("main body"), QStringLiteral("p1 body"), QStringLiteral("p3 body")})
        QVERIFY2(all.contains(body), qPrintable(all));

    // What the editor shows is what the tree holds: going back to the outline changes nothing.
    if (!document().isFolderRoot(m_tree->selectedNode())) {
        m_main->ViewModeChange->trigger();
        QVERIFY(!modes().textMode());
        QCOMPARE(everything(document()), saved);
    }
}

void TestTextModeCommands::treeUndoInTextMode_data()
{
    QTest::addColumn<bool>("typeFirst");
    QTest::newRow("the text as shown") << false;
    QTest::newRow("words typed in the text before the undo") << true;
}

// Move X down with the tree's command, then undo it with the tree focused: X comes back to its
// place with its children and bodies, typed words stay, and redo is offered.
void TestTextModeCommands::treeUndoInTextMode()
{
    QFETCH(bool, typeFirst);
    const QStringList before = everything(document());
    showAsText(QStringLiteral("P1"));
    m_tree->setSelectedNode(titled(QStringLiteral("X")));
    m_tree->completePendingChange();
    QCOMPARE(m_editor->lineText(1), QStringLiteral(".X"));
    focusTree();
    m_main->TreeNodeMoveDown->trigger();
    QCOMPARE(titled(QStringLiteral("X"))->index(), 2);
    if (typeFirst) {
        m_editor->setFocus();
        m_editor->setCaretLine(2);
        QTest::keyClick(m_editor, Qt::Key_End);
        typeText(m_editor, QStringLiteral(" typedwords"));
    }
    focusTree();
    QVERIFY(m_main->EditUndo1->isEnabled());
    m_main->EditUndo1->trigger();
    m_tree->completePendingChange();
    QCoreApplication::processEvents();

    TTreeNode *x = titled(QStringLiteral("X"));
    QVERIFY(x);
    QCOMPARE(x->index(), 1);
    QCOMPARE(m_tree->selectedNode(), x);
    QCOMPARE(m_editor->lineText(1), QStringLiteral(".X"));
    QVERIFY(m_tree->history()->canRedo());
    m_main->ViewModeChange->trigger();
    QStringList expected = before;
    // Leaving the editor for the tree puts an empty line below every heading of the text.
    if (typeFirst) {
        expected.replace(expected.indexOf(QStringLiteral("1 X: x body")), QStringLiteral("1 X: /x body typedwords"));
        expected.replace(expected.indexOf(QStringLiteral("2 X1: x1 body")), QStringLiteral("2 X1: /x1 body"));
        expected.replace(expected.indexOf(QStringLiteral("2 X2: x2 body")), QStringLiteral("2 X2: /x2 body"));
    }
    QCOMPARE(everything(document()), expected);
}

void TestTextModeCommands::titleTypedInPlaceIsTaken_data()
{
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QString>("command");
    for (const bool text : {false, true}) {
        const char *mode = text ? "text mode" : "outline mode";
        QTest::addRow("%s, save", mode) << text << "save";
        QTest::addRow("%s, close", mode) << text << "close";
        QTest::addRow("%s, auto-save", mode) << text << "auto-save";
    }
}

// With titles editable in place, F2 in the tree and a title typed, then a whole-document command
// before Enter: the title is part of what it saves or asks about.
void TestTextModeCommands::titleTypedInPlaceIsTaken()
{
    QFETCH(bool, textMode);
    QFETCH(QString, command);
    const QString path = m_dir->filePath(QStringLiteral("titled.olvx"));
    m_main->session()->engine()->setDirectEdit(true);
    if (textMode)
        showAsText(QStringLiteral("X"));
    m_tree->setSelectedNode(titled(QStringLiteral("X")));
    m_tree->completePendingChange();
    m_tree->setTitlesEditable(true);
    focusTree();
    QTest::keyClick(m_tree, Qt::Key_F2);
    QTRY_VERIFY(m_tree->isEditingTitle());
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != m_tree);
    QTest::keyClick(editor, Qt::Key_End);
    typeText(editor, QStringLiteral("typedtitle"));
    QVERIFY(!m_main->documentState()->isModified());

    if (command == "save") {
        // Saving is offered once the document has changed.
        m_main->documentState()->setModified(true);
        m_main->session()->refresh();
        m_prompt->scriptFile(path);
        m_main->FileSave1->trigger();
    } else if (command == "close") {
        m_prompt->scriptAnswer(TPrompt::Answer::Yes);
        m_prompt->scriptFile(path);
        QVERIFY(m_form->close());
        QCOMPARE(m_prompt->texts(), QStringList{QStringLiteral("閉じる前に保存しますか")});
    } else {
        // An untitled document is saved under a name asked for; a named one is saved by the tick.
        m_main->documentState()->setFileName(path);
        m_main->session()->files()->Timer1Timer();
    }
    QCOMPARE(m_prompt->remainingScript(), 0);
    QVERIFY(savedDocument(path).contains(QStringLiteral("1 Xtypedtitle: x body")));
    if (textMode && command != "close") {
        // The text names the item as the tree does, so the next conversion keeps the title.
        QCOMPARE(m_editor->lineText(1), QStringLiteral(".Xtypedtitle"));
    }
}

// A title typed into the title box in the text mode, then words typed into the text: the
// conversion of the text keeps the new title, as the text's top heading follows the box.
void TestTextModeCommands::titleBoxInTextMode()
{
    showAsText(QStringLiteral("X"));
    QLineEdit *box = m_form->eTitle;
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    box->selectAll();
    typeText(box, QStringLiteral("Renamed"));
    QCOMPARE(m_editor->lineText(1), QStringLiteral(".Renamed"));
    m_editor->setFocus();
    QTRY_VERIFY(m_editor->hasFocus());
    m_editor->setCaretLine(2);
    QTest::keyClick(m_editor, Qt::Key_End);
    typeText(m_editor, QStringLiteral(" typedwords"));
    m_tree->setSelectedNode(titled(QStringLiteral("P1")));
    m_tree->completePendingChange();
    TTreeNode *renamed = titled(QStringLiteral("Renamed"));
    QVERIFY(renamed);
    QCOMPARE(renamed->data()->Lines, QStringList{QStringLiteral("x body typedwords")});
    QCOMPARE(renamed->childCount(), 2);
}

void TestTextModeCommands::replacedItemIsSaid_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("delete") << QStringLiteral("TreeDeleteNode");
    QTest::newRow("cut") << QStringLiteral("EditCut1");
    QTest::newRow("move up") << QStringLiteral("TreeNodeMoveUp");
    QTest::newRow("make under selected") << QStringLiteral("TreeMakeNodeToCurrentNode");
}

// A command on X after a second top heading was typed into X's text: the conversion replaces X,
// so the command does nothing, and the status bar says why once the text is shown again.
void TestTextModeCommands::replacedItemIsSaid()
{
    QFETCH(QString, command);
    showAsText(QStringLiteral("X"));
    typeAtEnd(QStringLiteral(".Z\nzwords"));
    m_form->Editor2->setText(QStringLiteral("NEW1\nNEW2"));
    m_prompt->scriptAnswer(TPrompt::Answer::Ok);
    focusTree();
    QAction *action = m_main->findChild<QAction *>(command);
    QVERIFY(action);
    action->trigger();
    m_tree->completePendingChange();
    QCoreApplication::processEvents();
    QCOMPARE(m_form->stbarEditor->currentMessage(), TModeController::ReselectMessage);
    QVERIFY(titled(QStringLiteral("X")));
    QVERIFY(titled(QStringLiteral("Z")));
}

void TestTextModeCommands::moveKeyThatCannotMoveDoesNothing_data()
{
    QTest::addColumn<bool>("textMode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("key");
    QTest::newRow("outline, left on a first-level item with children") << false << "X" << int(Qt::Key_Left);
    QTest::newRow("outline, up on the first item") << false << "P1" << int(Qt::Key_Up);
    QTest::newRow("text mode, left on a first-level item with children") << true << "X" << int(Qt::Key_Left);
    QTest::newRow("text mode, left on a first-level item") << true << "P3" << int(Qt::Key_Left);
}

// Ctrl+Shift with an arrow moves the selected item; where it cannot, the key neither moves the
// selection nor folds the item, as the bare arrow would.
void TestTextModeCommands::moveKeyThatCannotMoveDoesNothing()
{
    QFETCH(bool, textMode);
    QFETCH(QString, title);
    QFETCH(int, key);
    if (textMode) {
        showAsText(title);
    } else {
        m_tree->setSelectedNode(titled(title));
        m_tree->completePendingChange();
    }
    TTreeNode *item = titled(title);
    const bool expanded = item->isExpanded();
    const QStringList before = everything(document());
    focusTree();
    QTest::keyClick(m_tree, Qt::Key(key), Qt::ControlModifier | Qt::ShiftModifier);
    m_tree->completePendingChange();
    QCoreApplication::processEvents();
    QCOMPARE(m_tree->selectedNode(), item);
    QCOMPARE(item->isExpanded(), expanded);
    QCOMPARE(everything(document()), before);
    if (textMode)
        QCOMPARE(m_editor->lineText(1), u'.' + title);
}

QTEST_MAIN(TestTextModeCommands)
#include "tst_textmodecommands.moc"
