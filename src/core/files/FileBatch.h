#pragma once

#include "FileResult.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QTemporaryDir;

// Writes many files into one folder without waiting for the disk after each of them, and still
// replaces none of the folder's files with a half-written one. Each file is written into a hidden
// temporary folder beside them; commit() puts them all on the disk with one sync of the file
// system, gives each its name, and makes the names durable with one sync of the folder. Whatever
// was not committed is removed with the temporary folder, so a batch that failed or was given up
// before its commit leaves the folder as it was.
class TFileBatch
{
public:
    explicit TFileBatch(const QString &folder);
    ~TFileBatch();
    TFileBatch(const TFileBatch &) = delete;
    TFileBatch &operator=(const TFileBatch &) = delete;

    // A text for the user when the temporary folder could not be made; nothing can be added then.
    const QString &error() const { return m_error; }

    // Writes bytes as the file that will be path (in the batch's folder) once committed. A name
    // that a folder or a device holds is refused, as saving refuses it.
    TFileResult add(const QString &path, const QByteArray &bytes);
    // Puts every file added in place; on a failure the files not yet in place are removed.
    TFileResult commit();

private:
    struct TEntry
    {
        QString written; // in the temporary folder
        QString target;
    };

    QString m_folder;
    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_error;
    std::vector<TEntry> m_entries;
};
