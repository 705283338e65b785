#pragma once

#include <QUndoCommand>
#include <memory>

class TTreeChange;
class TTreeHistory;

// One entry of the tree's undo history: the change one tree command made, with the item selected
// before and after it. The command has already run when the entry is made, so the first redo
// (which QUndoStack::push asks for) does nothing.
class TTreeUndoCommand : public QUndoCommand
{
public:
    // Entries that may join others have this id.
    static constexpr int TitleTypingId = 1;

    TTreeUndoCommand(TTreeHistory *history, std::unique_ptr<TTreeChange> change, const QString &text,
                     quint64 mergeKey, quint64 selectionBefore, quint64 selectionAfter);
    ~TTreeUndoCommand() override;

    const TTreeChange &change() const { return *m_change; }

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    TTreeHistory *m_history; // owns the stack that owns this entry
    std::unique_ptr<TTreeChange> m_change;
    quint64 m_mergeKey;
    quint64 m_selectionBefore;
    quint64 m_selectionAfter;
    bool m_applied = true;
};
