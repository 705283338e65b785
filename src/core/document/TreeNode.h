#pragma once

#include "NodeData.h"

#include <QString>
#include <memory>
#include <vector>

class TDocumentTree;

// One item of the document tree. A node owns its payload and its children; structural changes
// go through TDocumentTree so that its observer (the document model) sees them.
class TTreeNode
{
public:
    TTreeNode(const TTreeNode &) = delete;
    TTreeNode &operator=(const TTreeNode &) = delete;
    ~TTreeNode();

    const QString &title() const { return m_title; }
    void setTitle(const QString &title);

    // Null only inside an operation that has just created the node.
    TNodeData *data() const { return m_data.get(); }
    // Takes ownership; the previous payload is released.
    void setData(std::unique_ptr<TNodeData> data);

    // Null for a top-level node.
    TTreeNode *parent() const;
    int level() const;
    int index() const { return m_row; }
    int absoluteIndex() const;

    int childCount() const { return int(m_children.size()); }
    bool hasChildren() const { return !m_children.empty(); }
    TTreeNode *child(int i) const;
    TTreeNode *firstChild() const { return child(0); }
    TTreeNode *lastChild() const { return child(childCount() - 1); }
    TTreeNode *prevSibling() const;
    TTreeNode *nextSibling() const;
    // The node after this one in pre-order, or null at the end.
    TTreeNode *next() const;
    // True when this node lies in the subtree of node (itself included).
    bool isInSubtreeOf(const TTreeNode *node) const;

    // A node without children is never expanded.
    bool isExpanded() const { return m_expanded && hasChildren(); }
    void setExpanded(bool expanded, bool recursive = false);

    TDocumentTree *tree() const;
    // Unique for the program's run: lets lists that outlive items (the jump history) find out
    // whether an item still exists without keeping a pointer to it.
    quint64 serial() const { return m_serial; }

private:
    friend class TDocumentTree;
    TTreeNode() = default;

    QString m_title;
    std::unique_ptr<TNodeData> m_data;
    // For a top-level node this is the tree's hidden root, which parent() does not show.
    TTreeNode *m_parent = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> m_children;
    int m_row = 0;
    quint64 m_serial = 0;
    mutable int m_absoluteIndex = 0;
    bool m_expanded = false;
    // Set on the hidden root only.
    TDocumentTree *m_tree = nullptr;
};
