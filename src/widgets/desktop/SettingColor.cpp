#include "SettingColor.h"

#include "DesktopColors.h"
#include "app/Settings.h"

#include <stdexcept>

std::optional<QColor> settingColor(const TSettings &settings, const TColorSetting &key, const QPalette &palette)
{
    const std::optional<TColor> value = settings.value(key);
    if (!value) {
        const QString text = settings.ini().ReadString(key.section, key.key, QString());
        throw std::runtime_error(
            QStringLiteral("色の指定が正しくありません: [%1] %2=%3").arg(key.section, key.key, text).toStdString());
    }
    const QColor color = TDesktopColors::toQColor(*value, palette);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}
