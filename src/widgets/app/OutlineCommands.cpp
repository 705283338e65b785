#include "OutlineCommands.h"

#include "ModeController.h"
#include "app/Prompt.h"
#include "app/TreeCommandAvailability.h"
#include "document/ControlTrim.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/ClipboardFunctions.h"
#include "engine/OlvekEngine.h"
#include "ui/OlvekTreeView.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaObject>

QWidget *TOutlineCommands::focusedControl()
{
    return QApplication::focusWidget();
}

bool TOutlineCommands::treeFocused() const
{
    return focusedControl() == m_engine->Tree();
}

void TOutlineCommands::EditCut1()
{
    QWidget *control = focusedControl();
    if (auto *editor = qobject_cast<TOlvekEditor *>(control)) {
        editor->cut();
        if (editor == m_engine->Editor())
            m_engine->RecordJump();
    } else if (treeFocused() && !m_engine->Tree()->isEditingTitle()) {
        runOnTree([this] { m_engine->CutNode(); });
    } else if (auto *line = qobject_cast<QLineEdit *>(control)) {
        line->cut();
    } else if (control) {
        QMetaObject::invokeMethod(control, "cut");
    }
}

void TOutlineCommands::EditCopy1()
{
    QWidget *control = focusedControl();
    if (auto *editor = qobject_cast<TOlvekEditor *>(control)) {
        editor->copy();
        if (editor == m_engine->Editor())
            m_engine->RecordJump();
    } else if (treeFocused() && !m_engine->Tree()->isEditingTitle()) {
        runOnTree([this] { m_engine->CopyNode(); });
    } else {
        copyFromControl(control);
    }
}

void TOutlineCommands::EditPaste1()
{
    if (m_engine->ReplaceDialogShowing())
        return;
    QWidget *control = focusedControl();
    if (auto *editor = qobject_cast<TOlvekEditor *>(control)) {
        editor->paste();
        if (editor == m_engine->Editor())
            m_engine->RecordJump();
    } else if (treeFocused() && !m_engine->Tree()->isEditingTitle()) {
        runOnTree([this] { m_engine->PasteNodes(); });
    } else if (qobject_cast<QLineEdit *>(control)) {
        pasteIntoControl(control);
    }
}

void TOutlineCommands::EditSelectAll1()
{
    QWidget *control = focusedControl();
    if (auto *editor = qobject_cast<TOlvekEditor *>(control)) {
        editor->selectAll();
        editor->setFocus();
        if (editor == m_engine->controls().Editor2)
            m_engine->Refresh();
    } else if (auto *line = qobject_cast<QLineEdit *>(control)) {
        line->selectAll();
    }
}

void TOutlineCommands::EditUndo1()
{
    QWidget *control = focusedControl();
    if (auto *editor = qobject_cast<TOlvekEditor *>(control))
        editor->undo();
    else if (treeFocused() && !m_engine->Tree()->isEditingTitle())
        runOnTree([this] { m_engine->UndoTree(); });
    else if (auto *line = qobject_cast<QLineEdit *>(control))
        line->undo();
}

void TOutlineCommands::EditRedo1()
{
    QWidget *control = focusedControl();
    if (auto *editor = qobject_cast<TOlvekEditor *>(control))
        editor->redo();
    else if (treeFocused() && !m_engine->Tree()->isEditingTitle())
        runOnTree([this] { m_engine->RedoTree(); });
    else if (auto *line = qobject_cast<QLineEdit *>(control))
        line->redo();
}

void TOutlineCommands::EditDelete()
{
    TPrompt::current().showMessage(QStringLiteral("未完成"));
}

void TOutlineCommands::TreeInsertNode()
{
    runOnTree([this] { m_engine->InsertBefore(); });
}

void TOutlineCommands::TreeAddNode()
{
    runOnTree([this] { m_engine->AddAfter(); });
}

void TOutlineCommands::TreeAddChildNode()
{
    runOnTree([this] { m_engine->AddChild(); });
}

