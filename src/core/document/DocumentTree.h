#pragma once

#include "TreeNode.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

class TTreeChangeRecorder;
class TTreeObserver;

// The document: an ordered forest of items with the four root folders (main title, work folder,
// trash, clipboard storage). Items are addressed by absolute index, their pre-order position.
class TDocumentTree
{
public:
    enum class MoveMode {
        Insert,   // directly before the destination, at its level
        AddChild, // as the destination's last child
        Add,      // as the last sibling of the destination
    };

    static const QString MainTitleCaption;
    static const QString WorkFolderCaption;
    static const QString TrashCaption;
    static const QString ClipFolderCaption;
    static const QString WorkFolderBody;
    static const QString TrashBody;
    static const QString ClipFolderBody;
    // "[タイトル未定] ": a new item's title is this followed by the counter.
    static const QString DefaultTitlePrefix;
    static constexpr int MaxLevel = 16;
    // The tree commands create no child below, and demote no item at, this level or deeper. Deeper
    // items may still exist: a demoted subtree or a loaded file can hold them.
    static bool isAtLevelLimit(const TTreeNode *node) { return node->level() >= MaxLevel; }

    TDocumentTree();
    ~TDocumentTree();
    TDocumentTree(const TDocumentTree &) = delete;
    TDocumentTree &operator=(const TDocumentTree &) = delete;

    // Not owned; told about every structural change.
    void setObserver(TTreeObserver *observer) { m_observer = observer; }
    TTreeObserver *observer() const { return m_observer; }
    // Not owned; when set, it is told about every change in a form that can be undone, and it
    // takes over the items that remove() and deleteChildren() take out.
    void setRecorder(TTreeChangeRecorder *recorder) { m_recorder = recorder; }
    TTreeChangeRecorder *recorder() const { return m_recorder; }

    int topLevelCount() const { return m_root.childCount(); }
    TTreeNode *topLevel(int i) const { return m_root.child(i); }
    TTreeNode *first() const { return m_root.firstChild(); }
    // The number of all nodes.
    int count() const;
    TTreeNode *nodeAt(int absoluteIndex) const;
    // The node with this serial, or null when it is no longer in this tree.
    TTreeNode *nodeBySerial(quint64 serial) const;
    // For a reader that builds a whole tree before anybody looks a node up: the serials are
    // indexed once, at the first nodeBySerial(), instead of node by node as the tree grows.
    void deferSerialIndex() { m_bySerialValid = false; }
    // The direct children of parent, or the top-level nodes for a null parent.
    int childCount(const TTreeNode *parent) const;
    TTreeNode *childAt(const TTreeNode *parent, int row) const;

    // Each creates a node and returns it; data may be null for a caller that attaches it later.
    // A new last sibling of sibling (the last top-level node when sibling is top-level or null).
    TTreeNode *add(TTreeNode *sibling, const QString &title, std::unique_ptr<TNodeData> data = {});
    // A new last child of parent (a new last top-level node for a null parent).
    TTreeNode *addChild(TTreeNode *parent, const QString &title, std::unique_ptr<TNodeData> data = {});
    // A new node directly before sibling.
    TTreeNode *insert(TTreeNode *sibling, const QString &title, std::unique_ptr<TNodeData> data = {});

    // Moves node with its subtree; refuses (returns false) a move into its own subtree.
    bool move(TTreeNode *node, TTreeNode *destination, MoveMode mode);
    // Deletes node with its subtree, releasing their payloads.
    void remove(TTreeNode *node);
    void deleteChildren(TTreeNode *node);
    void clear();
    // Takes every node of other (which is left empty) in place of this tree's nodes, as one reset.
    void replaceContents(TDocumentTree &other);

    // The three operations that undo and redo the ones above, with the items' serials kept.
    // Takes node with its subtree out of the tree and hands it over.
    std::unique_ptr<TTreeNode> detach(TTreeNode *node);
    // Puts a subtree taken out by detach() back as child row of parent (null: the top level).
    TTreeNode *attach(std::unique_ptr<TTreeNode> node, TTreeNode *parent, int row);
    // Moves node so that it becomes child row of parent (null: the top level).
    void moveTo(TTreeNode *node, TTreeNode *parent, int row);

    // Appends a collapsed copy of node's subtree as newParent's last child, with fresh payloads.
    TTreeNode *deepCopy(const TTreeNode *node, TTreeNode *newParent);

    void createRootFolders();
    void establishRootReferences();
    bool isFolderRoot(const TTreeNode *node) const;
    TTreeNode *MainTitleNode() const { return first(); }
    TTreeNode *WorkFolderNode() const { return m_workFolder; }
    TTreeNode *TrashNode() const { return m_trash; }
    TTreeNode *ClipFolderNode() const { return m_clipFolder; }

    int NewNodeCounter() const { return m_newNodeCounter; }
    void setNewNodeCounter(int value);
    // The default title for the counter's current value.
    QString defaultTitle() const;
    static bool isUntitled(const QString &title);

private:
    friend class TTreeNode;
    TTreeNode *parentOrRoot(TTreeNode *parent) { return parent ? parent : &m_root; }
    TTreeNode *insertNode(TTreeNode *parent, int row, const QString &title, std::unique_ptr<TNodeData> data);
    void collapseIfChildless(TTreeNode *node);
    void forgetRootReferencesIn(const TTreeNode *removed);
    void unregisterSubtree(const TTreeNode *node);
    void registerSubtree(TTreeNode *node);
    TTreeNode *shown(TTreeNode *parent) const { return parent == &m_root ? nullptr : parent; }
    void ensurePreorder() const;
    void invalidatePreorder() { m_preorderValid = false; }

    TTreeNode m_root;
    TTreeObserver *m_observer = nullptr;
    TTreeChangeRecorder *m_recorder = nullptr;
    TTreeNode *m_workFolder = nullptr;
    TTreeNode *m_trash = nullptr;
    TTreeNode *m_clipFolder = nullptr;
    int m_newNodeCounter = 0;
    void ensureSerialIndex() const;

    // Valid unless deferred by deferSerialIndex().
    mutable QHash<quint64, TTreeNode *> m_bySerial;
    mutable bool m_bySerialValid = true;
    mutable std::vector<TTreeNode *> m_preorder;
    mutable bool m_preorderValid = true;
};
