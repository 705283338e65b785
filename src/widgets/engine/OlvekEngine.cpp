#include "OlvekEngine.h"

#include "app/Prompt.h"
#include "app/TreeCommandAvailability.h"
#include "document/ControlTrim.h"
#include "document/DocumentModel.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/ColumnRuler.h"
#include "editor/OlvekCompo.h"
#include "ui/OlvekTreeView.h"
#include "ui/StatusPanels.h"
#include "ui/TreeUpdateGuard.h"
#include "TreeHistory.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

namespace {
// Sets a flag for the lifetime of a scope, whatever way the scope is left.
class TFlagScope
{
public:
    explicit TFlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~TFlagScope() { m_flag = false; }
    TFlagScope(const TFlagScope &) = delete;
    TFlagScope &operator=(const TFlagScope &) = delete;

private:
    bool &m_flag;
};

// The first item after node's subtree in pre-order, or null at the end of the tree.
TTreeNode *afterSubtree(const TTreeNode *node)
{
    while (node && !node->nextSibling())
        node = node->parent();
    return node ? node->nextSibling() : nullptr;
}
} // namespace

TOlvekEngine::TOlvekEngine(TOlvekEditor *editor, TStatusPanels *statusBar, QObject *mainForm, TOlvekTreeView *tree,
                           const TOutlineControls &controls, TDocumentState *state)
    : TCustomOutlineEngine(editor, statusBar, mainForm), m_tree(tree), m_controls(controls), m_state(state)
{
    // What Undo and Redo offer changes when an entry is made, as well as when one is used.
    QUndoStack *history = m_tree->history()->stack();
    connect(history, &QUndoStack::canUndoChanged, this, &TOlvekEngine::Refresh);
    connect(history, &QUndoStack::canRedoChanged, this, &TOlvekEngine::Refresh);
}

TDocumentTree &TOlvekEngine::document() const
{
    return *m_tree->documentTree();
}

void TOlvekEngine::EditorKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift)
{
    TCustomOutlineEngine::EditorKeyDown(sender, key, shift);
    ShowCaretPosition();
}

void TOlvekEngine::EditorKeyUp(QObject *, int &, Qt::KeyboardModifiers)
{
    ShowCaretPosition();
}

void TOlvekEngine::EditorEnter(QObject *sender)
{
    TCustomOutlineEngine::EditorEnter(sender);
    ShowCaretPosition();
}

void TOlvekEngine::EditorExit(QObject *)
{
}

void TOlvekEngine::EditorChange(QObject *)
{
    ShowCaretPosition();
    if (m_busy)
        return;
    markModified();
    Refresh();
}

void TOlvekEngine::Refresh()
{
    if (m_refreshHandler)
        m_refreshHandler();
}

int TOlvekEngine::NewNodeCounter() const
{
    return document().NewNodeCounter();
}

void TOlvekEngine::setNewNodeCounter(int value)
{
    document().setNewNodeCounter(value);
}

void TOlvekEngine::ShowCaretPosition()
{
    const int column = m_editor->displayColumn();
    if (m_controls.Ruler) {
        m_controls.Ruler->setSelStart(column - 1);
        m_controls.Ruler->setSelEnd(column);
    }
    UpdateCaretStatus();
}

void TOlvekEngine::InsertBefore()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("項目の挿入"));
    focusTree();
    // Nothing goes beside a root: the document keeps its four top-level items.
    if (!available().insertNode)
        return;
    createNode(m_tree->selectedNode(), NewNodePlace::Before);
}

void TOlvekEngine::AddAfter()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("項目の追加"));
    focusTree();
    if (!available().insertNode)
        return;
    TTreeNode *selected = m_tree->selectedNode();
    // The first item after the selected item's subtree.
    const int level = selected->level();
    TTreeNode *next = selected->next();
    while (next && next->level() > level)
        next = next->next();
    if (next && next->level() == level)
        createNode(next, NewNodePlace::Before);
    else
        createNode(selected, NewNodePlace::LastSibling);
}

void TOlvekEngine::AddChild()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("子項目の追加"));
    focusTree();
    TTreeNode *selected = m_tree->selectedNode();
    if (!selected || selected == document().TrashNode())
        return;
    if (TDocumentTree::isAtLevelLimit(selected)) {
        TPrompt::current().showMessage(QStringLiteral("これ以上下の階層はつくれません"));
        return;
    }
    createNode(selected, NewNodePlace::LastChild);
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::createNode(TTreeNode *anchor, NewNodePlace place)
{
    TDocumentTree &tree = document();
    TTreeNode *node = nullptr;
    {
        TTreeUpdateGuard suspended(m_tree);
        const QString title = tree.defaultTitle();
        switch (place) {
        case NewNodePlace::Before:
            node = tree.insert(anchor, title);
            break;
        case NewNodePlace::LastSibling:
            node = tree.add(anchor, title);
            break;
        case NewNodePlace::LastChild:
            node = tree.addChild(anchor, title);
            break;
        }
        // Selected before its payload exists: leaving the previous item then stores its text in
        // full, so nothing typed there is lost.
        selectNode(node);
        node->setData(std::make_unique<TNodeData>());
    }
    tree.setNewNodeCounter(tree.NewNodeCounter() + 1);
    markModified();
    Refresh();
}

