#include "DocumentStorage.h"

#include "JsonDocumentFormat.h"
#include "LegacyDocumentFormat.h"
#include "document/DocumentTree.h"
#include "document/NulCharacters.h"

#include <QFileInfo>

namespace {
// The extension from the last "." of the file name, dot included.
QString extensionOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

QString unknownFormatError(const QString &path)
{
    return QStringLiteral("拡張子が .olvx でも .olv でもないファイルは扱えません: %1").arg(path);
}
} // namespace

TDocumentStorage::Format TDocumentStorage::formatOf(const QString &path)
{
    const QString extension = extensionOf(path);
    if (extension == QLatin1String(".olvx"))
        return Format::Json;
    if (extension == QLatin1String(".olv"))
        return Format::Legacy;
    return Format::Unknown;
}

qint64 TDocumentStorage::saveAsVersion(Format format)
{
    return format == Format::Legacy ? TLegacyDocumentFormat::SaveAsVersion : TJsonDocumentFormat::FormatVersion;
}

QString TDocumentStorage::missingFileMessage()
{
    return QStringLiteral("指定されたファイルは存在しませんでした。新規作成で開きます");
}

TFileResult TDocumentStorage::readDocumentFile(const QString &path, TDocumentTree &tree)
{
    const QFileInfo info(path);
    if (!info.exists() || (info.isFile() && !info.isReadable()))
        return TFileResult::failure(missingFileMessage());
    TFileResult result;
    switch (formatOf(path)) {
    case Format::Json:
        result = TJsonDocumentFormat::read(path, tree);
        break;
    case Format::Legacy:
        result = TLegacyDocumentFormat::read(path, tree);
        break;
    case Format::Unknown:
        return TFileResult::failure(unknownFormatError(path));
    }
    if (!result.ok)
        return result;
    // A body would end at its first NUL in the next reader that splits at them, or in another
    // program: the file's NULs never enter the document.
    result.nulCharacters = TNulCharacters::replace(tree);
    if (TTreeNode *first = tree.first())
        first->setExpanded(true);
    tree.setNewNodeCounter(tree.count());
    tree.establishRootReferences();
    return result;
}

TFileResult TDocumentStorage::writeDocumentFile(const QString &path, TDocumentTree &tree, qint64 &formatVersion,
                                                const std::function<void()> &beforeReplace)
{
    const Format format = formatOf(path);
    if (format == Format::Unknown)
        return TFileResult::failure(unknownFormatError(path));
    replaceLeadingSpaces(tree);
    if (format == Format::Json)
        return TJsonDocumentFormat::write(path, tree, path, QDateTime::currentDateTime(), beforeReplace);
    return TLegacyDocumentFormat::write(path, tree, formatVersion, beforeReplace);
}

void TDocumentStorage::replaceLeadingSpaces(TDocumentTree &tree)
{
    for (TTreeNode *node = tree.first(); node; node = node->next()) {
        if (!node->title().isEmpty() && node->title().front() == u' ')
            node->setTitle(u'_' + node->title().mid(1));
    }
}
