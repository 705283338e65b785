#include "PluginLaunch.h"

#include "Settings.h"

#include <QFileInfo>
#include <QProcess>

TPluginLaunch::Slot TPluginLaunch::read(const TSettings &settings, int n)
{
    const TIniFile &ini = settings.ini();
    const QString number = QString::number(n);
    Slot slot;
    slot.enabled = ini.ReadBool(SettingKeys::Plugin, QStringLiteral("Plug") + number, false);
    slot.name = ini.ReadString(SettingKeys::Plugin, QStringLiteral("PlugName") + number,
                               QStringLiteral("Plugin") + number);
    slot.path = ini.ReadString(SettingKeys::Plugin, QStringLiteral("PlugPath") + number, QString());
    slot.param = ini.ReadString(SettingKeys::Plugin, QStringLiteral("Param") + number, QString());
    slot.paramType = ini.ReadString(SettingKeys::Plugin, QStringLiteral("ParamType") + number, QStringLiteral("ptTxt"));
    return slot;
}

TPluginLaunch::WorkFile TPluginLaunch::workFileMode(const QString &paramType)
{
    if (paramType == QLatin1String("ptAuto"))
        return WorkFile::Auto;
    if (paramType == QLatin1String("ptPath"))
        return WorkFile::Path;
    return WorkFile::None;
}

QString TPluginLaunch::menuCaption(int n, const QString &name)
{
    return QStringLiteral("&") + QString::number(n) + QLatin1Char(':') + name;
}

int TPluginLaunch::slotOfCaption(const QString &caption)
{
    if (caption.size() < 2)
        return 0;
    const int n = caption.at(1).unicode() - u'0';
    return n >= 1 && n <= SlotCount ? n : 0;
}

QString TPluginLaunch::workFileName(const QString &documentFile)
{
    const qsizetype slash = documentFile.lastIndexOf(u'/');
    const qsizetype dot = documentFile.lastIndexOf(u'.');
    return (dot > slash ? documentFile.left(dot) : documentFile) + QStringLiteral(".txt");
}

QString TPluginLaunch::parameters(const QString &param, const QString &workFile)
{
    if (workFile.isEmpty())
        return param;
    QString quoted = workFile;
    quoted.replace(u'"', QStringLiteral("\"\"\""));
    return param + QStringLiteral(" \"") + quoted + u'"';
}

TPluginLaunch::Command TPluginLaunch::command(const QString &path, const QString &parameters)
{
    Command result;
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return result;
    result.program = file.absoluteFilePath();
    if (file.isFile() && file.isExecutable()) {
        result.kind = Command::Kind::Run;
        result.arguments = QProcess::splitCommand(parameters);
    } else {
        result.kind = Command::Kind::Open;
    }
    return result;
}
