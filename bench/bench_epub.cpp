// Exports a dotted text file (the whole Japanese Debian Reference by default) as an EPUB book, as
// the EPUB export does: make the book's files, zip them, write the book through a temporary file.
// Prints the median of several runs for each step, in milliseconds (target for the whole export:
// at most 1 s).
//
//   bench_epub [TEXT] [RUNS]     (TEXT relative to the current folder)
#include "document/DocumentTree.h"
#include "epub/EpubArchive.h"
#include "epub/EpubBook.h"
#include "export/ImportFile.h"

#include "BookText.h"
#include "StepTiming.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TBookText book;
    if (!book.read(app.arguments(), TBookText::importedLines))
        return 1;
    TDocumentTree tree;
    tree.createRootFolders();
    TImportFile::Apply(tree, tree.MainTitleNode(), TImportFile::Mode::NewDocument, book.lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.epub"));
    for (const bool vertical : {true, false}) {
        TEpubOptions options;
        options.vertical = vertical;
        options.author = QStringLiteral("著者");
        options.modified = QDateTime::currentDateTimeUtc();
        const std::vector<TEpubFile> files = TEpubBook::Files(tree, options);
        QString error;
        const QByteArray zipped = TEpubArchive::zip(files, options.modified, error);
        qint64 text = 0;
        for (const TEpubFile &file : files)
            text += file.bytes.size();
        std::printf("%s, %s: %d items, %zu files, %lld bytes of text, %lld bytes zipped; median of %d runs\n",
                    qPrintable(book.path), vertical ? "vertical" : "horizontal", tree.count(), files.size(),
                    static_cast<long long>(text), static_cast<long long>(zipped.size()), book.runs);
        TStepTiming::report("make the files", TStepTiming::measure(book.runs, [&] { TEpubBook::Files(tree, options); }));
        TStepTiming::report("zip them", TStepTiming::measure(book.runs, [&] { TEpubArchive::zip(files, options.modified, error); }));
        TStepTiming::report("the whole export", TStepTiming::measure(book.runs, [&] {
            if (!TEpubBook::Write(tree, path, options).ok)
                std::printf("could not write %s\n", qPrintable(path));
        }));
    }
    return 0;
}
