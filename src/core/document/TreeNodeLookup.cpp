#include "TreeNodeLookup.h"

#include "DocumentTree.h"

namespace TreeNodeLookup {
quint64 parentSerialOf(const TTreeNode *parent)
{
    return parent ? parent->serial() : 0;
}

bool parentBySerial(const TDocumentTree &tree, quint64 serial, TTreeNode *&parent)
{
    parent = serial == 0 ? nullptr : tree.nodeBySerial(serial);
    return serial == 0 || parent;
}
} // namespace TreeNodeLookup
