#include "Settings.h"

#include <algorithm>
#include <utility>

namespace {
const QLatin1String LeftKey("Left");
const QLatin1String TopKey("Top");
const QLatin1String WidthKey("Width");
const QLatin1String HeightKey("Height");
const QLatin1String LastOpenedKey("LastOpened");
} // namespace

TSettings::TSettings(const QString &fileName)
    : m_ini(fileName)
{
}

bool TSettings::value(const TBoolSetting &setting) const
{
    return m_ini.ReadBool(setting.section, setting.key, setting.defaultValue);
}

int TSettings::value(const TIntSetting &setting) const
{
    return m_ini.ReadInteger(setting.section, setting.key, setting.defaultValue);
}

QString TSettings::value(const TStringSetting &setting) const
{
    return m_ini.ReadString(setting.section, setting.key, setting.defaultValue.toString());
}

std::optional<TColor> TSettings::value(const TColorSetting &setting) const
{
    const QString defaultText = TColorNames::toString(setting.defaultValue);
    return TColorNames::fromString(m_ini.ReadString(setting.section, setting.key, defaultText));
}

void TSettings::setValue(const TBoolSetting &setting, bool value)
{
    m_ini.WriteBool(setting.section, setting.key, value);
}

void TSettings::setValue(const TIntSetting &setting, int value)
{
    m_ini.WriteInteger(setting.section, setting.key, value);
}

void TSettings::setValue(const TStringSetting &setting, const QString &value)
{
    m_ini.WriteString(setting.section, setting.key, value);
}

void TSettings::setValue(const TColorSetting &setting, TColor value)
{
    m_ini.WriteString(setting.section, setting.key, TColorNames::toString(value));
}

QRect TSettings::defaultFormGeometry(const QSize &screen)
{
    const int tenthWidth = screen.width() / 10;
    const int tenthHeight = screen.height() / 10;
    return QRect(tenthWidth, tenthHeight, tenthWidth * 8, tenthHeight * 8);
}

QRect TSettings::formGeometry(const QSize &screen, const QRect &available) const
{
    const QRect fallback = defaultFormGeometry(screen);
    if (!value(SettingKeys::FormRestore))
        return fitInto(fallback.left(), fallback.top(), fallback.width(), fallback.height(), available, fallback);
    using SettingKeys::Form;
    return fitInto(m_ini.ReadInteger(Form, LeftKey, fallback.left()), m_ini.ReadInteger(Form, TopKey, fallback.top()),
                   m_ini.ReadInteger(Form, WidthKey, fallback.width()),
                   m_ini.ReadInteger(Form, HeightKey, fallback.height()), available, fallback);
}

QRect TSettings::fitInto(int left, int top, int width, int height, const QRect &available, const QRect &fallback)
{
    // A size of zero or less is no size: the default's. Computed in 64 bits, as the stored
    // values may be anywhere in the 32-bit range.
    const auto fit = [](qint64 start, qint64 length, qint64 fallbackLength, qint64 areaStart, qint64 areaLength) {
        if (length <= 0)
            length = fallbackLength;
        length = std::clamp<qint64>(length, 1, std::max<qint64>(1, areaLength));
        start = std::clamp<qint64>(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
        return std::pair<int, int>(int(start), int(length));
    };
    const auto [x, w] = fit(left, width, fallback.width(), available.left(), available.width());
    const auto [y, h] = fit(top, height, fallback.height(), available.top(), available.height());
    return QRect(x, y, w, h);
}

void TSettings::setFormGeometry(const QRect &geometry)
{
    using SettingKeys::Form;
    TIniFile::UpdateScope update(m_ini);
    m_ini.WriteInteger(Form, WidthKey, geometry.width());
    m_ini.WriteInteger(Form, LeftKey, geometry.left());
    m_ini.WriteInteger(Form, TopKey, geometry.top());
    m_ini.WriteInteger(Form, HeightKey, geometry.height());
}

QString TSettings::lastOpened(const QString &fallback) const
{
    return m_ini.ReadString(SettingKeys::Path, LastOpenedKey, fallback);
}

void TSettings::setLastOpened(const QString &folder)
{
    m_ini.WriteString(SettingKeys::Path, LastOpenedKey, folder);
}

QStringList TSettings::recentFiles() const
{
    QStringList files;
    for (int i = 1; i <= RecentFileCount; ++i) {
        const QString file = m_ini.ReadString(SettingKeys::FileRireki, QString::number(i), QString());
        if (!file.isEmpty())
            files << file;
    }
    return files;
}

void TSettings::setRecentFiles(const QStringList &files)
{
    TIniFile::UpdateScope update(m_ini);
    for (int i = 1; i <= RecentFileCount; ++i)
        m_ini.WriteString(SettingKeys::FileRireki, QString::number(i), files.value(i - 1));
}

QStringList TSettings::findHistory() const
{
    QStringList entries;
    for (int i = 0; i < FindHistoryCount; ++i) {
        const QString entry = m_ini.ReadString(SettingKeys::FindRireki, QString::number(i), QString());
        if (!entry.isEmpty())
            entries << entry;
    }
    return entries;
}

void TSettings::setFindHistory(const QStringList &entries)
{
    // A key left over from a longer list would come back as an entry at the next start.
    TIniFile::UpdateScope update(m_ini);
    for (int i = 0; i < qMax(FindHistoryCount, int(entries.size())); ++i)
        m_ini.WriteString(SettingKeys::FindRireki, QString::number(i), entries.value(i));
}
