#include "SavedFile.h"

#include <QFileInfo>
#include <QSaveFile>

TFileResult TSavedFile::save(const QString &path, const std::function<bool(QIODevice &)> &writer,
                             qint64 version)
{
    if (QFileInfo(path).isDir())
        return TFileResult::failure(QStringLiteral("フォルダには保存できません: %1").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return TFileResult::failure(QStringLiteral("ファイルを作成できません: %1 (%2)").arg(path, file.errorString()));
    if (!writer(file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return TFileResult::failure(QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(path, reason));
    }
    if (!file.commit())
        return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(path, file.errorString()));
    return TFileResult::success(version);
}
