#pragma once

#include <QtGlobal>

class TDocumentTree;
class TTreeNode;

namespace TreeNodeLookup {
// The serial that names node as a parent: 0 for the top level.
quint64 parentSerialOf(const TTreeNode *parent);
// Sets parent to the item with this serial (null for 0, the top level); false when that item is
// not in the tree.
bool parentBySerial(const TDocumentTree &tree, quint64 serial, TTreeNode *&parent);
} // namespace TreeNodeLookup
