#include "SavedFile.h"

#include "SaveTarget.h"

#include <QFile>
#include <QSaveFile>

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
    QSaveFile file(target.path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return TFileResult::failure(QStringLiteral("ファイルを作成できません: %1 (%2)").arg(path, file.errorString()));
    TWriteBackDevice device(file);
    if (!writer(device) || !device.drain() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return TFileResult::failure(QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(path, reason));
    }
    if (target.exists())
        keepOwner(file.handle(), target.path());
    if (beforeReplace)
        beforeReplace();
    if (!file.commit())
        return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(path, file.errorString()));
    return TFileResult::success(version);
}

void TSavedFile::keepOwner(int handle, const QString &path)
{
    struct stat old;
    struct stat created;
    if (stat(QFile::encodeName(path).constData(), &old) != 0 || fstat(handle, &created) != 0)
        return;
    if (old.st_uid == created.st_uid && old.st_gid == created.st_gid)
        return;
    // Only root may give a file away; anyone may try to keep the group of a file they own.
    if (fchown(handle, old.st_uid, old.st_gid) != 0 && fchown(handle, uid_t(-1), old.st_gid) != 0)
        return;
    // A change of owner clears the set-user-ID and set-group-ID bits; the old file's mode is
    // what the new file should have.
    fchmod(handle, old.st_mode & 07777);
}
