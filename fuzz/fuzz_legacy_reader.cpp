// Reads arbitrary bytes as a legacy document; a document that reads is written again.
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
    if (!written.ok && !written.refused)
        std::abort();
    return 0;
}
