#pragma once

#include <QString>

// The file that saving under a document's name really replaces. A symbolic link is followed to
// the file it finally names, so that the link stays a link and the file it leads to gets the new
// content (and the backup copies beside it). Only a regular file, or a name under which nothing
// exists yet, may be replaced: writing a new file over a folder, a device or a FIFO would take
// its place, so those are refused.
class TSaveTarget
{
public:
    explicit TSaveTarget(const QString &path);

    // The name to write: path itself, or the end of its chain of symbolic links.
    const QString &path() const { return m_path; }
    bool exists() const { return m_exists; }
    // A text for the user when nothing may be written there, otherwise empty.
    const QString &error() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    bool m_exists = false;
};
