#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>

// The readers take file names: each input is written to a file of this process first.
inline QString fuzzFile(const char *extension)
{
    return QDir::tempPath() + QStringLiteral("/olvek-fuzz-%1%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(extension));
}

inline QString writeFuzzInput(const uint8_t *data, size_t size, const char *extension)
{
    const QString path = fuzzFile(extension);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}
