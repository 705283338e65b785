#pragma once

#include <QStringList>

class TDocumentTree;
class TTreeNode;

// A small document written as one entry per item, "depth title" (depth 0 for a child of the
// parent given), each followed by its body lines as "> line".
using TOutlineText = QStringList;

// Builds outline as the last children of parent; returns the first item built.
TTreeNode *buildOutline(TDocumentTree &tree, TTreeNode *parent, const TOutlineText &outline);

// The subtree of item (itself included) in the same form, depth counted from item.
TOutlineText describeOutline(const TTreeNode *item);
