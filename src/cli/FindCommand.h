#pragma once

#include <QStringList>

// olvek-cli find DOC STRING [--case]: the find dialog's search on a document, one line per hit.
// args are the command's arguments without "find". Returns the exit code.
int runFindCommand(const QStringList &args);
