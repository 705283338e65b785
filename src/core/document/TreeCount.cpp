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
        total.text += body;
        ++total.items;
    }
    return total;
}
