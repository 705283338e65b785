#pragma once

#include <QString>

// Where the settings file lives: beside the program, named after it with ".ini"; when the
// program's folder is not writable (an installed program), in the user's configuration folder.
namespace SettingsLocation {
// The program file's path with its extension (if any) replaced by extension (".ini", ".bmp").
QString besideProgram(const QString &programFile, const QString &extension);
// besideProgram(programFile, ".ini") when its folder is writable, otherwise
// configHome/olvek/olvek.ini. An empty or relative configHome means ~/.config.
QString choose(const QString &programFile, const QString &configHome);
// choose() for the running program and $XDG_CONFIG_HOME.
QString forThisProgram();
} // namespace SettingsLocation