void TOutlineCommands::TreeDeleteNode()
{
    runOnTree([this] {
        // Nothing to ask about where the selection allows no deletion (a root).
        if (!TTreeCommandAvailability::of(m_engine->document(), m_engine->Tree()->selectedNode()).deleteNode)
            return;
        if (TPrompt::current().askOkCancel(QStringLiteral("現在の項目を削除してよろしいですか")) == TPrompt::Answer::Ok)
            m_engine->DeleteToTrash();
    });
}

void TOutlineCommands::TreeNodeMoveLeft()
{
    runOnTree([this] { m_engine->MoveLeft(); });
}

void TOutlineCommands::TreeNodeMoveRight()
{
    runOnTree([this] { m_engine->MoveRight(); });
}

void TOutlineCommands::TreeNodeMoveUp()
{
    runOnTree([this] { m_engine->MoveUp(); });
}

void TOutlineCommands::TreeNodeMoveDown()
{
    runOnTree([this] { m_engine->MoveDown(); });
}

void TOutlineCommands::TreeClearTrash()
{
    if (TPrompt::current().askYesNo(QStringLiteral("ゴミ箱を空にします。よろしいですか？")) == TPrompt::Answer::Yes)
        runOnTree([this] { m_engine->EmptyTrash(); });
}

void TOutlineCommands::TreeAllNodeOpen()
{
    TDocumentTree &document = m_engine->document();
    TOlvekTreeView *tree = m_engine->Tree();
    tree->expandNode(document.MainTitleNode(), true);
    tree->expandNode(document.WorkFolderNode(), true);
    // The rows opened above the selected item push it down, often out of the view.
    if (TTreeNode *selected = tree->selectedNode())
        tree->scrollTo(tree->documentModel()->indexOf(selected));
}

void TOutlineCommands::TreeAllNodeClose()
{
    TOlvekTreeView *tree = m_engine->Tree();
    TDocumentTree &document = m_engine->document();
    TTreeNode *selected = tree->selectedNode();
    if (selected && !document.isFolderRoot(selected))
        m_engine->Commit(selected, m_engine->Editor()->isModified());
    tree->collapseNode(document.MainTitleNode(), true);
    tree->collapseNode(document.WorkFolderNode(), true);
    // A hidden item stays neither selected nor in the editor: the highest collapsed item above
    // it now shows it.
    TTreeNode *shown = selected;
    for (TTreeNode *p = selected ? selected->parent() : nullptr; p; p = p->parent()) {
        if (!p->isExpanded())
            shown = p;
    }
    if (shown != selected) {
        tree->setSelectedNode(shown);
        tree->completePendingChange();
    }
    // The text mode shows a newly selected item through the selection's own handlers.
    if (!m_modes || !m_modes->textMode())
        m_engine->LoadItem(tree->selectedNode());
}

void TOutlineCommands::TreeMakeNodeToMainFolder()
{
    runOnTree([this] { makeNodes(m_engine->document().MainTitleNode()); });
}

void TOutlineCommands::TreeMakeNodeToCurrentNode()
{
    runOnTree([this] { makeNodes(m_engine->Tree()->selectedNode()); });
}

void TOutlineCommands::TreeMakeNodeToWorkFolder()
{
    runOnTree([this] { makeNodes(m_engine->document().WorkFolderNode()); });
}

void TOutlineCommands::runOnTree(const std::function<void()> &command)
{
    if (m_modes)
        m_modes->runTreeCommand(command);
    else
        command();
}

void TOutlineCommands::makeNodes(TTreeNode *target)
{
    TOlvekEditor *lines = m_engine->controls().Editor2;
    if (!lines)
        return;
    if (trimControlChars(lines->text()).isEmpty()) {
        TPrompt::current().showMessage(QStringLiteral("項目名を記入して下さい。"));
        lines->setFocus();
        return;
    }
    m_engine->MakeNodesFromLines(target);
}
