#pragma once

class TDocumentTree;

// One structural change of a TDocumentTree, kept so that it can be taken back and made again.
// Steps name items by serial (0 for the top level): the items they name come back with their
// serials, so a step stays valid whatever later steps undid and redid before it.
class TTreeStep
{
public:
    virtual ~TTreeStep() = default;
    virtual void undo(TDocumentTree &tree) = 0;
    virtual void redo(TDocumentTree &tree) = 0;
};
