#pragma once

#include <QString>
#include <QStringList>

// The arguments of the benchmarks that work on a dotted text, "[TEXT] [RUNS]", and the reading of
// that text: by default the whole Japanese Debian Reference beside the checkout.
struct TBookText
{
    QString path;
    int runs = 21;
    QStringList lines;

    // Reads the text with reader (a function giving an error text or an empty one); false, with
    // the error printed, when it cannot be read.
    using Reader = QString (*)(const QString &path, QStringList &lines);
    bool read(const QStringList &arguments, Reader reader);
    // The import's reading of a text file (its encoding recognised), as a Reader.
    static QString importedLines(const QString &path, QStringList &lines);
};
