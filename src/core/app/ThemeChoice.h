#pragma once

#include <QString>
#include <optional>

// The colours the writer chose for every window (setting Form/Theme).
enum class TTheme { Light, Dark, System };

namespace ThemeChoice {
// "light", "dark" or "system" in any case; anything else follows the desktop.
TTheme fromText(const QString &text);
QString toText(TTheme theme);

// What the desktop tells a program about its light or dark look, from the places a Qt 6.4
// program can look at (Qt 6.4 has no colour-scheme call of its own).
struct TDesktopHints
{
    // The freedesktop settings portal's org.freedesktop.appearance color-scheme: 0 no
    // preference, 1 dark, 2 light; nothing when no portal answered.
    std::optional<unsigned> portalColorScheme;
    // The GTK_THEME environment variable ("Adwaita:dark").
    QString gtkThemeVariable;
    // The GTK settings files (gtk-4.0 and gtk-3.0 settings.ini), one after the other.
    QString gtkSettings;
    // The HSL lightness (0 to 255) of the window colour of the palette the desktop gave the
    // program before it chose its own.
    int windowLightness = 255;
};

// The first that speaks decides: the portal's preference; a GTK theme named dark
// ("…:dark", "…-dark") or gtk-application-prefer-dark-theme; otherwise the palette's window colour
// darker than middle grey.
bool desktopPrefersDark(const TDesktopHints &hints);

// GTK_THEME and the settings files under XDG_CONFIG_HOME (or ~/.config).
TDesktopHints readGtkHints();
} // namespace ThemeChoice
