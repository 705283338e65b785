// Reads arbitrary bytes as a legacy document; a document that reads is written again (the
// Shift_JIS test may refuse it, nothing else may fail) and reads back to items at the same levels.
#include "FuzzInput.h"
#include "document/DocumentTree.h"
#include "files/LegacyDocumentFormat.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(data, size, ".olv");
    TDocumentTree tree;
    const TFileResult result = TLegacyDocumentFormat::read(path, tree);
    if (!result.ok)
        return 0;
    qint64 version = result.version;
    const QString copy = fuzzFile("-copy.olv");
    const TFileResult written = TLegacyDocumentFormat::write(copy, tree, version);
    if (!written.ok) {
        if (!written.refused)
            std::abort();
        return 0;
    }
    TDocumentTree again;
    if (!TLegacyDocumentFormat::read(copy, again).ok || again.count() != tree.count())
        std::abort();
    for (int i = 0; i < tree.count(); ++i) {
        const TTreeNode *before = tree.nodeAt(i);
        const TTreeNode *after = again.nodeAt(i);
        const int linesBefore = before->data() ? int(before->data()->Lines.size()) : 0;
        const int linesAfter = after->data() ? int(after->data()->Lines.size()) : 0;
        if (before->level() != after->level() || linesBefore != linesAfter)
            std::abort();
    }
    return 0;
}
