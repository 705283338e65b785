#pragma once

#include <QList>

class TDocumentTree;
class TTreeNode;

// The recently edited items, most recent first. Items are remembered by serial, so an entry
// whose item has been deleted is never dereferenced: it is simply no longer found in the tree.
class TJumpHistory
{
public:
    int capacity() const { return m_capacity; }
    void setCapacity(int capacity) { m_capacity = capacity; }

    // Puts node at the top, dropping its older entry, entries of deleted items, and the entries
    // beyond capacity - 1 first, so at most capacity entries remain.
    void record(const TDocumentTree &tree, const TTreeNode *node);
    void clear() { m_serials.clear(); }
    // The entries' items, in order; null for an entry whose item no longer exists.
    QList<TTreeNode *> nodes(const TDocumentTree &tree) const;
    int size() const { return int(m_serials.size()); }

private:
    QList<quint64> m_serials;
    int m_capacity = 5;
};
