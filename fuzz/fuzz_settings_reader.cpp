// Reads arbitrary bytes as the settings file. Every key reads, the start-up's typed reads take
// their values, and the shutdown's writes leave every other value as it read before.
#include "FuzzInput.h"
#include "app/SettingKeys.h"
#include "app/Settings.h"

#include <QHash>
#include <QPair>

namespace {
const QLatin1String Sections[] = {SettingKeys::Form,       SettingKeys::Path,        SettingKeys::File,
                                  SettingKeys::FileRireki, SettingKeys::ToolBar,     SettingKeys::Tree,
                                  SettingKeys::NodeEditor, SettingKeys::Editor,      SettingKeys::Html,
                                  SettingKeys::PrintOption, SettingKeys::Plugin,     SettingKeys::FindRireki};

using Values = QHash<QPair<QString, QString>, QString>;

// Every key of the known sections by its case-folded name (names match without regard to case).
Values readAll(const TIniFile &ini)
{
    Values values;
    for (const QLatin1String &section : Sections) {
        for (const QString &key : ini.ReadSection(section))
            values.insert({QString(section).toCaseFolded(), key.toCaseFolded()}, ini.ReadString(section, key, QString()));
    }
    return values;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(data, size, ".ini");
    TSettings settings(path);
    const Values before = readAll(settings.ini());
    for (auto it = before.begin(); it != before.end(); ++it)
        TIniFile::ParseInteger(it.value());

    const QRect placed = settings.formGeometry(QSize(1920, 1080), QRect(0, 0, 1920, 1040));
    if (!QRect(0, 0, 1920, 1040).contains(placed))
        std::abort();
    settings.value(SettingKeys::FileAutoSaveTime);
    settings.value(SettingKeys::TreeFontName);
    settings.value(SettingKeys::TreeFontColor);
    const QStringList recent = settings.recentFiles();
    const QString lastOpened = settings.lastOpened(QStringLiteral("/opt/olvek"));

    // The shutdown's writes.
    {
        TIniFile::UpdateScope update(settings.ini());
        settings.setValue(SettingKeys::FormRestore, true);
        settings.setFormGeometry(placed);
        settings.setRecentFiles(recent);
        settings.setLastOpened(lastOpened);
    }
    if (settings.formGeometry(QSize(1920, 1080), QRect(0, 0, 1920, 1040)) != placed
        || settings.recentFiles() != recent || settings.lastOpened(QString()) != lastOpened)
        std::abort();
    const Values after = readAll(settings.ini());
    const QString form = QString(SettingKeys::Form).toCaseFolded();
    for (auto it = before.begin(); it != before.end(); ++it) {
        const auto &[section, key] = it.key();
        const bool written = (section == form && QStringList{"restore", "left", "top", "width", "height"}.contains(key))
                          || section == QString(SettingKeys::FileRireki).toCaseFolded()
                          || (section == QString(SettingKeys::Path).toCaseFolded() && key == "lastopened");
        if (!written && after.value(it.key()) != it.value())
            std::abort();
    }
    return 0;
}
