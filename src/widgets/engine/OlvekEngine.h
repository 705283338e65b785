#pragma once

#include "CustomOutlineEngine.h"
#include "JumpHistory.h"
#include "OutlineControls.h"

#include <functional>

class TDocumentState;
class TDocumentTree;
class TOlvekTreeView;
class TTreeNode;
struct TTreeCommandAvailability;

// The engine of the outline mode: keeps the body editor and the selected item in step and
// carries out every structural change of the tree that the user asks for.
class TOlvekEngine : public TCustomOutlineEngine
{
    Q_OBJECT
public:
    static constexpr int JumpMenuFixedEntries = 4;
    static constexpr int TitleFromBodyLength = 20;

    // Nothing is owned. state receives the modified flag.
    TOlvekEngine(TOlvekEditor *editor, TStatusPanels *statusBar, QObject *mainForm, TOlvekTreeView *tree,
                 const TOutlineControls &controls, TDocumentState *state);

    void EditorKeyDown(QObject *sender, int &key, Qt::KeyboardModifiers shift) override;
    void EditorKeyUp(QObject *sender, int &key, Qt::KeyboardModifiers shift) override;
    void EditorEnter(QObject *sender) override;
    void EditorExit(QObject *sender) override;
    void EditorChange(QObject *sender) override;
    // Runs the command refresh the owner installed.
    void Refresh() override;
    void setRefreshHandler(std::function<void()> handler) { m_refreshHandler = std::move(handler); }

    void ShowCaretPosition();
    void InsertBefore();
    void AddAfter();
    void AddChild();
    void DeleteToTrash();
    void CutNode();
    void CopyNode();
    void PasteNodes();
    void MoveUp();
    void MoveDown();
    void MoveLeft();
    void MoveRight();
    void EmptyTrash();
    // Take back, or make again, the last tree change in the tree's undo history.
    void UndoTree();
    void RedoTree();
    void MakeNodesFromLines(TTreeNode *target);
    void ComputeDeepestLevel();
    // Stores the editor into the item whose text it holds (the one last loaded), whatever item
    // the caller names: the tree may already select another item while its delay runs. item is
    // used only while the editor is tied to no item (a new document before its first load).
    void Commit(TTreeNode *item, bool forced);
    // Shows item in the editor and ties the editor to it.
    void LoadItem(TTreeNode *item);
    // Whether the editor shows item exactly as LoadItem left it: tied to it, not edited since,
    // and the item's lines are still the ones loaded. Loading it again would change nothing.
    bool HoldsUnchanged(const TTreeNode *item) const;
    // The item whose text the editor holds; null when it is tied to none or that item is gone.
    TTreeNode *EditorItem() const;
    void ResetDocument();
    void RecordJump();
    void ClearJumps();
    // Selects the history entry shown at this position of the jump menu.
    void JumpTo(int menuPosition);

    TOlvekTreeView *Tree() const { return m_tree; }
    TDocumentTree &document() const;
    const TOutlineControls &controls() const { return m_controls; }
    const TJumpHistory &JumpHistory() const { return m_jumpHistory; }

    bool Busy() const { return m_busy; }
    void setBusy(bool busy) { m_busy = busy; }
    bool StoreLocked() const { return m_storeLocked; }
    void setStoreLocked(bool locked) { m_storeLocked = locked; }
    int DeepestLevel() const { return m_deepestLevel; }
    bool DirectEdit() const { return m_directEdit; }
    void setDirectEdit(bool on) { m_directEdit = on; }
    bool EnableIJKL() const { return m_enableIJKL; }
    void setEnableIJKL(bool on) { m_enableIJKL = on; }
    int JumpHistoryMax() const { return m_jumpHistory.capacity(); }
    void setJumpHistoryMax(int max) { m_jumpHistory.setCapacity(max); }
    bool DragHighlight() const { return m_dragHighlight; }
    void setDragHighlight(bool on) { m_dragHighlight = on; }
    bool RightWrap() const { return m_rightWrap; }
    void setRightWrap(bool on) { m_rightWrap = on; }
    bool ReplaceDialogShowing() const { return m_replaceDialogShowing; }
    void setReplaceDialogShowing(bool showing) { m_replaceDialogShowing = showing; }
    int NewNodeCounter() const;
    void setNewNodeCounter(int value);

private:
    enum class NewNodePlace { Before, LastSibling, LastChild };
    void createNode(TTreeNode *anchor, NewNodePlace place);
    enum class ClipStore { Move, Copy };
    // Replaces the clipboard-storage folder's content by node (cut) or a copy of it; top is the
    // tree's first visible item to keep.
    void storeInClipFolder(TTreeNode *node, ClipStore how, TTreeNode *top);
    // Which tree commands the item selected now allows.
    TTreeCommandAvailability available() const;
    void focusTree();
    void markModified();
    void selectNode(TTreeNode *node);
    // The editor shows the selected item's body: not while it is locked for another view of the
    // item (the text mode's dotted text), whose owner shows the selection itself.
    bool followsSelection() const { return !m_storeLocked; }
    void commitSelected();
    void replayTree(bool undo);
    void rebuildJumpMenu();

    TOlvekTreeView *m_tree;
    TOutlineControls m_controls;
    TDocumentState *m_state;
    std::function<void()> m_refreshHandler;
    TJumpHistory m_jumpHistory;
    // The item the editor holds, by serial so that a deleted item is never dereferenced; 0 while
    // the editor is tied to none.
    quint64 m_editorSerial = 0;
    // The lines LoadItem gave the editor, sharing their data with the item's: while the item's
    // lines are these very ones, the item has not been given other lines since.
    QStringList m_loadedLines;
    bool m_busy = false;
    bool m_storeLocked = false;
    int m_deepestLevel = 0;
    bool m_directEdit = false;
    bool m_enableIJKL = true;
    bool m_dragHighlight = true;
    bool m_rightWrap = true;
    bool m_replaceDialogShowing = false;
};
