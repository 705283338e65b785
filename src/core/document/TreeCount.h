#pragma once

#include "TextCount.h"

#include <functional>

class TTreeNode;

// The counts of a subtree: the bodies of its items in tree order, each body starting a new
// manuscript row (not a new page), the number of items, and how many of them have a body with
// at least one character.
class TTreeCount
{
public:
    TTextCount text;
    qint64 items = 0;
    qint64 bodies = 0;

    TTreeCount &operator+=(const TTreeCount &other);
    TTreeCount &operator-=(const TTreeCount &other);
    // One item whose body counts as body.
    static TTreeCount ofItem(const TTextCount &body);

    // Calls each(node, count of its body) for every item of the subtree when given.
    static TTreeCount ofSubtree(const TTreeNode *root,
                                const std::function<void(const TTreeNode *, const TTextCount &)> &each = {});
};
