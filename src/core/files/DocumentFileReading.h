#pragma once

#include <QString>

class QFile;

namespace DocumentFileReading {

// The largest document file the readers take: the JSON parser's limit. The legacy reader, which
// holds its whole file in memory as well, keeps to the same one.
constexpr qint64 MaxFileSize = 0xFFFFFFFF;

// Opens file (whose name is set) for reading; returns an error text when it does not exist, is
// a folder, is not a regular file (a device or a FIFO, whose reading might never end or never
// begin), is larger than MaxFileSize or cannot be opened, otherwise the empty string.
QString open(QFile &file);

// The error text for a document with fewer than the three root folders every file must have.
QString tooFewRootsError();

// The error text for items nested deeper than a reader accepts.
QString tooDeepError(int maxDepth);

// The error text for a file larger than the reader can hold.
QString tooLargeError(const QString &path);

} // namespace DocumentFileReading
