#pragma once

#include <QSet>
#include <QtGlobal>

class TDocumentTree;

// What a step names besides the values it sets: the items it inserts, moves or takes out (with
// everything below an item it holds out of the tree), and the parents whose rows it changes.
struct TTreeStepNames
{
    QSet<quint64> items;
    QSet<quint64> parents;
};

// One structural change of a TDocumentTree, kept so that it can be taken back and made again.
// Steps name items by serial (0 for the top level): the items they name come back with their
// serials, so a step stays valid whatever later steps undid and redid before it.
class TTreeStep
{
public:
    virtual ~TTreeStep() = default;
    virtual void undo(TDocumentTree &tree) = 0;
    virtual void redo(TDocumentTree &tree) = 0;
    virtual void addNames(TTreeStepNames &names) const = 0;
};
