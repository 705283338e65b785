#pragma once

#include "TextCount.h"

#include <functional>

class TTreeNode;

// The counts of a subtree: the bodies of its items in tree order, each body starting a new
// manuscript row (not a new page), and the number of items.
class TTreeCount
{
public:
    TTextCount text;
    qint64 items = 0;

    // Calls each(node, count of its body) for every item of the subtree when given.
    static TTreeCount ofSubtree(const TTreeNode *root,
                                const std::function<void(const TTreeNode *, const TTextCount &)> &each = {});
};
