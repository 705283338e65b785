#pragma once

#include <QStringList>

// The commands of olvek-cli that need only the core (convert, outline, format, find, count, the
// exports and import) and the help text. They run under a QCoreApplication; the text-mode and
// print commands, which need the widgets, are dispatched before them (CliMain.cpp).
namespace CoreCommands {

// Runs the command args.first() (the arguments after the program's name) and returns the exit
// code: the help text for --help, a usage error for no command or an unknown one.
int run(const QStringList &args);

} // namespace CoreCommands
