#include "SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString SettingsLocation::besideProgram(const QString &programFile, const QString &extension)
{
    const QFileInfo program(programFile);
    return program.dir().filePath(program.completeBaseName() + extension);
}

QString SettingsLocation::choose(const QString &programFile, const QString &configHome)
{
    const QFileInfo folder(QFileInfo(programFile).absolutePath());
    if (folder.isDir() && folder.isWritable())
        return besideProgram(programFile, QStringLiteral(".ini"));
    // Relative values of XDG_CONFIG_HOME are invalid and are ignored.
    const QString home = QDir::isAbsolutePath(configHome)
        ? configHome
        : QDir::home().filePath(QStringLiteral(".config"));
    return QDir(home).filePath(QStringLiteral("olvek/olvek.ini"));
}

QString SettingsLocation::forThisProgram()
{
    return choose(QCoreApplication::applicationFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME"));
}
