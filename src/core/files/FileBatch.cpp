#include "FileBatch.h"

#include "SaveTarget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Syncs what the descriptor of path reaches: the whole file system with syncfs, or the folder
// itself (its entries) with fsync. False with errno set when it failed.
bool syncPath(const QString &path, bool fileSystem)
{
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
#ifdef Q_OS_LINUX
    const bool synced = (fileSystem ? ::syncfs(handle) : ::fsync(handle)) == 0;
#else
    if (fileSystem)
        ::sync();
    const bool synced = ::fsync(handle) == 0;
#endif
    const int reason = errno;
    ::close(handle);
    errno = reason;
    return synced;
}
} // namespace

TFileBatch::TFileBatch(const QString &folder)
    : m_folder(folder), m_temporary(std::make_unique<QTemporaryDir>(QDir(folder).filePath(QStringLiteral(".olvek-XXXXXX"))))
{
    if (!m_temporary->isValid())
        m_error = QStringLiteral("ファイルを作成できません: %1 (%2)").arg(folder, m_temporary->errorString());
}

TFileBatch::~TFileBatch() = default;

TFileResult TFileBatch::add(const QString &path, const QByteArray &bytes)
{
    if (!m_error.isEmpty())
        return TFileResult::failure(m_error);
    const TSaveTarget target(path);
    if (!target.error().isEmpty())
        return TFileResult::failure(target.error());
    QFile file(m_temporary->filePath(QString::number(m_entries.size())));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return TFileResult::failure(QStringLiteral("ファイルを作成できません: %1 (%2)").arg(path, file.errorString()));
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.remove();
        return TFileResult::failure(QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(path, reason));
    }
    m_entries.push_back({file.fileName(), target.path()});
    return TFileResult::success(0);
}

TFileResult TFileBatch::commit()
{
    if (!m_error.isEmpty())
        return TFileResult::failure(m_error);
    // Every file's content on the disk before any of them takes a name: a crash then leaves
    // either the old file or the complete new one under each name.
    if (!m_entries.empty() && !syncPath(m_temporary->path(), true))
        return TFileResult::failure(QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(m_folder, systemError()));
    for (const TEntry &entry : m_entries) {
        if (std::rename(QFile::encodeName(entry.written).constData(), QFile::encodeName(entry.target).constData()) != 0)
            return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(entry.target, systemError()));
    }
    m_entries.clear();
    if (!syncPath(m_folder, false))
        return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(m_folder, systemError()));
    return TFileResult::success(0);
}
