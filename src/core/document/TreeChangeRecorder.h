#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

class TDocumentTree;
class TTreeChange;
class TTreeNode;

// Writes down what a command changes in a document tree, so that it can be undone: installed on
// the tree (which tells it about every change), it collects one TTreeChange between begin() and
// end(). While it records, the items the tree takes out are handed to the change instead of
// being destroyed. A structural change while nothing is recorded makes every recorded change
// unusable: the handler set with setUnrecordedHandler() hears of it (and of a reset of the tree,
// a new or opened document).
class TTreeChangeRecorder
{
public:
    // Installs itself on tree, which must outlive it.
    explicit TTreeChangeRecorder(TDocumentTree &tree);
    ~TTreeChangeRecorder();
    TTreeChangeRecorder(const TTreeChangeRecorder &) = delete;
    TTreeChangeRecorder &operator=(const TTreeChangeRecorder &) = delete;

    void setUnrecordedHandler(std::function<void()> handler) { m_unrecorded = std::move(handler); }

    // Recordings nest: only the outermost end() returns the change, null when nothing changed or
    // the tree was reset meanwhile.
    void begin();
    std::unique_ptr<TTreeChange> end();
    bool isRecording() const { return m_depth > 0; }

    // Take a recorded change back and make it again; the tree reports nothing meanwhile.
    void undoSteps(TTreeChange &change);
    void redoSteps(TTreeChange &change);

    // Told by the tree.
    void nodeInserted(TTreeNode *node);
    void nodeMoved(TTreeNode *node, TTreeNode *fromParent, int fromRow);
    void nodeRemoved(std::unique_ptr<TTreeNode> node, TTreeNode *parent, int row);
    void titleChanging(TTreeNode *node, const QString &oldTitle);
    void expandedChanging(TTreeNode *node, bool oldExpanded);
    void counterChanging(int oldValue);
    void treeReset();

private:
    void unrecordedChange();

    TDocumentTree &m_tree;
    int m_depth = 0;
    std::unique_ptr<TTreeChange> m_current;
    // The tree was reset while recording: what was recorded cannot be undone.
    bool m_broken = false;
    std::function<void()> m_unrecorded;
};
