#pragma once

#include "TreeStep.h"

#include <QtGlobal>

// An item moved with its subtree from one place to another; a place is a parent's serial and the
// item's row among that parent's children.
class TNodeMoveStep : public TTreeStep
{
public:
    struct Place
    {
        quint64 parentSerial = 0;
        int row = 0;
    };

    TNodeMoveStep(quint64 serial, Place from, Place to);

    void undo(TDocumentTree &tree) override;
    void redo(TDocumentTree &tree) override;
    void addNames(TTreeStepNames &names) const override;

private:
    void moveTo(TDocumentTree &tree, Place place) const;

    quint64 m_serial;
    Place m_from;
    Place m_to;
};
