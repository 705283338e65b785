#pragma once

#include "files/FileResult.h"

#include <QByteArray>
#include <QStringList>

// The file form shared by the exports: every line, the last included, ends with CR LF; the text
// is UTF-8 without a byte order mark or Shift_JIS, where a character it lacks becomes "?".
namespace ExportLines {

QByteArray encode(const QStringList &lines, bool utf8);

// The text for the user when path leads to documentFile, the open document's file (empty when
// the document has none), by whatever name: no export replaces it. Empty otherwise.
QString documentFileError(const QString &path, const QString &documentFile);

// Writes bytes as the file at path, which is replaced only once the new content is complete:
// a failure leaves no partial file and an old file as it was. The document's file is refused
// (documentFileError). The error text is for the user.
TFileResult write(const QString &path, const QByteArray &bytes, const QString &documentFile = QString());

} // namespace ExportLines
