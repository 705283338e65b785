#pragma once

#include "FileResult.h"

#include <QString>
#include <functional>

class QIODevice;

// Writes a file so that it is replaced only when complete: the content goes to a temporary file
// in the target's folder, which is renamed over the target after it was flushed. A failure at any
// step leaves the old file as it was. A symbolic link is written through (TSaveTarget); the new
// file keeps the permissions and, where the system allows, the owner and group of the old one.
class TSavedFile
{
public:
    // writer returns false when writing failed; version is reported back on success.
    // beforeReplace runs once the new content is complete, just before it takes the name (the
    // backup copies are put in place there).
    static TFileResult save(const QString &path, const std::function<bool(QIODevice &)> &writer,
                            qint64 version, const std::function<void()> &beforeReplace = {});

    // Gives the open file behind handle the owner and group of the file at path, when they differ
    // and the system allows the change.
    static void keepOwner(int handle, const QString &path);
};
