#include "FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

bool TFileIdentity::same(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    struct stat first;
    struct stat second;
    if (stat(QFile::encodeName(a).constData(), &first) != 0 || stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
