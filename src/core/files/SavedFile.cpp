#include "SavedFile.h"

#include "SaveTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Gathers the writer's bytes into pieces of a megabyte for the file, which is unbuffered, and
// asks the system to start writing each few megabytes to the disk at once, so that the flush
// before the file replaces the old one has little left to wait for.
//
// The file's own buffer is not used because a write it cuts short (the disk has just filled up)
// reports no reason. Here a short write is repeated for the rest, and the repeated call fails
// with the system's reason, which the file then reports.
class TWriteBackDevice : public QIODevice
{
public:
    explicit TWriteBackDevice(QSaveFile &file) : m_file(file) { open(QIODevice::WriteOnly); }

    // Writes what is gathered; false when the file refused it.
    bool drain()
    {
        const bool written = writeAll(m_pending.constData(), m_pending.size());
        m_pending.clear();
        return written;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        // A large piece with nothing gathered before it goes to the file as it is.
        if (m_pending.isEmpty() && size >= PieceSize)
            return writeAll(data, size) ? size : -1;
        m_pending.append(data, size);
        if (m_pending.size() >= PieceSize && !drain())
            return -1;
        return size;
    }

private:
    static constexpr qsizetype PieceSize = 1 << 20;

    bool writeAll(const char *data, qint64 size)
    {
        qint64 done = 0;
        while (done < size) {
            const qint64 written = m_file.write(data + done, size - done);
            if (written <= 0)
                return false;
            done += written;
        }
        m_written += done;
        if (m_written - m_started >= WriteBackStep)
            startWriteBack();
        return true;
    }
    static constexpr qint64 WriteBackStep = 8 << 20;

    void startWriteBack()
    {
#ifdef Q_OS_LINUX
        sync_file_range(m_file.handle(), m_started, m_written - m_started, SYNC_FILE_RANGE_WRITE);
#endif
        m_started = m_written;
    }

    QSaveFile &m_file;
    QByteArray m_pending;
    qint64 m_started = 0;
    qint64 m_written = 0;
};
} // namespace

TFileResult TSavedFile::save(const QString &path, const std::function<bool(QIODevice &)> &writer,
                             qint64 version, const std::function<void()> &beforeReplace)
{
    const TSaveTarget target(path);
    if (!target.error().isEmpty())
        return TFileResult::failure(target.error());
    removeLeftovers(target.path());
    // The new file is written under a name of its own, so a file is never given the new name
    // before it is complete; an old file that may not be written is kept as it is.
    if (target.exists() && !QFileInfo(target.path()).isWritable())
        return TFileResult::failure(QStringLiteral("ファイルを作成できません: %1 (%2)")
                                        .arg(path, QString::fromLocal8Bit(std::strerror(EACCES))));
    const QString side = sideName(target.path());
    QSaveFile file(side);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return TFileResult::failure(QStringLiteral("ファイルを作成できません: %1 (%2)").arg(path, file.errorString()));
    // Before the first byte, so that a private document is never readable by others.
    if (target.exists())
        keepOwnerAndMode(file.handle(), target.path());
    TWriteBackDevice device(file);
    if (!writer(device) || !device.drain() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return TFileResult::failure(QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(path, reason));
    }
    // The file is flushed to the disk and takes the side name; only then do the backup copies
    // move and the new file take the target's name, at once.
    if (!file.commit())
        return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(path, file.errorString()));
    if (beforeReplace)
        beforeReplace();
    if (::rename(QFile::encodeName(side).constData(), QFile::encodeName(target.path()).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(side);
        return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(path, reason));
    }
    return TFileResult::success(version);
}

QString TSavedFile::sideName(const QString &target)
{
    return target + QStringLiteral(".olvek-new");
}

void TSavedFile::removeLeftovers(const QString &target)
{
    // The side name itself, and the temporary names QSaveFile gives it on a file system that
    // cannot make unnamed files: the side name, a dot and six letters.
    const QString side = sideName(target);
    const QFileInfo info(side);
    QFile::remove(side);
    const QRegularExpression temporary(u'^' + QRegularExpression::escape(info.fileName()) + QStringLiteral("\\.[A-Za-z]{6}$"));
    const QDir folder = info.dir();
    for (const QString &name : folder.entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::System | QDir::Hidden)) {
        if (temporary.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

void TSavedFile::keepOwnerAndMode(int handle, const QString &path)
{
    struct stat old;
    struct stat created;
    if (stat(QFile::encodeName(path).constData(), &old) != 0 || fstat(handle, &created) != 0)
        return;
    // Only root may give a file away; anyone may try to keep the group of a file they own. A
    // change of owner clears the set-user-ID and set-group-ID bits, so the mode comes after it.
    if ((old.st_uid != created.st_uid || old.st_gid != created.st_gid) && fchown(handle, old.st_uid, old.st_gid) != 0)
        fchown(handle, uid_t(-1), old.st_gid);
    fchmod(handle, old.st_mode & 07777);
}
