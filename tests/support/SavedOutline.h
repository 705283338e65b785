#pragma once

#include <QStringList>

// What a saved document holds below its main title, for tests that check a file the program or
// the command-line tool wrote: one entry per item of the main title's subtree, "depth title:
// body" with the body lines joined by "/"; {"unreadable"} when the file cannot be read.
QStringList savedOutline(const QString &path);
