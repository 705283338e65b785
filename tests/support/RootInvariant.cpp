#include "RootInvariant.h"

#include "document/DocumentTree.h"

TRootInvariant::TRootInvariant(const TDocumentTree &tree) : m_tree(tree)
{
    for (int i = 0; i < tree.topLevelCount(); ++i)
        m_serials << tree.topLevel(i)->serial();
}

QString TRootInvariant::fault() const
{
    if (m_tree.topLevelCount() != 4)
        return QStringLiteral("%1 top-level items").arg(m_tree.topLevelCount());
    for (int i = 0; i < 4; ++i) {
        if (m_tree.topLevel(i)->serial() != m_serials.value(i))
            return QStringLiteral("top-level item %1 is \"%2\", not the root it was").arg(i).arg(m_tree.topLevel(i)->title());
    }
    struct Folder
    {
        const TTreeNode *node;
        int place;
        const QString &title;
        const QString &body;
    };
    const Folder folders[] = {
        {m_tree.WorkFolderNode(), 1, TDocumentTree::WorkFolderCaption, TDocumentTree::WorkFolderBody},
        {m_tree.TrashNode(), 2, TDocumentTree::TrashCaption, TDocumentTree::TrashBody},
        {m_tree.ClipFolderNode(), 3, TDocumentTree::ClipFolderCaption, TDocumentTree::ClipFolderBody},
    };
    for (const Folder &folder : folders) {
        if (folder.node != m_tree.topLevel(folder.place))
            return QStringLiteral("the folder \"%1\" is not top-level item %2").arg(folder.title).arg(folder.place);
        if (folder.node->title() != folder.title)
            return QStringLiteral("the folder \"%1\" is titled \"%2\"").arg(folder.title, folder.node->title());
        if (!folder.node->data() || folder.node->data()->Lines != QStringList{folder.body})
            return QStringLiteral("the folder \"%1\" lost its fixed body").arg(folder.title);
    }
    return {};
}
