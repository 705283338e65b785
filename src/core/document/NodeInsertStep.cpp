#include "NodeInsertStep.h"

#include "DocumentTree.h"
#include "TreeNodeLookup.h"

TNodeInsertStep::TNodeInsertStep(quint64 serial, quint64 parentSerial, int row)
    : m_serial(serial), m_parentSerial(parentSerial), m_row(row)
{
}

TNodeInsertStep::~TNodeInsertStep() = default;

void TNodeInsertStep::undo(TDocumentTree &tree)
{
    if (TTreeNode *node = tree.nodeBySerial(m_serial))
        m_held = tree.detach(node);
}

void TNodeInsertStep::redo(TDocumentTree &tree)
{
    TTreeNode *parent = nullptr;
    if (m_held && TreeNodeLookup::parentBySerial(tree, m_parentSerial, parent))
        tree.attach(std::move(m_held), parent, m_row);
}

void TNodeInsertStep::addNames(TTreeStepNames &names) const
{
    names.items.insert(m_serial);
    names.parents.insert(m_parentSerial);
}
