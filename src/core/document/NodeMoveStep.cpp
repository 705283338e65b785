#include "NodeMoveStep.h"

#include "DocumentTree.h"
#include "TreeNodeLookup.h"

TNodeMoveStep::TNodeMoveStep(quint64 serial, Place from, Place to) : m_serial(serial), m_from(from), m_to(to)
{
}

void TNodeMoveStep::undo(TDocumentTree &tree)
{
    moveTo(tree, m_from);
}

void TNodeMoveStep::redo(TDocumentTree &tree)
{
    moveTo(tree, m_to);
}

void TNodeMoveStep::moveTo(TDocumentTree &tree, Place place) const
{
    TTreeNode *node = tree.nodeBySerial(m_serial);
    TTreeNode *parent = nullptr;
    if (node && TreeNodeLookup::parentBySerial(tree, place.parentSerial, parent))
        tree.moveTo(node, parent, place.row);
}

void TNodeMoveStep::addNames(TTreeStepNames &names) const
{
    names.items.insert(m_serial);
    names.parents.insert(m_from.parentSerial);
    names.parents.insert(m_to.parentSerial);
}
