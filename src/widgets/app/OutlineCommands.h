#pragma once

#include <functional>

class QWidget;
class TModeController;
class TOlvekEngine;
class TTreeNode;

// The handlers of the Edit and Tree menus' commands: each acts on the focused control or the
// selected item and asks first where the command is destructive.
class TOutlineCommands
{
public:
    // Not owned.
    explicit TOutlineCommands(TOlvekEngine *engine) : m_engine(engine) {}
    // Runs every command that changes the tree, so the text mode can bring the tree up to date
    // first and show the result. Not owned.
    void setModes(TModeController *modes) { m_modes = modes; }

    void EditCut1();
    void EditCopy1();
    void EditPaste1();
    void EditSelectAll1();
    void EditUndo1();
    void EditRedo1();
    void EditDelete();

    void TreeInsertNode();
    void TreeAddNode();
    void TreeAddChildNode();
    void TreeDeleteNode();
    void TreeNodeMoveLeft();
    void TreeNodeMoveRight();
    void TreeNodeMoveUp();
    void TreeNodeMoveDown();
    void TreeClearTrash();
    void TreeAllNodeOpen();
    void TreeAllNodeClose();
    void TreeMakeNodeToMainFolder();
    void TreeMakeNodeToCurrentNode();
    void TreeMakeNodeToWorkFolder();

private:
    // The control the edit commands act on: the focused widget of the active window.
    static QWidget *focusedControl();
    bool treeFocused() const;
    void makeNodes(TTreeNode *target);
    void runOnTree(const std::function<void()> &command);

    TOlvekEngine *m_engine;
    TModeController *m_modes = nullptr;
};
