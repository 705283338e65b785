#include "TreeChange.h"

#include "DocumentTree.h"

TTreeChange::TTreeChange() = default;
TTreeChange::~TTreeChange() = default;

bool TTreeChange::isEmpty() const
{
    return m_steps.empty() && m_titlesBefore.isEmpty() && m_expandedBefore.isEmpty() && !m_counterBefore;
}

bool TTreeChange::changesOnlyTitles() const
{
    return m_steps.empty() && m_expandedBefore.isEmpty() && !m_counterBefore && !m_titlesBefore.isEmpty();
}

void TTreeChange::mergeTitles(const TTreeChange &later)
{
    for (auto it = later.m_titlesBefore.cbegin(); it != later.m_titlesBefore.cend(); ++it) {
        if (!m_titlesBefore.contains(it.key()))
            m_titlesBefore.insert(it.key(), it.value());
    }
    for (auto it = later.m_titlesAfter.cbegin(); it != later.m_titlesAfter.cend(); ++it)
        m_titlesAfter.insert(it.key(), it.value());
}

TTreeStepNames TTreeChange::names() const
{
    TTreeStepNames names;
    for (const auto &step : m_steps)
        step->addNames(names);
    return names;
}

bool TTreeChange::touches(const TTreeStepNames &other) const
{
    const TTreeStepNames own = names();
    return own.items.intersects(other.items) || own.parents.intersects(other.parents);
}

void TTreeChange::undoSteps(TDocumentTree &tree)
{
    for (auto it = m_steps.rbegin(); it != m_steps.rend(); ++it)
        (*it)->undo(tree);
}

void TTreeChange::redoSteps(TDocumentTree &tree)
{
    for (auto &step : m_steps)
        step->redo(tree);
}

void TTreeChange::applyValues(TDocumentTree &tree, Side side) const
{
    const bool before = side == Side::Before;
    const QHash<quint64, QString> &titles = before ? m_titlesBefore : m_titlesAfter;
    for (auto it = titles.cbegin(); it != titles.cend(); ++it) {
        if (TTreeNode *node = tree.nodeBySerial(it.key()))
            node->setTitle(it.value());
    }
    const QHash<quint64, bool> &expanded = before ? m_expandedBefore : m_expandedAfter;
    for (auto it = expanded.cbegin(); it != expanded.cend(); ++it) {
        if (TTreeNode *node = tree.nodeBySerial(it.key()))
            node->setExpanded(it.value());
    }
    if (m_counterBefore)
        tree.setNewNodeCounter(before ? *m_counterBefore : m_counterAfter);
}

void TTreeChange::noteValuesAfter(const TDocumentTree &tree)
{
    // An item that is out of the tree now (removed by the command) needs no value after: redoing
    // takes it out again.
    for (auto it = m_titlesBefore.begin(); it != m_titlesBefore.end();) {
        const TTreeNode *node = tree.nodeBySerial(it.key());
        if (node && node->title() == it.value()) {
            it = m_titlesBefore.erase(it);
            continue;
        }
        if (node)
            m_titlesAfter.insert(it.key(), node->title());
        ++it;
    }
    for (auto it = m_expandedBefore.begin(); it != m_expandedBefore.end();) {
        const TTreeNode *node = tree.nodeBySerial(it.key());
        if (node && node->isExpanded() == it.value()) {
            it = m_expandedBefore.erase(it);
            continue;
        }
        if (node)
            m_expandedAfter.insert(it.key(), node->isExpanded());
        ++it;
    }
    if (m_counterBefore && *m_counterBefore == tree.NewNodeCounter())
        m_counterBefore.reset();
    m_counterAfter = tree.NewNodeCounter();
}
