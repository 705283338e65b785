#include "CountCommand.h"

#include "CliCommon.h"
#include "document/DocumentTree.h"
#include "document/TreeCount.h"
#include "files/DocumentFileReading.h"

#include <QTextStream>

#include <new>

using namespace CliCommon;

int runCountCommand(const QStringList &args)
{
    QTextStream err(stderr);
    if (args.size() != 1 && args.size() != 2) {
        err << "olvek-cli: count needs one or two arguments: DOC [N]\n";
        return UsageError;
    }
    int index = 0;
    if (args.size() == 2) {
        bool ok = false;
        index = args[1].toInt(&ok);
        if (!ok || index < 0) {
            err << "olvek-cli: count: N must be an item index (0 is the main title)\n";
            return UsageError;
        }
    }
    const QString &document = args[0];
    try {
        const OpenedDocument opened = openDocument(document, ReadError);
        if (!opened.tree)
            return opened.code;
        const TTreeNode *root = opened.tree->nodeAt(index);
        if (!root) {
            err << "olvek-cli: count: the document has no item " << index << "\n";
            return UsageError;
        }
        QStringList lines;
        int absolute = root->absoluteIndex();
        const TTreeCount total = TTreeCount::ofSubtree(root, [&](const TTreeNode *node, const TTextCount &body) {
            lines.append(QStringLiteral("%1\t%2\t%3\t%4")
                             .arg(absolute++)
                             .arg(body.characters)
                             .arg(body.pages())
                             .arg(node->title()));
        });
        lines.append(QStringLiteral("total\t%1\t%2\t%3").arg(total.text.characters).arg(total.text.pages()).arg(total.items));
        if (!writeLines(lines)) {
            err << "olvek-cli: the standard output could not be written\n";
            return WriteError;
        }
    } catch (const std::bad_alloc &) {
        err << "olvek-cli: " << DocumentFileReading::tooLargeError(document) << "\n";
        return ReadError;
    }
    return Success;
}
