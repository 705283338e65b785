#pragma once

#include "FileResult.h"

#include <QString>
#include <functional>

class QIODevice;

// Writes a file so that it is replaced only when complete: the content goes to a file of its own
// in the target's folder, which is flushed, named "<target>.olvek-new" and then renamed over the
// target. A failure at any step leaves the old file as it was; a process killed meanwhile leaves
// at most that side name (or, where the file system has no unnamed files, QSaveFile's
// "<target>.olvek-new.XXXXXX"), which the next save of the target removes. A symbolic link is
// written through (TSaveTarget); the new file keeps the permissions and, where the system allows,
// the owner and group of the old one.
class TSavedFile
{
public:
    // writer returns false when writing failed; version is reported back on success.
    // beforeReplace runs once the new content is complete, just before it takes the name (the
    // backup copies are put in place there).
    static TFileResult save(const QString &path, const std::function<bool(QIODevice &)> &writer,
                            qint64 version, const std::function<void()> &beforeReplace = {});

    // Gives the open file behind handle the permissions of the file at path, and its owner and
    // group when they differ and the system allows the change.
    static void keepOwnerAndMode(int handle, const QString &path);

    // The name the new content takes just before it replaces target.
    static QString sideName(const QString &target);

private:
    // Removes what a save of target that was cut off left behind.
    static void removeLeftovers(const QString &target);
};
