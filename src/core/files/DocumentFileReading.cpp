#include "DocumentFileReading.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DocumentFileReading {

QString open(QFile &file)
{
    const QString name = file.fileName();
    const QFileInfo info(name);
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません: %1").arg(name);
    if (info.isDir())
        return QStringLiteral("フォルダは開けません: %1").arg(name);
    // Opened without waiting, so that a FIFO cannot hold the open up; the checks below look at
    // what was opened, not at the name, which may have changed meanwhile.
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return QStringLiteral("ファイルを開けません: %1 (%2)").arg(name, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status;
    QString error;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        error = QStringLiteral("通常のファイルではないため開けません: %1").arg(name);
    else if (status.st_size > MaxFileSize)
        error = tooLargeError(name);
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0
             || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        error = QStringLiteral("ファイルを開けません: %1 (%2)").arg(name, file.errorString());
    if (!error.isEmpty())
        ::close(fd);
    return error;
}

QString tooFewRootsError()
{
    return QStringLiteral("文書ファイルが壊れています: 最上位の項目が3つ未満です");
}

QString tooDeepError(int maxDepth)
{
    return QStringLiteral("文書ファイルが壊れています: 項目の階層が深すぎます (%1 を超えています)").arg(maxDepth);
}

QString tooLargeError(const QString &path)
{
    return QStringLiteral("ファイルが大きすぎて読み込めません: %1").arg(path);
}

} // namespace DocumentFileReading
