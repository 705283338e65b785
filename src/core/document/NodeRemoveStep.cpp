#include "NodeRemoveStep.h"

#include "DocumentTree.h"
#include "TreeNodeLookup.h"
#include "TreeNode.h"

TNodeRemoveStep::TNodeRemoveStep(std::unique_ptr<TTreeNode> node, quint64 parentSerial, int row)
    : m_serial(node->serial()), m_parentSerial(parentSerial), m_row(row), m_held(std::move(node))
{
}

TNodeRemoveStep::~TNodeRemoveStep() = default;

void TNodeRemoveStep::undo(TDocumentTree &tree)
{
    TTreeNode *parent = nullptr;
    if (m_held && TreeNodeLookup::parentBySerial(tree, m_parentSerial, parent))
        tree.attach(std::move(m_held), parent, m_row);
}

void TNodeRemoveStep::redo(TDocumentTree &tree)
{
    if (TTreeNode *node = tree.nodeBySerial(m_serial))
        m_held = tree.detach(node);
}

void TNodeRemoveStep::addNames(TTreeStepNames &names) const
{
    names.items.insert(m_serial);
    names.parents.insert(m_parentSerial);
    for (const TTreeNode *n = m_held ? m_held->next() : nullptr; n && n->isInSubtreeOf(m_held.get()); n = n->next())
        names.items.insert(n->serial());
}
