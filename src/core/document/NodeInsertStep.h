#pragma once

#include "TreeStep.h"

#include <QtGlobal>
#include <memory>

class TTreeNode;

// An item created as child row of a parent. Undoing it takes the item (with anything that was
// put below it since) out and keeps it, so redoing puts back the very same item.
class TNodeInsertStep : public TTreeStep
{
public:
    TNodeInsertStep(quint64 serial, quint64 parentSerial, int row);
    ~TNodeInsertStep() override;

    void undo(TDocumentTree &tree) override;
    void redo(TDocumentTree &tree) override;
    void addNames(TTreeStepNames &names) const override;

private:
    quint64 m_serial;
    quint64 m_parentSerial;
    int m_row;
    // The item while it is undone.
    std::unique_ptr<TTreeNode> m_held;
};
