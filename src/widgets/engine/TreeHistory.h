#pragma once

#include "document/TreeChangeRecorder.h"

#include <QUndoStack>

#include <functional>

class TDocumentTree;
class TTreeChange;
class TTreeNode;

// The undo history of the tree commands: each command that changes the tree's items (their
// places, titles, expanded states) becomes one entry. Undoing an entry puts the tree, and the
// selected item, back as they were before the command; redoing makes the command's result again.
// Owned by the tree view whose tree it records (the tree must outlive it); it knows the view only
// through the selection it is given. A change made outside any command step (a new or opened
// document) clears it; a rebuild (the text mode's text going back into the tree) clears it only
// when an entry depends on what the rebuild replaced.
class TTreeHistory
{
public:
    static constexpr int Depth = 100;

    // Records the changes that the tree commands make while it lives, as one entry named text.
    // Steps nest: the outermost one makes the entry. Typing on in one item's title is one entry:
    // steps with the same nonzero mergeKey that change only titles join the entry before.
    class Step
    {
    public:
        Step(TTreeHistory *history, const QString &text, quint64 mergeKey = 0);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        TTreeHistory *m_history;
    };

    // Rebuilds one item's subtree outside the commands while it lives (the text mode's text going
    // back into the tree). The entries stay as long as none of them names an item the rebuild took
    // out or made, or changes the rows of a parent whose children it changed: so the writer can
    // still undo a tree command after typing in the text mode. Otherwise the history is cleared.
    // Inside a step, the rebuild is part of that step's entry.
    class Rebuild
    {
    public:
        explicit Rebuild(TTreeHistory *history);
        ~Rebuild();
        Rebuild(const Rebuild &) = delete;
        Rebuild &operator=(const Rebuild &) = delete;

    private:
        TTreeHistory *m_history;
    };

    // How the history reads the selected item of the tree's view and selects another.
    struct Selection
    {
        std::function<TTreeNode *()> current;
        std::function<void(TTreeNode *)> select;
    };

    TTreeHistory(TDocumentTree &tree, Selection selection);
    ~TTreeHistory();
    TTreeHistory(const TTreeHistory &) = delete;
    TTreeHistory &operator=(const TTreeHistory &) = delete;

    QUndoStack *stack() { return &m_stack; }
    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }
    void clear() { m_stack.clear(); }
    // True while an entry is being undone or redone.
    bool isReplaying() const { return m_replaying; }

    // For the entries: take change back (or make it again) and select the item with this serial.
    void apply(TTreeChange &change, bool undo, quint64 selectedSerial);

private:
    void beginStep(const QString &text, quint64 mergeKey);
    void endStep();
    void endRebuild();
    quint64 selectedSerial() const;
    void select(quint64 serial);

    TDocumentTree &m_tree;
    Selection m_selection;
    TTreeChangeRecorder m_recorder;
    QUndoStack m_stack;
    bool m_replaying = false;
    QString m_stepText;
    quint64 m_stepMergeKey = 0;
    quint64 m_selectionBefore = 0;
};
