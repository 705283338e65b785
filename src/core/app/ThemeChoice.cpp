#include "ThemeChoice.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
bool darkThemeName(QStringView name)
{
    const QString lower = name.trimmed().toString().toLower();
    return lower.endsWith(QLatin1String(":dark")) || lower.endsWith(QLatin1String("-dark"))
        || lower.endsWith(QLatin1String("_dark"));
}

// The value of key in the settings text's [Settings] lines (the GTK files hold only that group).
QString gtkValue(const QString &settings, const QString &key)
{
    const QRegularExpression line(QStringLiteral("^\\s*%1\\s*=\\s*(.*?)\\s*$").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(settings);
    return match.hasMatch() ? match.captured(1) : QString();
}
} // namespace

TTheme ThemeChoice::fromText(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("light"))
        return TTheme::Light;
    if (t == QLatin1String("dark"))
        return TTheme::Dark;
    return TTheme::System;
}

QString ThemeChoice::toText(TTheme theme)
{
    switch (theme) {
    case TTheme::Light: return QStringLiteral("light");
    case TTheme::Dark: return QStringLiteral("dark");
    case TTheme::System: break;
    }
    return QStringLiteral("system");
}

bool ThemeChoice::desktopPrefersDark(const TDesktopHints &hints)
{
    if (hints.portalColorScheme == 1u)
        return true;
    if (hints.portalColorScheme == 2u)
        return false;
    if (!hints.gtkThemeVariable.trimmed().isEmpty())
        return darkThemeName(hints.gtkThemeVariable);
    const QString prefer = gtkValue(hints.gtkSettings, QStringLiteral("gtk-application-prefer-dark-theme")).toLower();
    if (prefer == QLatin1String("1") || prefer == QLatin1String("true"))
        return true;
    if (darkThemeName(gtkValue(hints.gtkSettings, QStringLiteral("gtk-theme-name"))))
        return true;
    return hints.windowLightness < 128;
}

ThemeChoice::TDesktopHints ThemeChoice::readGtkHints()
{
    TDesktopHints hints;
    hints.gtkThemeVariable = qEnvironmentVariable("GTK_THEME");
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    for (const char *folder : {"gtk-4.0", "gtk-3.0"}) {
        QFile file(QDir(config).filePath(QLatin1String(folder) + QStringLiteral("/settings.ini")));
        if (file.open(QIODevice::ReadOnly))
            hints.gtkSettings += QString::fromUtf8(file.read(64 * 1024)) + u'\n';
    }
    return hints;
}
