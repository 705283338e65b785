#include "TreeNode.h"

#include "DocumentTree.h"
#include "TreeChangeRecorder.h"
#include "TreeObserver.h"

TTreeNode::~TTreeNode()
{
    // Tear the subtree down with an explicit stack: a very deep tree would otherwise overflow
    // the call stack through nested destructors.
    std::vector<std::unique_ptr<TTreeNode>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<TTreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto &c : node->m_children)
            pending.push_back(std::move(c));
        node->m_children.clear();
    }
}

void TTreeNode::setTitle(const QString &title)
{
    if (m_title == title)
        return;
    TDocumentTree *owner = tree();
    if (owner && owner->recorder())
        owner->recorder()->titleChanging(this, m_title);
    m_title = title;
    if (owner && owner->observer())
        owner->observer()->titleChanged(this);
}

void TTreeNode::setData(std::unique_ptr<TNodeData> data)
{
    m_data = std::move(data);
}

TTreeNode *TTreeNode::parent() const
{
    return m_parent && m_parent->m_parent ? m_parent : nullptr;
}

int TTreeNode::level() const
{
    int level = 0;
    for (const TTreeNode *p = parent(); p; p = p->parent())
        ++level;
    return level;
}

int TTreeNode::absoluteIndex() const
{
    TDocumentTree *owner = tree();
    if (!owner)
        return -1;
    owner->ensurePreorder();
    return m_absoluteIndex;
}

TTreeNode *TTreeNode::child(int i) const
{
    return i >= 0 && i < childCount() ? m_children[size_t(i)].get() : nullptr;
}

TTreeNode *TTreeNode::prevSibling() const
{
    return m_parent ? m_parent->child(m_row - 1) : nullptr;
}

TTreeNode *TTreeNode::nextSibling() const
{
    return m_parent ? m_parent->child(m_row + 1) : nullptr;
}

TTreeNode *TTreeNode::next() const
{
    if (hasChildren())
        return firstChild();
    for (const TTreeNode *n = this; n && n->m_parent; n = n->m_parent) {
        if (TTreeNode *sibling = n->nextSibling())
            return sibling;
    }
    return nullptr;
}

bool TTreeNode::isInSubtreeOf(const TTreeNode *node) const
{
    for (const TTreeNode *n = this; n; n = n->m_parent) {
        if (n == node)
            return true;
    }
    return false;
}

void TTreeNode::setExpanded(bool expanded, bool recursive)
{
    const bool now = expanded && hasChildren();
    if (m_expanded != now) {
        TDocumentTree *owner = tree();
        if (owner && owner->recorder())
            owner->recorder()->expandedChanging(this, m_expanded);
        m_expanded = now;
        if (owner && owner->observer())
            owner->observer()->expandedChanged(this, now);
    }
    if (recursive) {
        for (auto &c : m_children)
            c->setExpanded(expanded, true);
    }
}

TDocumentTree *TTreeNode::tree() const
{
    const TTreeNode *n = this;
    while (n->m_parent)
        n = n->m_parent;
    return n->m_tree;
}
