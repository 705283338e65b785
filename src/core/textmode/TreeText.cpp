#include "TreeText.h"

#include "LumenoTreeList.h"
#include "document/DocumentTree.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
// A record's body as an item's lines. Dropping exactly one empty line (rather than joining and
// splitting the lines) keeps a line with a NUL character or a line break whole.
QStringList bodyLines(const QStringList &recordLines, bool last)
{
    if (last || recordLines.isEmpty() || !recordLines.constLast().isEmpty())
        return recordLines;
    return recordLines.first(recordLines.size() - 1);
}
} // namespace

QStringList TreeText::TreeToText(const TTreeNode *item)
{
    QStringList lines;
    if (!item)
        return lines;
    // An explicit stack: a subtree may be nested deeper than the call stack allows.
    std::vector<std::pair<const TTreeNode *, int>> pending{{item, 1}};
    while (!pending.empty()) {
        const auto [node, dots] = pending.back();
        pending.pop_back();
        lines.append(QString(dots, u'.') + node->title());
        if (const TNodeData *data = node->data())
            lines.append(data->Lines);
        lines.append(QString());
        for (int i = node->childCount() - 1; i >= 0; --i)
            pending.emplace_back(node->child(i), dots + 1);
    }
    return lines;
}

QStringList TreeText::ParseLines(QStringList editorLines)
{
    if (!editorLines.isEmpty() && editorLines.constLast().isEmpty())
        editorLines.removeLast();
    return editorLines;
}

TTreeNode *TreeText::TextToTree(TDocumentTree &tree, TTreeNode *item, const TLumenoTreeList &headings)
{
    // A folder root's editor text is its fixed body, not a subtree: rebuilding would delete
    // the folder's contents.
    if (!item || tree.isFolderRoot(item))
        return nullptr;
    tree.deleteChildren(item);

    TTreeNode *target = item;
    int shift = 0;
    if (headings.CountTopHeadings() >= 2) {
        shift = 1;
        if (TTreeNode *parent = item->parent()) {
            // The headings join the parent's children after the existing ones.
            tree.remove(item);
            target = parent;
        } else {
            item->setTitle(TDocumentTree::DefaultTitlePrefix);
            if (item->data())
                item->data()->Lines.clear();
        }
    }

    // path[k] is the item the last heading of level k became; path[0] is target.
    std::vector<TTreeNode *> path{target};
    std::vector<TTreeNode *> created;
    const int last = headings.count() - 1;
    for (int k = 0; k <= last; ++k) {
        const TLumenoTreeListData *record = headings.item(k);
        const int level = record->Level() + shift;
        QStringList body = bodyLines(record->Body.Lines, k == last);
        if (level <= 0) {
            if (!target->data())
                target->setData(std::make_unique<TNodeData>());
            target->data()->Lines = std::move(body);
            target->setTitle(record->Title());
            continue;
        }
        // A heading deeper than one below the last becomes the last one's child.
        path.resize(size_t(std::min(level, int(path.size()))));
        auto data = std::make_unique<TNodeData>();
        data->Lines = std::move(body);
        data->Expand = true;
        TTreeNode *node = tree.addChild(path.back(), record->Title(), std::move(data));
        path.push_back(node);
        created.push_back(node);
    }
    for (TTreeNode *node : created)
        node->setExpanded(node->data()->Expand);
    // A folder root is never shown as text: the first item made from the text stands for it.
    if (target != item && tree.isFolderRoot(target) && !created.empty())
        return created.front();
    return target;
}
