#pragma once

#include "app/ThemeChoice.h"

// The program's look as a whole: the widget style and palette of every window.
namespace ThemeStyle {

// What the desktop asks for, read as a Qt 6.4 program can: the freedesktop settings portal
// (org.freedesktop.appearance color-scheme, over the session bus, only when a portal is running),
// then GTK's theme (GTK_THEME, gtk-3.0/gtk-4.0 settings.ini), then the lightness of the palette
// the desktop gave the program.
bool desktopPrefersDark();

// Gives every window the theme's look and makes its colours current (TThemeColors). The light
// look is the desktop's own style and palette as they were before the first call (Fusion's own
// light palette when the desktop's is dark); the dark look is Fusion with the program's dark
// palette. Returns whether the look is dark.
bool apply(TTheme theme);

} // namespace ThemeStyle
