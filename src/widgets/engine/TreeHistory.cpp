#include "TreeHistory.h"

#include "TreeUndoCommand.h"
#include "document/DocumentTree.h"
#include "document/TreeChange.h"

#include <utility>
#include <vector>

TTreeHistory::Step::Step(TTreeHistory *history, const QString &text, quint64 mergeKey)
    : m_history(history && !history->isReplaying() ? history : nullptr)
{
    if (m_history)
        m_history->beginStep(text, mergeKey);
}

TTreeHistory::Step::~Step()
{
    if (m_history)
        m_history->endStep();
}

TTreeHistory::Rebuild::Rebuild(TTreeHistory *history)
    : m_history(history && !history->isReplaying() ? history : nullptr)
{
    if (m_history)
        m_history->m_recorder.begin();
}

TTreeHistory::Rebuild::~Rebuild()
{
    if (m_history)
        m_history->endRebuild();
}

TTreeHistory::TTreeHistory(TDocumentTree &tree, Selection selection)
    : m_tree(tree), m_selection(std::move(selection)), m_recorder(tree)
{
    m_stack.setUndoLimit(Depth);
    // Called for every item a loader adds: clearing an empty stack is skipped.
    m_recorder.setUnrecordedHandler([this] {
        if (m_stack.count() > 0)
            m_stack.clear();
    });
}

TTreeHistory::~TTreeHistory()
{
    // The stack clears itself as it goes; whoever listens may be half torn down already.
    m_stack.blockSignals(true);
}

void TTreeHistory::apply(TTreeChange &change, bool undo, quint64 selectedSerial)
{
    TDocumentTree &tree = m_tree;
    const bool wasReplaying = std::exchange(m_replaying, true);
    // Every item the entry did not expand or collapse keeps its state: the view expands an item
    // that gets children back while it remembers it as expanded, and selecting expands the
    // selected item's ancestors. Items are never recreated, so the pointers stay good: an item
    // the entry takes out lives on in the entry.
    std::vector<std::pair<TTreeNode *, bool>> expanded;
    expanded.reserve(size_t(tree.count()));
    for (TTreeNode *n = tree.first(); n; n = n->next())
        expanded.emplace_back(n, n->isExpanded());
    if (undo)
        m_recorder.undoSteps(change);
    else
        m_recorder.redoSteps(change);
    select(selectedSerial);
    for (const auto &[node, wasExpanded] : expanded) {
        if (node->isExpanded() != wasExpanded && node->tree() == &tree)
            node->setExpanded(wasExpanded);
    }
    change.applyValues(tree, undo ? TTreeChange::Side::Before : TTreeChange::Side::After);
    m_replaying = wasReplaying;
}

void TTreeHistory::beginStep(const QString &text, quint64 mergeKey)
{
    if (!m_recorder.isRecording()) {
        m_stepText = text;
        m_stepMergeKey = mergeKey;
        m_selectionBefore = selectedSerial();
    }
    m_recorder.begin();
}

void TTreeHistory::endStep()
{
    std::unique_ptr<TTreeChange> change = m_recorder.end();
    if (!change)
        return;
    m_stack.push(new TTreeUndoCommand(this, std::move(change), m_stepText, m_stepMergeKey, m_selectionBefore,
                                      selectedSerial()));
}

void TTreeHistory::endRebuild()
{
    // The rebuild itself is no entry: the items it took out go with its change.
    const std::unique_ptr<TTreeChange> rebuilt = m_recorder.end();
    if (!rebuilt || m_stack.count() == 0)
        return;
    const TTreeStepNames names = rebuilt->names();
    for (int i = 0; i < m_stack.count(); ++i) {
        if (static_cast<const TTreeUndoCommand *>(m_stack.command(i))->change().touches(names)) {
            m_stack.clear();
            return;
        }
    }
}

quint64 TTreeHistory::selectedSerial() const
{
    const TTreeNode *node = m_selection.current();
    return node ? node->serial() : 0;
}

void TTreeHistory::select(quint64 serial)
{
    TTreeNode *node = serial != 0 ? m_tree.nodeBySerial(serial) : nullptr;
    if (node && node != m_selection.current())
        m_selection.select(node);
}
