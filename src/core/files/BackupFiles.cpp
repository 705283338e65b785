#include "BackupFiles.h"

#include "FileIdentity.h"
#include "SavedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// A name a copy may take over: free, a file or a link, but not a folder or the like.
bool replaceable(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() || !info.exists() || info.isFile();
}

// A complete copy of from under to, with from's permissions and, where allowed, its owner.
bool copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = source.read(buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (target.write(buffer.constData(), n) != n)
            return false;
    }
    TSavedFile::keepOwnerAndMode(target.handle(), from);
    return target.commit();
}
} // namespace

TBackupFiles::~TBackupFiles()
{
    discard();
}

bool TBackupFiles::prepare(const QString &fileName, int depth)
{
    discard();
    removeLeftovers(fileName);
    if (depth <= 0 || !QFileInfo::exists(fileName))
        return true;
    // The document and its copies from the newest to the oldest; each name takes the content of
    // the one before it, the oldest first.
    QStringList chain{fileName};
    if (depth == 1) {
        chain << withExtension(fileName, QStringLiteral(".bak"));
    } else {
        for (int n = 0; n < depth; ++n)
            chain << numbered(fileName, n);
    }
    // A save cut off while it renamed the copies leaves the last name it renamed and the one it
    // came from as one file. That rotation is finished instead of a new one started, which would
    // keep the same version twice and let an older one fall off; when even the newest copy is
    // the document, the copies are already right.
    qsizetype first = chain.size() - 1;
    for (qsizetype k = 1; k < chain.size(); ++k) {
        if (TFileIdentity::same(chain[k], chain[k - 1])) {
            first = k - 1;
            break;
        }
    }
    for (qsizetype k = first; k > 0; --k) {
        // In the numbered chain a missing copy passes on nothing: the next one is removed.
        const QString &from = chain[k - 1];
        m_steps.append({k == 1 || QFileInfo::exists(from) ? from : QString(), chain[k]});
    }
    for (const TStep &step : std::as_const(m_steps)) {
        const QString side = sideName(step.copy);
        if (!replaceable(step.copy) || (!step.from.isEmpty() && !makeSideFile(step.from, side))) {
            discard();
            return false;
        }
    }
    return true;
}

void TBackupFiles::commit()
{
    for (const TStep &step : std::as_const(m_steps)) {
        const QString side = sideName(step.copy);
        if (step.from.isEmpty())
            QFile::remove(step.copy);
        else if (TFileIdentity::same(side, step.copy)) // a rename between two names of one file does nothing
            QFile::remove(side);
        else // QFile::rename refuses to replace a file; the system's rename replaces it at once.
            ::rename(QFile::encodeName(side).constData(), QFile::encodeName(step.copy).constData());
    }
    m_steps.clear();
    m_sideFiles.clear();
}

void TBackupFiles::discard()
{
    for (const QString &side : std::as_const(m_sideFiles))
        QFile::remove(side);
    m_sideFiles.clear();
    m_steps.clear();
}

QString TBackupFiles::withExtension(const QString &fileName, const QString &extension)
{
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot > slash)
        return fileName.left(dot) + extension;
    return fileName + extension;
}

QString TBackupFiles::numbered(const QString &fileName, int number)
{
    return withExtension(fileName, QStringLiteral(".%1").arg(number, 3, 10, QLatin1Char('0')));
}

QString TBackupFiles::sideName(const QString &copy)
{
    return copy + QStringLiteral(".olvek-tmp");
}

void TBackupFiles::removeLeftovers(const QString &fileName)
{
    // Every depth's side names, as the depth may have changed since the save that was cut off,
    // and the names under which earlier versions of the program set old copies aside.
    const QFileInfo info(withExtension(fileName, QString()));
    const QDir folder = info.dir();
    const QRegularExpression pattern(u'^' + QRegularExpression::escape(info.fileName())
                                     + QStringLiteral("\\.(bak|[0-9]{3,})\\.(olvek-tmp(\\.[A-Za-z]{6})?|old-[0-9a-f]{12})$"));
    for (const QString &name : folder.entryList({QStringLiteral("*.olvek-tmp"), QStringLiteral("*.olvek-tmp.*"), QStringLiteral("*.old-*")},
                                                QDir::Files | QDir::System)) {
        if (pattern.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

bool TBackupFiles::makeSideFile(const QString &from, const QString &side)
{
    // QFile::link makes symbolic links; a hard link takes the system's own call.
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(side).constData()) != 0
        && !copyFile(from, side))
        return false;
    m_sideFiles.append(side);
    return true;
}
