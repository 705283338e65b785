#include "BookText.h"

#include "export/ImportFile.h"

#include <cstdio>

bool TBookText::read(const QStringList &arguments, Reader reader)
{
    path = arguments.size() > 1 ? arguments[1] : QStringLiteral("../shared/corpus/debian-reference-ja.utf8.txt");
    if (arguments.size() > 2)
        runs = arguments[2].toInt();
    const QString error = reader(path, lines);
    if (error.isEmpty())
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
}

QString TBookText::importedLines(const QString &path, QStringList &lines)
{
    return TImportFile::Read(path, lines);
}
