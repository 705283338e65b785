#include "DocumentFileReading.h"

#include <QFile>
#include <QFileInfo>

namespace DocumentFileReading {

QString open(QFile &file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません: %1").arg(file.fileName());
    if (info.isDir())
        return QStringLiteral("フォルダは開けません: %1").arg(file.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("ファイルを開けません: %1 (%2)").arg(file.fileName(), file.errorString());
    return QString();
}

QString tooFewRootsError()
{
    return QStringLiteral("文書ファイルが壊れています: 最上位の項目が3つ未満です");
}

QString tooDeepError(int maxDepth)
{
    return QStringLiteral("文書ファイルが壊れています: 項目の階層が深すぎます (%1 を超えています)").arg(maxDepth);
}

} // namespace DocumentFileReading
