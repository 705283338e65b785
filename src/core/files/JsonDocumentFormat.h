#pragma once

#include "FileResult.h"

#include <QDateTime>
#include <QString>
#include <functional>

class QIODevice;
class TDocumentTree;

// The current document format (".olvx"): one JSON text in UTF-8.
class TJsonDocumentFormat
{
public:
    static constexpr qint64 FormatVersion = 20000;
    // Items nested deeper than this are refused by the reader.
    static constexpr int MaxDepth = 400;

    // Replaces target's items by the file's, and expands them as stored. On failure target is
    // left as it was. Root references and the new-item counter are the caller's business.
    static TFileResult read(const QString &path, TDocumentTree &target);

    // Writes the tree through a temporary file that replaces path only once it is complete
    // (TSavedFile; beforeReplace runs just before). docName is stored in the file (normally
    // path itself).
    static TFileResult write(const QString &path, const TDocumentTree &tree, const QString &docName,
                             const QDateTime &date = QDateTime::currentDateTime(),
                             const std::function<void()> &beforeReplace = {});
    static bool writeTo(QIODevice &device, const TDocumentTree &tree, const QString &docName,
                        const QDateTime &date);

    // "2016-05-01T09:05:03.007+09:00": local time with its offset from UTC, "Z" for none.
    static QString formatDate(const QDateTime &date);
};
