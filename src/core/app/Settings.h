#pragma once

#include "IniFile.h"
#include "SettingKeys.h"

#include <QRect>
#include <QSize>
#include <QStringList>
#include <optional>

// Typed access to the settings file. Reads look at the file each time and writes go to it at
// once (TIniFile), so several holders of the same file name stay consistent.
class TSettings
{
public:
    static constexpr int RecentFileCount = 4;
    static constexpr int FindHistoryCount = 10;

    explicit TSettings(const QString &fileName);
    const QString &fileName() const { return m_ini.fileName(); }
    // Untyped access, for the sections that other features own (PRINT_OPTION, PLUGIN, FindRireki).
    TIniFile &ini() { return m_ini; }
    const TIniFile &ini() const { return m_ini; }

    bool value(const TBoolSetting &setting) const;
    int value(const TIntSetting &setting) const;
    QString value(const TStringSetting &setting) const;
    // nullopt when the stored text is neither a colour name nor a number; the caller reports it.
    std::optional<TColor> value(const TColorSetting &setting) const;
    template<typename Setting>
    bool contains(const Setting &setting) const
    {
        return m_ini.ValueExists(setting.section, setting.key);
    }

    void setValue(const TBoolSetting &setting, bool value);
    void setValue(const TIntSetting &setting, int value);
    void setValue(const TStringSetting &setting, const QString &value);
    // Written by name when the colour has one, otherwise as "$00BBGGRR".
    void setValue(const TColorSetting &setting, TColor value);

    // One tenth of the screen from the top-left corner, eight tenths wide and high.
    static QRect defaultFormGeometry(const QSize &screen);
    // Form/Left, Top, Width, Height when Form/Restore is on (each absent key taking its default);
    // the default placement for screen otherwise, without reading them. Either is then fitted
    // into available (the screens' area for windows): no larger, and moved inside it.
    QRect formGeometry(const QSize &screen, const QRect &available) const;
    void setFormGeometry(const QRect &geometry);

    // Path/LastOpened; fallback when the key is absent.
    QString lastOpened(const QString &fallback) const;
    void setLastOpened(const QString &folder);

    // FileRireki "1" to "4" in key order, empty values left out.
    QStringList recentFiles() const;
    // The first four of files as FileRireki "1" to "4", the keys after the last one emptied.
    void setRecentFiles(const QStringList &files);

    // FindRireki "0" to "9" in key order, empty values left out.
    QStringList findHistory() const;
    // entries as FindRireki "0" upward, the keys after the last one up to "9" emptied.
    void setFindHistory(const QStringList &entries);

private:
    // A size of zero or less takes fallback's.
    static QRect fitInto(int left, int top, int width, int height, const QRect &available, const QRect &fallback);

    TIniFile m_ini;
};
