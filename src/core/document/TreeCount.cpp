#include "TreeCount.h"

#include "TreeNode.h"

TTreeCount TTreeCount::ofSubtree(const TTreeNode *root,
                                 const std::function<void(const TTreeNode *, const TTextCount &)> &each)
{
    TTreeCount total;
    if (!root)
        return total;
    const TTreeNode *end = nullptr;
    for (const TTreeNode *n = root; n && !end; n = n->parent())
        end = n->nextSibling();
    for (const TTreeNode *node = root; node && node != end; node = node->next()) {
        const TTextCount body = node->data() ? TTextCount::ofLines(node->data()->Lines) : TTextCount();
        if (each)
            each(node, body);
        total += ofItem(body);
    }
    return total;
}

TTreeCount TTreeCount::ofItem(const TTextCount &body)
{
    TTreeCount count;
    count.text = body;
    count.items = 1;
    count.bodies = body.characters > 0 ? 1 : 0;
    return count;
}

TTreeCount &TTreeCount::operator+=(const TTreeCount &other)
{
    text += other.text;
    items += other.items;
    bodies += other.bodies;
    return *this;
}

TTreeCount &TTreeCount::operator-=(const TTreeCount &other)
{
    text.characters -= other.text.characters;
    text.lines -= other.text.lines;
    text.rows -= other.text.rows;
    items -= other.items;
    bodies -= other.bodies;
    return *this;
}
