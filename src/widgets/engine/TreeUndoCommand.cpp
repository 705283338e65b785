#include "TreeUndoCommand.h"

#include "TreeHistory.h"
#include "document/TreeChange.h"

TTreeUndoCommand::TTreeUndoCommand(TTreeHistory *history, std::unique_ptr<TTreeChange> change, const QString &text,
                                   quint64 mergeKey, quint64 selectionBefore, quint64 selectionAfter)
    : QUndoCommand(text), m_history(history), m_change(std::move(change)), m_mergeKey(mergeKey),
      m_selectionBefore(selectionBefore), m_selectionAfter(selectionAfter)
{
}

TTreeUndoCommand::~TTreeUndoCommand() = default;

void TTreeUndoCommand::undo()
{
    m_history->apply(*m_change, true, m_selectionBefore);
    m_applied = false;
}

void TTreeUndoCommand::redo()
{
    if (m_applied)
        return;
    m_history->apply(*m_change, false, m_selectionAfter);
    m_applied = true;
}

int TTreeUndoCommand::id() const
{
    return m_mergeKey != 0 && m_change->changesOnlyTitles() ? TitleTypingId : -1;
}

bool TTreeUndoCommand::mergeWith(const QUndoCommand *other)
{
    const auto *later = static_cast<const TTreeUndoCommand *>(other);
    if (later->m_mergeKey != m_mergeKey || !later->m_change->changesOnlyTitles())
        return false;
    m_change->mergeTitles(*later->m_change);
    m_selectionAfter = later->m_selectionAfter;
    return true;
}
