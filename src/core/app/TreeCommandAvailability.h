#pragma once

class TDocumentTree;
class TTreeNode;

// Which tree commands the selected item allows. The command refresh shows this on the actions,
// and the engine's move operations test it before they act.
struct TTreeCommandAvailability
{
    bool insertNode = false;   // also add after
    bool addChildNode = false;
    bool deleteNode = false;
    bool moveRight = false;
    bool moveLeft = false;
    bool moveUp = false;
    bool moveDown = false;
    bool modeChange = false;
    // The edit commands while the tree has the focus.
    bool cutCopyNode = false;
    bool pasteNodes = false;

    static TTreeCommandAvailability of(const TDocumentTree &tree, const TTreeNode *selected);
};
