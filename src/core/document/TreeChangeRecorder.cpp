#include "TreeChangeRecorder.h"

#include "DocumentTree.h"
#include "NodeInsertStep.h"
#include "NodeMoveStep.h"
#include "NodeRemoveStep.h"
#include "TreeChange.h"
#include "TreeNodeLookup.h"

TTreeChangeRecorder::TTreeChangeRecorder(TDocumentTree &tree) : m_tree(tree)
{
    m_tree.setRecorder(this);
}

TTreeChangeRecorder::~TTreeChangeRecorder()
{
    if (m_tree.recorder() == this)
        m_tree.setRecorder(nullptr);
}

void TTreeChangeRecorder::begin()
{
    if (m_depth++ == 0) {
        m_current = std::make_unique<TTreeChange>();
        m_broken = false;
    }
}

std::unique_ptr<TTreeChange> TTreeChangeRecorder::end()
{
    if (m_depth == 0 || --m_depth > 0)
        return nullptr;
    std::unique_ptr<TTreeChange> change = std::move(m_current);
    if (m_broken)
        return nullptr;
    change->noteValuesAfter(m_tree);
    return change->isEmpty() ? nullptr : std::move(change);
}

void TTreeChangeRecorder::undoSteps(TTreeChange &change)
{
    m_tree.setRecorder(nullptr);
    change.undoSteps(m_tree);
    m_tree.setRecorder(this);
}

void TTreeChangeRecorder::redoSteps(TTreeChange &change)
{
    m_tree.setRecorder(nullptr);
    change.redoSteps(m_tree);
    m_tree.setRecorder(this);
}

void TTreeChangeRecorder::nodeInserted(TTreeNode *node)
{
    if (!isRecording())
        return unrecordedChange();
    m_current->m_steps.push_back(std::make_unique<TNodeInsertStep>(
        node->serial(), TreeNodeLookup::parentSerialOf(node->parent()), node->index()));
}

void TTreeChangeRecorder::nodeMoved(TTreeNode *node, TTreeNode *fromParent, int fromRow)
{
    if (!isRecording())
        return unrecordedChange();
    m_current->m_steps.push_back(std::make_unique<TNodeMoveStep>(
        node->serial(), TNodeMoveStep::Place{TreeNodeLookup::parentSerialOf(fromParent), fromRow},
        TNodeMoveStep::Place{TreeNodeLookup::parentSerialOf(node->parent()), node->index()}));
}

void TTreeChangeRecorder::nodeRemoved(std::unique_ptr<TTreeNode> node, TTreeNode *parent, int row)
{
    if (!isRecording())
        return unrecordedChange();
    m_current->m_steps.push_back(
        std::make_unique<TNodeRemoveStep>(std::move(node), TreeNodeLookup::parentSerialOf(parent), row));
}

void TTreeChangeRecorder::titleChanging(TTreeNode *node, const QString &oldTitle)
{
    if (isRecording() && !m_current->m_titlesBefore.contains(node->serial()))
        m_current->m_titlesBefore.insert(node->serial(), oldTitle);
}

void TTreeChangeRecorder::expandedChanging(TTreeNode *node, bool oldExpanded)
{
    if (isRecording() && !m_current->m_expandedBefore.contains(node->serial()))
        m_current->m_expandedBefore.insert(node->serial(), oldExpanded);
}

void TTreeChangeRecorder::counterChanging(int oldValue)
{
    if (isRecording() && !m_current->m_counterBefore)
        m_current->m_counterBefore = oldValue;
}

void TTreeChangeRecorder::treeReset()
{
    if (isRecording())
        m_broken = true;
    unrecordedChange();
}

void TTreeChangeRecorder::unrecordedChange()
{
    if (m_unrecorded)
        m_unrecorded();
}
