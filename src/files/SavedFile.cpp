#include "SavedFile.h"

#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace {
// Passes the writer's bytes on to the file and asks the system to start writing each few
// megabytes to the disk at once, so that the flush before the file replaces the old one has
// little left to wait for.
class TWriteBackDevice : public QIODevice
{
public:
    explicit TWriteBackDevice(QSaveFile &file) : m_file(file) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 written = m_file.write(data, size);
        if (written > 0) {
            m_written += written;
            if (m_written - m_started >= WriteBackStep)
                startWriteBack();
        }
        return written;
    }

private:
    static constexpr qint64 WriteBackStep = 8 << 20;

    void startWriteBack()
    {
#ifdef Q_OS_LINUX
        if (m_file.flush())
            sync_file_range(m_file.handle(), m_started, m_written - m_started, SYNC_FILE_RANGE_WRITE);
#endif
        m_started = m_written;
    }

    QSaveFile &m_file;
    qint64 m_started = 0;
    qint64 m_written = 0;
};
} // namespace

TFileResult TSavedFile::save(const QString &path, const std::function<bool(QIODevice &)> &writer,
                             qint64 version)
{
    if (QFileInfo(path).isDir())
        return TFileResult::failure(QStringLiteral("フォルダには保存できません: %1").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return TFileResult::failure(QStringLiteral("ファイルを作成できません: %1 (%2)").arg(path, file.errorString()));
    TWriteBackDevice device(file);
    if (!writer(device) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return TFileResult::failure(QStringLiteral("ファイルを書き込めません: %1 (%2)").arg(path, reason));
    }
    if (!file.commit())
        return TFileResult::failure(QStringLiteral("ファイルを保存できません: %1 (%2)").arg(path, file.errorString()));
    return TFileResult::success(version);
}
