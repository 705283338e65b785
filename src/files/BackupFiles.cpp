#include "BackupFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

TBackupFiles::~TBackupFiles()
{
    rollback();
}

bool TBackupFiles::make(const QString &fileName, int depth)
{
    if (depth <= 0)
        return true;
    if (depth == 1) {
        if (!QFileInfo::exists(fileName))
            return true;
        const QString bak = withExtension(fileName, QStringLiteral(".bak"));
        setAside(bak);
        return rename(fileName, bak);
    }
    bool ok = true;
    for (int n = depth - 1; n >= 0; --n) {
        const QString copy = numbered(fileName, n);
        if (!QFileInfo::exists(copy))
            continue;
        ok = ok && rename(copy, numbered(fileName, n + 1));
    }
    if (QFileInfo::exists(fileName))
        ok = ok && rename(fileName, numbered(fileName, 0));
    setAside(numbered(fileName, depth));
    return ok;
}

void TBackupFiles::commit()
{
    for (const auto &aside : std::as_const(m_setAside))
        QFile::remove(aside.second);
    m_setAside.clear();
    m_renamed.clear();
}

void TBackupFiles::rollback()
{
    for (auto it = m_renamed.crbegin(); it != m_renamed.crend(); ++it)
        QFile::rename(it->second, it->first);
    for (const auto &aside : std::as_const(m_setAside))
        QFile::rename(aside.second, aside.first);
    m_renamed.clear();
    m_setAside.clear();
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

bool TBackupFiles::rename(const QString &from, const QString &to)
{
    // QFile::rename refuses an existing target, as the backups require.
    if (!QFile::rename(from, to))
        return false;
    m_renamed.append({from, to});
    return true;
}

void TBackupFiles::setAside(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    const QString temporary = path + QStringLiteral(".old-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    if (QFile::rename(path, temporary))
        m_setAside.append({path, temporary});
}
