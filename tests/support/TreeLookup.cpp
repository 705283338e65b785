#include "TreeLookup.h"

#include "document/DocumentTree.h"

TTreeNode *titled(const TDocumentTree &tree, const QString &title)
{
    for (TTreeNode *n = tree.first(); n; n = n->next()) {
        if (n->title() == title)
            return n;
    }
    return nullptr;
}
