// Imports a dotted text file (the whole Japanese Debian Reference by default, in UTF-8 or in
// Shift_JIS) as a new document, as the import command does: read and decode the file, then build
// the items under the main title with the item model attached, as in the program. Prints the
// median of several runs for each step, in milliseconds.
//
//   bench_import [TEXT] [RUNS]     (TEXT relative to the current folder)
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "export/ImportFile.h"

#include "BookText.h"
#include "StepTiming.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    TBookText book;
    if (!book.read(args, TBookText::importedLines))
        return 1;
    const QString &path = book.path;
    const int runs = book.runs;
    QStringList &lines = book.lines;
    TDocumentTree tree;
    TDocumentModel model(&tree);
    const auto build = [&] {
        tree.createRootFolders();
        TImportFile::Apply(tree, tree.MainTitleNode(), TImportFile::Mode::NewDocument, lines);
    };
    build();
    std::printf("%s: %lld lines, %d items in the document; median of %d runs\n", qPrintable(path),
                static_cast<long long>(lines.size()), tree.count(), runs);

    TStepTiming::report("read and decode", TStepTiming::measure(runs, [&] { TImportFile::Read(path, lines); }));
    TStepTiming::report("build the items", TStepTiming::measure(runs, build));
    TStepTiming::report("read, decode and build", TStepTiming::measure(runs, [&] {
        TImportFile::Read(path, lines);
        build();
    }));
    return 0;
}