void TOlvekEngine::DeleteToTrash()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("項目の削除"));
    // A root is never deleted.
    if (!available().deleteNode)
        return;
    TTreeNode *selected = m_tree->selectedNode();
    focusTree();
    TDocumentTree &tree = document();
    const int index = selected->absoluteIndex();
    TTreeNode *previous = tree.nodeAt(index - 1);
    selectNode(previous);
    if (followsSelection())
        LoadItem(previous);
    tree.move(selected, tree.TrashNode(), TDocumentTree::MoveMode::AddChild);
    m_tree->collapseNode(tree.TrashNode(), true);
    markModified();
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::CutNode()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("項目の切り取り"));
    // Neither a root nor anything already in the clipboard-storage folder is cut.
    if (!available().cutCopyNode)
        return;
    TTreeNode *selected = m_tree->selectedNode();
    TTreeNode *top = m_tree->topNode();
    focusTree();
    selectNode(document().nodeAt(selected->absoluteIndex() - 1));
    storeInClipFolder(selected, ClipStore::Move, top);
}

void TOlvekEngine::CopyNode()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("項目のコピー"));
    if (!available().cutCopyNode)
        return;
    TTreeNode *selected = m_tree->selectedNode();
    TTreeNode *top = m_tree->topNode();
    focusTree();
    // The editor may hold unstored changes of the item being copied.
    commitSelected();
    storeInClipFolder(selected, ClipStore::Copy, top);
}

void TOlvekEngine::storeInClipFolder(TTreeNode *node, ClipStore how, TTreeNode *top)
{
    // The clipboard-storage folder holds one cut or copied subtree at a time.
    TDocumentTree &tree = document();
    // The first visible item may be the one that goes: the item that takes its row keeps the
    // view where it was.
    if (top && how == ClipStore::Move && top->isInSubtreeOf(node))
        top = afterSubtree(node);
    tree.deleteChildren(tree.ClipFolderNode());
    if (how == ClipStore::Move)
        tree.move(node, tree.ClipFolderNode(), TDocumentTree::MoveMode::AddChild);
    else
        tree.deepCopy(node, tree.ClipFolderNode());
    m_tree->collapseNode(tree.ClipFolderNode(), true);
    markModified();
    m_tree->setTopNode(top);
    Refresh();
}

void TOlvekEngine::PasteNodes()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("項目の貼り付け"));
    // Never into the clipboard-storage folder itself: the copies would be copied again.
    if (!available().pasteNodes)
        return;
    TTreeNode *selected = m_tree->selectedNode();
    TTreeNode *top = m_tree->topNode();
    TDocumentTree &tree = document();
    TTreeNode *clip = tree.ClipFolderNode();
    for (int i = 0; clip && i < clip->childCount(); ++i)
        tree.deepCopy(clip->child(i), selected);
    m_tree->expandNode(selected, true);
    m_tree->setTopNode(top);
    markModified();
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::MoveUp()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("一つ前へ移動"));
    TTreeNode *selected = m_tree->selectedNode();
    if (!TTreeCommandAvailability::of(document(), selected).moveUp)
        return;
    commitSelected();
    TTreeNode *previous = selected->prevSibling();
    if (!previous)
        return;
    focusTree();
    document().move(selected, previous, TDocumentTree::MoveMode::Insert);
    markModified();
    Refresh();
}

void TOlvekEngine::MoveDown()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("一つ後ろへ移動"));
    TTreeNode *selected = m_tree->selectedNode();
    if (!TTreeCommandAvailability::of(document(), selected).moveDown)
        return;
    commitSelected();
    focusTree();
    TTreeNode *next = selected->nextSibling();
    TTreeNode *afterNext = next ? next->nextSibling() : nullptr;
    if (afterNext)
        document().move(selected, afterNext, TDocumentTree::MoveMode::Insert);
    else
        document().move(selected, selected->parent(), TDocumentTree::MoveMode::AddChild);
    markModified();
    Refresh();
}

