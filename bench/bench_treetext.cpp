// Imports a dotted text file (the whole Japanese Debian Reference by default) as the subtree of
// one item, as leaving the text mode does, and times the conversions between that subtree and
// its text; prints the median of several runs for each step, in milliseconds. The document has
// its item model attached, as in the program, so that every insertion and removal is announced.
//
//   bench_treetext [TEXT] [RUNS]     (TEXT relative to the current folder)
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"
#include "textmode/TreeText.h"

#include "BookText.h"
#include "StepTiming.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    TBookText book;
    if (!book.read(args, DottedTextFile::read))
        return 1;
    const QString &path = book.path;
    const int runs = book.runs;
    const QStringList &lines = book.lines;
    TDocumentTree tree;
    TDocumentModel model(&tree);
    tree.createRootFolders();
    TTreeNode *item = tree.addChild(tree.MainTitleNode(), tree.defaultTitle(), std::make_unique<TNodeData>());
    TLumenoTreeList headings;
    HeadingParser::ParseText(lines, false, headings);
    TreeText::TextToTree(tree, item, headings);
    std::printf("%s: %lld lines, %d headings, %d items in the document; median of %d runs\n",
                qPrintable(path), static_cast<long long>(lines.size()), headings.count(), tree.count(), runs);

    QStringList text;
    TStepTiming::report("TreeToText", TStepTiming::measure(runs, [&] { text = TreeText::TreeToText(item); }));
    TStepTiming::report("ParseText of that text", TStepTiming::measure(runs, [&] {
        HeadingParser::ParseText(TreeText::ParseLines(text), false, headings);
    }));
    TStepTiming::report("TextToTree", TStepTiming::measure(runs, [&] { TreeText::TextToTree(tree, item, headings); }));
    TStepTiming::report("TreeToText + TextToTree", TStepTiming::measure(runs, [&] {
        text = TreeText::TreeToText(item);
        TreeText::TextToTree(tree, item, headings);
    }));
    TStepTiming::report("TreeToText + ParseText + TextToTree", TStepTiming::measure(runs, [&] {
        text = TreeText::TreeToText(item);
        HeadingParser::ParseText(TreeText::ParseLines(text), false, headings);
        TreeText::TextToTree(tree, item, headings);
    }));
    return 0;
}
