// Reads arbitrary bytes as a JSON document; a document that reads must write and read again
// to the same items.
#include "FuzzInput.h"
#include "document/DocumentTree.h"
#include "files/JsonDocumentFormat.h"

#include <QBuffer>
#include <QCoreApplication>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(data, size, ".olvx");
    TDocumentTree tree;
    if (!TJsonDocumentFormat::read(path, tree).ok)
        return 0;
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    if (!TJsonDocumentFormat::writeTo(written, tree, path, QDateTime::currentDateTime()))
        std::abort();
    const QByteArray &bytes = written.data();
    const QString copy = writeFuzzInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()), "-copy.olvx");
    TDocumentTree again;
    if (!TJsonDocumentFormat::read(copy, again).ok || again.count() != tree.count())
        std::abort();
    for (int i = 0; i < tree.count(); ++i) {
        if (tree.nodeAt(i)->title() != again.nodeAt(i)->title()
            || tree.nodeAt(i)->data()->Lines != again.nodeAt(i)->data()->Lines
            || tree.nodeAt(i)->isExpanded() != again.nodeAt(i)->isExpanded())
            std::abort();
    }
    return 0;
}
