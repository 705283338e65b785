#pragma once

#include <QStringList>

// olvek-cli count DOC [N]: characters and manuscript pages of every item of the main document
// or of the subtree of item N, then a total line. args are the command's arguments without
// "count". Returns the exit code.
int runCountCommand(const QStringList &args);
