#pragma once

#include <QString>

// The outcome of reading or writing a document file. error is a text for the user;
// refused marks a document the legacy writer declined (nothing was written).
struct TFileResult
{
    bool ok = false;
    bool refused = false;
    QString error;
    // The format version read from or written to the file.
    qint64 version = 0;
    // NUL characters of the file that the read replaced by U+FFFD (TNulCharacters).
    qsizetype nulCharacters = 0;
    // Written: the number of titles that lost characters the format cannot carry ("?" for each).
    int changedTitles = 0;

    static TFileResult success(qint64 version)
    {
        TFileResult r;
        r.ok = true;
        r.version = version;
        return r;
    }
    static TFileResult failure(const QString &error)
    {
        TFileResult r;
        r.error = error;
        return r;
    }
};
