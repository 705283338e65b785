#include "TextExport.h"

#include "DisplayWidth.h"
#include "ExportLines.h"
#include "document/DocumentTree.h"

QString TTextExport::ItemNumber(const TTreeNode *item)
{
    QStringList positions;
    for (const TTreeNode *node = item; node && node->parent(); node = node->parent())
        positions.prepend(QString::number(node->index() + 1));
    return positions.join(u'.');
}

QStringList TTextExport::CutLine(QStringView line, int available)
{
    QStringList pieces;
    qsizetype start = 0;
    do {
        qsizetype end = start;
        int taken = 0;
        // Always at least one character, so that a line is cut even when nothing fits.
        while (end < line.size() && (end == start || taken < available)) {
            qsizetype advance = 1;
            taken += DisplayWidth::of(line, end, advance);
            end += advance;
        }
        pieces.append(line.sliced(start, end - start).toString());
        start = end;
    } while (start < line.size());
    return pieces;
}

QStringList TTextExport::Lines(const TDocumentTree &tree, const TTextExportOptions &options)
{
    using Layout = TTextExportOptions::Layout;
    QStringList out;
    const TTreeNode *root = tree.MainTitleNode();
    if (!root)
        return out;
    const bool hierarchical = options.layout == Layout::Hierarchical;
    for (const TTreeNode *node = root; node && node->isInSubtreeOf(root); node = node->next()) {
        const int level = node->level();
        if (options.titles) {
            QString title;
            if (hierarchical)
                title = QString(level + 1, u'.');
            if (node == root)
                title += u'【' + node->title() + u'】';
            else if (options.numbers)
                title += ItemNumber(node) + QStringLiteral(". ") + node->title();
            else
                title += node->title();
            out.append(title);
            if (!hierarchical)
                out.append(QString());
        }
        const QStringList &body = node->data() ? node->data()->Lines : QStringList();
        if (options.layout == Layout::Formatted) {
            const int margin = options.indent ? 2 * (level + 1) : 0;
            const QString spaces(margin, u' ');
            for (const QString &line : body) {
                for (const QString &piece : CutLine(line, options.width - margin))
                    out.append(spaces + piece);
            }
        } else {
            out.append(body);
        }
        out.append(QString());
    }
    return out;
}

TFileResult TTextExport::Write(const QString &path, const TDocumentTree &tree, const TTextExportOptions &options,
                               const QString &documentFile)
{
    return ExportLines::write(path, ExportLines::encode(Lines(tree, options), options.utf8), documentFile);
}
