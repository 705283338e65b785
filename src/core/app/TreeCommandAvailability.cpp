#include "TreeCommandAvailability.h"

#include "document/DocumentTree.h"

TTreeCommandAvailability TTreeCommandAvailability::of(const TDocumentTree &tree, const TTreeNode *selected)
{
    TTreeCommandAvailability a;
    if (!selected)
        return a;
    const int level = selected->level();
    const bool topLevel = level == 0;
    const bool belowMaxLevel = !TDocumentTree::isAtLevelLimit(selected);
    const bool hasPrevious = selected->prevSibling() != nullptr;
    const int index = selected->absoluteIndex();
    const TTreeNode *clip = tree.ClipFolderNode();
    const bool beforeClip = !clip || index < clip->absoluteIndex();

    a.insertNode = !topLevel;
    a.addChildNode = selected != tree.TrashNode() && belowMaxLevel;
    a.deleteNode = !topLevel;
    a.moveRight = !topLevel && hasPrevious && belowMaxLevel;
    a.moveLeft = level > 1;
    a.moveUp = !topLevel && hasPrevious;
    a.moveDown = !topLevel && selected->nextSibling() != nullptr;
    a.modeChange = !tree.isFolderRoot(selected);
    a.cutCopyNode = !tree.isFolderRoot(selected) && index != 0 && beforeClip;
    a.pasteNodes = clip && clip->hasChildren() && beforeClip;
    return a;
}
