#include "OutlineBuilder.h"

#include "document/DocumentTree.h"

#include <vector>

TTreeNode *buildOutline(TDocumentTree &tree, TTreeNode *parent, const TOutlineText &outline)
{
    std::vector<TTreeNode *> path{parent};
    TTreeNode *first = nullptr;
    TTreeNode *last = nullptr;
    for (const QString &entry : outline) {
        if (entry.startsWith(QLatin1String("> "))) {
            last->data()->Lines.append(entry.mid(2));
            continue;
        }
        const qsizetype space = entry.indexOf(u' ');
        const int depth = entry.left(space).toInt();
        path.resize(size_t(depth + 1));
        last = tree.addChild(path.back(), entry.mid(space + 1), std::make_unique<TNodeData>());
        path.push_back(last);
        if (!first)
            first = last;
    }
    return first;
}

TOutlineText describeOutline(const TTreeNode *item)
{
    TOutlineText outline;
    const int base = item->level();
    for (const TTreeNode *n = item; n; n = n->next()) {
        if (n != item && !n->isInSubtreeOf(item))
            break;
        outline.append(QStringLiteral("%1 %2").arg(n->level() - base).arg(n->title()));
        if (n->data()) {
            for (const QString &line : n->data()->Lines)
                outline.append(QStringLiteral("> ") + line);
        }
    }
    return outline;
}
