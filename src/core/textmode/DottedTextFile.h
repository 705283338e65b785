#pragma once

#include <QString>
#include <QStringList>

// A dotted text given as a file (UTF-8) rather than typed into the editor.
namespace DottedTextFile {

// Reads the file at path into lines: it is split at CR LF, lone CR and lone LF, a break at the
// very end adds no empty line, and a leading byte order mark is skipped; every other character,
// NUL included, stays in its line. Returns an error text when the file cannot be opened as a
// regular file, is not valid UTF-8 (decoding it anyway would change the text without saying
// so) or is too large for the memory left, otherwise the empty string.
QString read(const QString &path, QStringList &lines);

} // namespace DottedTextFile
