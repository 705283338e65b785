#include "SavedOutline.h"

#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"

QStringList savedOutline(const QString &path)
{
    TDocumentTree tree;
    if (!TDocumentStorage::readDocumentFile(path, tree).ok)
        return {QStringLiteral("unreadable")};
    QStringList items;
    const TTreeNode *root = tree.first();
    for (const TTreeNode *node = root; node && (node == root || node->level() > 0); node = node->next()) {
        items << QStringLiteral("%1 %2: %3")
                     .arg(node->level())
                     .arg(node->title(), node->data() ? node->data()->Lines.join(u'/') : QString());
    }
    return items;
}
