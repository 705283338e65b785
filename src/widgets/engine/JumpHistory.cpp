#include "JumpHistory.h"

#include "document/DocumentTree.h"

void TJumpHistory::record(const TDocumentTree &tree, const TTreeNode *node)
{
    for (int i = int(m_serials.size()) - 1; i >= 0; --i) {
        if (m_serials[i] == node->serial() || !tree.nodeBySerial(m_serials[i]))
            m_serials.removeAt(i);
    }
    while (m_capacity > 0 && m_serials.size() >= m_capacity)
        m_serials.removeAt(m_capacity - 1);
    m_serials.prepend(node->serial());
}

QList<TTreeNode *> TJumpHistory::nodes(const TDocumentTree &tree) const
{
    QList<TTreeNode *> result;
    for (quint64 serial : m_serials)
        result.append(tree.nodeBySerial(serial));
    return result;
}
