#include "ThemeStyle.h"

#include "ThemeColors.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStyle>
#include <QStyleFactory>

#include <memory>
#include <optional>

namespace {
// The desktop's own look, taken before the program changes it.
struct TDesktopLook
{
    QString style;
    QPalette palette;
};

const TDesktopLook &desktopLook()
{
    static const TDesktopLook look{QApplication::style()->name(), QApplication::palette()};
    return look;
}

std::optional<unsigned> portalColorScheme()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    // Only a portal already running is asked: starting one could keep the window waiting.
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service).value())
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.freedesktop.portal.Settings"),
                                                       QStringLiteral("Read"));
    call << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    // The value comes wrapped in one variant, or two with older portals.
    QVariant value = reply.arguments().constFirst();
    while (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const unsigned scheme = value.toUInt(&ok);
    return ok ? std::optional<unsigned>(scheme) : std::nullopt;
}
} // namespace

bool ThemeStyle::desktopPrefersDark()
{
    ThemeChoice::TDesktopHints hints = ThemeChoice::readGtkHints();
    hints.portalColorScheme = portalColorScheme();
    hints.windowLightness = desktopLook().palette.color(QPalette::Active, QPalette::Window).lightness();
    return ThemeChoice::desktopPrefersDark(hints);
}

bool ThemeStyle::apply(TTheme theme)
{
    const TDesktopLook &desktop = desktopLook();
    const bool dark = theme == TTheme::Dark || (theme == TTheme::System && desktopPrefersDark());
    const QString style = dark ? QStringLiteral("Fusion") : desktop.style;
    if (QApplication::style()->name().compare(style, Qt::CaseInsensitive) != 0)
        QApplication::setStyle(style);
    TThemeColors colors;
    if (dark) {
        colors = TThemeColors::dark();
    } else if (desktop.palette.color(QPalette::Active, QPalette::Window).lightness() >= 128) {
        colors = TThemeColors::light(desktop.palette);
    } else {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        colors = TThemeColors::light(fusion->standardPalette());
    }
    TThemeColors::setCurrent(colors);
    if (QApplication::palette() != colors.palette)
        QApplication::setPalette(colors.palette);
    return dark;
}
