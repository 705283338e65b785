#pragma once

#include "FileResult.h"

#include <QString>
#include <functional>

class QIODevice;

// Writes a file so that it is replaced only when complete: the content goes to a temporary file
// in the target's folder, which is renamed over the target after it was flushed. A failure at any
// step leaves the old file as it was.
class TSavedFile
{
public:
    // writer returns false when writing failed; version is reported back on success.
    static TFileResult save(const QString &path, const std::function<bool(QIODevice &)> &writer,
                            qint64 version);
};