void TOlvekEngine::MoveLeft()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("階層を上げる"));
    TTreeNode *selected = m_tree->selectedNode();
    if (!TTreeCommandAvailability::of(document(), selected).moveLeft)
        return;
    TTreeUpdateGuard suspended(m_tree);
    commitSelected();
    if (selected->level() <= 1)
        return;
    focusTree();
    document().move(selected, selected->parent(), TDocumentTree::MoveMode::Insert);
    Refresh();
    if (selected->nextSibling())
        MoveDown();
    markModified();
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::MoveRight()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("階層を下げる"));
    TTreeNode *selected = m_tree->selectedNode();
    // The level limit is not part of this test: demoting an item at the deepest level explains
    // itself with a message instead of doing nothing.
    if (!selected || selected->level() == 0 || !selected->prevSibling())
        return;
    commitSelected();
    TTreeNode *previous = selected->prevSibling();
    if (TDocumentTree::isAtLevelLimit(selected)) {
        TPrompt::current().showMessage(QStringLiteral("これ以上下の階層には移動できません"));
        return;
    }
    focusTree();
    document().move(selected, previous, TDocumentTree::MoveMode::AddChild);
    // The item stays selected, so its new parent shows it.
    m_tree->expandNode(previous);
    m_tree->scrollTo(m_tree->documentModel()->indexOf(selected));
    markModified();
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::EmptyTrash()
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("ゴミ箱を空にする"));
    TDocumentTree &tree = document();
    TTreeNode *trash = tree.TrashNode();
    if (!trash)
        return;
    TTreeNode *selected = m_tree->selectedNode();
    if (selected && selected != trash && selected->isInSubtreeOf(trash))
        selectNode(trash);
    tree.deleteChildren(trash);
    markModified();
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::UndoTree()
{
    replayTree(true);
}

void TOlvekEngine::RedoTree()
{
    replayTree(false);
}

void TOlvekEngine::replayTree(bool undo)
{
    TTreeHistory *history = m_tree->history();
    if (undo ? !history->canUndo() : !history->canRedo())
        return;
    // The editor's unstored text belongs to the item it shows, which the entry may take away.
    commitSelected();
    if (undo)
        history->undo();
    else
        history->redo();
    // The editor and the title box show the item selected now, as they stand now.
    m_tree->completePendingChange();
    TTreeNode *selected = m_tree->selectedNode();
    if (selected && followsSelection() && EditorItem() != selected) {
        LoadItem(selected);
    } else if (selected && m_controls.eTitle && m_controls.eTitle->text() != selected->title()) {
        TFlagScope busy(m_busy);
        m_controls.eTitle->setText(selected->title());
    }
    markModified();
    ComputeDeepestLevel();
    Refresh();
}

void TOlvekEngine::MakeNodesFromLines(TTreeNode *target)
{
    TTreeHistory::Step step(m_tree->history(), QStringLiteral("行から項目を作成"));
    TOlvekEditor *lines = m_controls.Editor2;
    if (!target || !lines)
        return;
    if (TDocumentTree::isAtLevelLimit(target)) {
        TPrompt::current().showMessage(QStringLiteral("これ以上下の階層はつくれません"));
        return;
    }
    lines->setWordWrap(false);
    commitSelected();
    TDocumentTree &tree = document();
    QStringList titles = lines->lines();
    // A line break after the last title ends that line; it does not begin an item of its own.
    if (titles.size() > 1 && titles.last().isEmpty())
        titles.removeLast();
    for (const QString &title : std::as_const(titles)) {
        TTreeNode *node = tree.addChild(target, title);
        selectNode(node);
        node->setData(std::make_unique<TNodeData>());
        // The emptied editor now holds the new item.
        if (followsSelection())
            LoadItem(node);
        tree.setNewNodeCounter(tree.NewNodeCounter() + 1);
        markModified();
    }
    ComputeDeepestLevel();
    Refresh();
    lines->clearAll();
    if (m_controls.PageControl1 && m_controls.TabSheet1)
        m_controls.PageControl1->setCurrentWidget(m_controls.TabSheet1);
    lines->setWordWrap(true);
}

void TOlvekEngine::ComputeDeepestLevel()
{
    int deepest = 0;
    for (TTreeNode *n = document().first(); n; n = n->next())
        deepest = std::max(deepest, n->level());
    m_deepestLevel = deepest;
}

