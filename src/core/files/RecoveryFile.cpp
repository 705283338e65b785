#include "RecoveryFile.h"

#include "JsonDocumentFormat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString copyPattern = QStringLiteral("*.olvx");

QString lockName(const QString &copy)
{
    return copy + QStringLiteral(".lock");
}

// A lock that only the death of its program makes stale: a long-running program keeps its copy
// however old the lock file is.
std::unique_ptr<QLockFile> lockCopy(const QString &copy)
{
    auto lock = std::make_unique<QLockFile>(lockName(copy));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
} // namespace

TRecoveryFile::TRecoveryFile(const QString &folder) : m_folder(folder)
{
}

TRecoveryFile::~TRecoveryFile() = default;

QString TRecoveryFile::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("recovery"));
}

TFileResult TRecoveryFile::write(const TDocumentTree &tree)
{
    if (m_path.isEmpty()) {
        if (!QDir().mkpath(m_folder))
            return TFileResult::failure(QStringLiteral("フォルダを作成できません: %1").arg(m_folder));
        const QString candidate = newCopyName();
        m_lock = lockCopy(candidate);
        if (!m_lock)
            return TFileResult::failure(QStringLiteral("復元用のコピーを作成できません: %1").arg(candidate));
        m_path = candidate;
    }
    // The copy names itself nothing: restored, the document is one without a name.
    return TJsonDocumentFormat::write(m_path, tree, QString());
}

void TRecoveryFile::remove()
{
    if (m_path.isEmpty())
        return;
    QFile::remove(m_path);
    m_lock.reset();
    m_path.clear();
}

QStringList TRecoveryFile::orphans() const
{
    QFileInfoList copies = QDir(m_folder).entryInfoList({copyPattern}, QDir::Files);
    std::sort(copies.begin(), copies.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.lastModified() > b.lastModified();
    });
    QStringList result;
    for (const QFileInfo &copy : std::as_const(copies)) {
        const QString path = copy.absoluteFilePath();
        if (path != m_path && lockCopy(path))
            result << path;
    }
    return result;
}

bool TRecoveryFile::adopt(const QString &copy)
{
    std::unique_ptr<QLockFile> lock = lockCopy(copy);
    if (!lock)
        return false;
    remove();
    m_lock = std::move(lock);
    m_path = copy;
    return true;
}

bool TRecoveryFile::discard(const QString &copy)
{
    const std::unique_ptr<QLockFile> lock = lockCopy(copy);
    return lock && QFile::remove(copy);
}

QString TRecoveryFile::newCopyName() const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("untitled-%1.olvx").arg(stamp);
    // A name in use, or locked by a program that has not written its copy yet, is not taken.
    const auto taken = [this](const QString &candidate) {
        const QString path = QDir(m_folder).filePath(candidate);
        return QFileInfo::exists(path) || QFileInfo::exists(lockName(path));
    };
    for (int n = 2; taken(name); ++n)
        name = QStringLiteral("untitled-%1-%2.olvx").arg(stamp).arg(n);
    return QDir(m_folder).filePath(name);
}
