#pragma once

#include "TreeStep.h"

#include <QtGlobal>
#include <memory>

class TTreeNode;

// An item taken out of the tree with its subtree (deleted, or dropped from the clipboard-storage
// folder or the trash). The step keeps the item, payloads and all, so undoing puts back the
// very same item where it was.
class TNodeRemoveStep : public TTreeStep
{
public:
    TNodeRemoveStep(std::unique_ptr<TTreeNode> node, quint64 parentSerial, int row);
    ~TNodeRemoveStep() override;

    void undo(TDocumentTree &tree) override;
    void redo(TDocumentTree &tree) override;
    void addNames(TTreeStepNames &names) const override;

private:
    quint64 m_serial;
    quint64 m_parentSerial;
    int m_row;
    // The item while it is removed.
    std::unique_ptr<TTreeNode> m_held;
};
