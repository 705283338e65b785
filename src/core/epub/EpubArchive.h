#pragma once

#include "EpubFile.h"
#include "files/FileResult.h"

#include <QDateTime>
#include <vector>

// The zip container of an EPUB book, made by libzip: the files in the order given (the
// "mimetype" file first), each with the time given as its date.
class TEpubArchive
{
public:
    // The archive's bytes; empty with error set when libzip failed.
    static QByteArray zip(const std::vector<TEpubFile> &files, const QDateTime &time, QString &error);
};
