#include "DocumentCount.h"

#include "DocumentTree.h"

namespace {
// The node after root's subtree in pre-order, or null.
const TTreeNode *subtreeEnd(const TTreeNode *root)
{
    for (const TTreeNode *n = root; n; n = n->parent()) {
        if (const TTreeNode *next = n->nextSibling())
            return next;
    }
    return nullptr;
}

bool sameLines(const QStringList &a, const QStringList &b)
{
    return a.size() == b.size() && (a.isEmpty() || a.constData() == b.constData());
}
} // namespace

void TDocumentCount::refresh(const TDocumentTree &tree)
{
    ++m_generation;
    m_total = {};
    m_recounted = 0;
    const TTreeNode *root = tree.MainTitleNode();
    qsizetype visited = 0;
    if (root) {
        static const QStringList none;
        const TTreeNode *end = subtreeEnd(root);
        for (const TTreeNode *node = root; node && node != end; node = node->next()) {
            const QStringList &lines = node->data() ? node->data()->Lines : none;
            TEntry &entry = m_entries[node->serial()];
            if (entry.seen == 0 || !sameLines(entry.lines, lines)) {
                entry.lines = lines;
                entry.count = TTreeCount::ofItem(TTextCount::ofLines(lines));
                ++m_recounted;
            }
            entry.seen = m_generation;
            m_total += entry.count;
            ++visited;
        }
    }
    if (m_entries.size() == visited)
        return;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->seen != m_generation)
            it = m_entries.erase(it);
        else
            ++it;
    }
}

TTreeCount TDocumentCount::item(const TTreeNode *node) const
{
    if (!node)
        return {};
    const auto it = m_entries.constFind(node->serial());
    return it == m_entries.cend() ? TTreeCount() : it->count;
}

TTreeCount TDocumentCount::subtree(const TTreeNode *root) const
{
    TTreeCount sum;
    if (!root)
        return sum;
    const TTreeNode *end = subtreeEnd(root);
    for (const TTreeNode *node = root; node && node != end; node = node->next())
        sum += item(node);
    return sum;
}
