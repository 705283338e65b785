#pragma once

#include <QString>

class QFile;

namespace DocumentFileReading {

// Opens file (whose name is set) for reading; returns an error text when it does not exist,
// is a folder or cannot be opened, otherwise the empty string.
QString open(QFile &file);

// The error text for a document with fewer than the three root folders every file must have.
QString tooFewRootsError();

// The error text for items nested deeper than a reader accepts.
QString tooDeepError(int maxDepth);

} // namespace DocumentFileReading
