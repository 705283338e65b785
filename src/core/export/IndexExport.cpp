#include "IndexExport.h"

#include "ExportLines.h"
#include "document/DocumentTree.h"

#include <vector>

QStringList TIndexExport::Lines(const TDocumentTree &tree)
{
    QStringList out;
    // The columns of the item's ancestors, kept as the walk goes down and up, so that each line
    // costs its own length rather than a walk up the tree.
    std::vector<QString> columns;
    for (const TTreeNode *node = tree.first(); node; node = node->next()) {
        const int level = node->level();
        columns.resize(size_t(level));
        if (level > 0) {
            const TTreeNode *parent = node->parent();
            columns[size_t(level - 1)] = parent->nextSibling() ? QStringLiteral(" │ ") : QStringLiteral(" 　 ");
        }
        QString line;
        for (const QString &column : columns)
            line += column;
        if (node == tree.first())
            line += QStringLiteral(" ┌ ");
        else
            line += node->nextSibling() ? QStringLiteral(" ├ ") : QStringLiteral(" └ ");
        switch (level) {
        case 0:
            line += u'■';
            break;
        case 1:
            line += u'◎';
            break;
        case 2:
            line += u'○';
            break;
        default:
            line += u'・';
            break;
        }
        line += node->title();
        out.append(line);
    }
    return out;
}

TFileResult TIndexExport::Write(const QString &path, const TDocumentTree &tree, const QString &documentFile)
{
    return ExportLines::write(path, ExportLines::encode(Lines(tree), false), documentFile);
}