void TOlvekEngine::Commit(TTreeNode *item, bool forced)
{
    if (m_storeLocked)
        return;
    if (m_editorSerial != 0) {
        item = EditorItem();
        // The editor's item is gone: its text has no place to go.
        if (!item)
            return;
    }
    if (item && document().isFolderRoot(item))
        return;
    if (!forced) {
        if (item && item->data()) {
            TNodeData *data = item->data();
            data->SelStart = m_editor->selStart();
            data->SelLength = m_editor->selLength();
            data->TopLine = m_editor->topLine();
        }
        return;
    }
    TFlagScope busy(m_busy);
    // The item gets new lines: the loaded ones need not live on for a comparison.
    m_loadedLines.clear();
    auto data = std::make_unique<TNodeData>();
    data->SelStart = m_editor->selStart();
    data->SelLength = m_editor->selLength();
    data->TopLine = m_editor->topLine();
    // Reading the lines leaves the editor's layout alone, so a long wrapped body is not
    // re-wrapped for the copy.
    if (m_editor->lineCount() > 0)
        data->Lines = m_editor->lines();
    if (item) {
        const bool hasText = !data->Lines.isEmpty();
        const QString firstLine = hasText ? trimControlChars(data->Lines.first()) : QString();
        item->setData(std::move(data));
        if (hasText && TDocumentTree::isUntitled(item->title()) && !firstLine.isEmpty())
            item->setTitle(firstLine.left(TitleFromBodyLength));
    }
    markModified();
    m_editor->setModified(false);
}

void TOlvekEngine::LoadItem(TTreeNode *item)
{
    TFlagScope busy(m_busy);
    m_editorSerial = item ? item->serial() : 0;
    m_loadedLines.clear();
    if (item && item->data()) {
        const TNodeData *data = item->data();
        m_loadedLines = data->Lines;
        m_editor->setLines(data->Lines);
        if (m_replaceDialogShowing) {
            m_editor->setSelStart(0);
        } else {
            m_editor->setSelStart(data->SelStart);
            m_editor->setSelLength(data->SelLength);
        }
        m_editor->setTopLine(data->TopLine);
    } else {
        m_editor->clearAll();
    }
    m_editor->setModified(false);
    if (m_controls.eTitle)
        m_controls.eTitle->setText(item ? item->title() : QString());
    // The caret panel shows where the caret of this item is, not the last one's.
    ShowCaretPosition();
}

bool TOlvekEngine::HoldsUnchanged(const TTreeNode *item) const
{
    // While detached, the editor belongs to the text mode, whatever it held before.
    return item && item->data() && isAttached() && item->serial() == m_editorSerial
           && !m_editor->isModified() && item->data()->Lines.isSharedWith(m_loadedLines);
}

TTreeNode *TOlvekEngine::EditorItem() const
{
    return m_editorSerial != 0 ? document().nodeBySerial(m_editorSerial) : nullptr;
}

void TOlvekEngine::ResetDocument()
{
    // The editor's item goes with the old tree; the new document's first load ties it again.
    m_editorSerial = 0;
    m_loadedLines.clear();
    document().createRootFolders();
    if (m_controls.PageControl1)
        m_controls.PageControl1->setCurrentIndex(0);
}

void TOlvekEngine::RecordJump()
{
    TTreeNode *selected = m_tree->selectedNode();
    if (!selected)
        return;
    m_jumpHistory.record(document(), selected);
    rebuildJumpMenu();
}

void TOlvekEngine::ClearJumps()
{
    m_jumpHistory.clear();
    rebuildJumpMenu();
}

void TOlvekEngine::JumpTo(int menuPosition)
{
    const QList<TTreeNode *> nodes = m_jumpHistory.nodes(document());
    const int entry = menuPosition - JumpMenuFixedEntries;
    if (entry < 0 || entry >= nodes.size() || !nodes[entry])
        return;
    m_tree->setSelectedNode(nodes[entry]);
}

void TOlvekEngine::rebuildJumpMenu()
{
    QMenu *menu = m_controls.pmJump;
    if (!menu)
        return;
    const QList<QAction *> entries = menu->actions();
    for (int i = JumpMenuFixedEntries; i < entries.size(); ++i) {
        menu->removeAction(entries[i]);
        if (entries[i]->parent() == menu)
            delete entries[i];
    }
    const QList<TTreeNode *> nodes = m_jumpHistory.nodes(document());
    for (int i = 0; i < nodes.size(); ++i) {
        if (!nodes[i])
            continue;
        const int position = int(menu->actions().size());
        QAction *entry = menu->addAction(nodes[i]->title());
        connect(entry, &QAction::triggered, this, [this, position] { JumpTo(position); });
    }
}

TTreeCommandAvailability TOlvekEngine::available() const
{
    return TTreeCommandAvailability::of(document(), m_tree->selectedNode());
}

void TOlvekEngine::focusTree()
{
    if (!m_tree->hasFocus())
        m_tree->setFocus();
}

void TOlvekEngine::markModified()
{
    if (m_state)
        m_state->setModified(true);
}

void TOlvekEngine::selectNode(TTreeNode *node)
{
    m_tree->setSelectedNode(node);
}

void TOlvekEngine::commitSelected()
{
    TTreeNode *selected = m_tree->selectedNode();
    if (selected && !document().isFolderRoot(selected))
        Commit(selected, m_editor->isModified());
}
