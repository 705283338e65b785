#pragma once

class TTreeNode;

// Told about every structural change of a TDocumentTree, before and after it happens.
// A parent of nullptr means the top level. The document model implements this to keep views in step.
class TTreeObserver
{
public:
    virtual ~TTreeObserver() = default;

    virtual void beginInsertNodes(TTreeNode *parent, int first, int last) = 0;
    virtual void endInsertNodes() = 0;
    virtual void beginRemoveNodes(TTreeNode *parent, int first, int last) = 0;
    virtual void endRemoveNodes() = 0;
    // destinationRow counts in the destination's children before the node is taken out.
    virtual void beginMoveNode(TTreeNode *sourceParent, int sourceRow, TTreeNode *destinationParent,
                               int destinationRow) = 0;
    virtual void endMoveNode() = 0;
    virtual void beginResetTree() = 0;
    virtual void endResetTree() = 0;
    virtual void titleChanged(TTreeNode *node) = 0;
    virtual void expandedChanged(TTreeNode *node, bool expanded) = 0;
};
