#pragma once

#include "files/FileResult.h"

#include <QByteArray>
#include <QStringList>

// The file form shared by the exports: every line, the last included, ends with CR LF; the text
// is UTF-8 without a byte order mark or Shift_JIS, where a character it lacks becomes "?".
namespace ExportLines {

QByteArray encode(const QStringList &lines, bool utf8);

// Writes bytes as the file at path, which is replaced only once the new content is complete:
// a failure leaves no partial file and an old file as it was. The error text is for the user.
TFileResult write(const QString &path, const QByteArray &bytes);

} // namespace ExportLines
