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

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {
struct TTiming
{
    double wall;
    double cpu;
};

double cpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return 1e3 * double(now.tv_sec) + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs step runs times; the first, unmeasured run warms the allocator and the caches.
TTiming measure(int runs, const std::function<void()> &step)
{
    step();
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double cpuStart = cpuMs();
        timer.start();
        step();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }
    return {median(wall), median(cpu)};
}

void report(const char *step, const TTiming &timing)
{
    std::printf("%-44s wall %8.2f ms   cpu %8.2f ms\n", step, timing.wall, timing.cpu);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString path = args.size() > 1 ? args[1] : QStringLiteral("../shared/corpus/debian-reference-ja.utf8.txt");
    const int runs = args.size() > 2 ? args[2].toInt() : 21;

    QStringList lines;
    const QString error = DottedTextFile::read(path, lines);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
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
    report("TreeToText", measure(runs, [&] { text = TreeText::TreeToText(item); }));
    report("ParseText of that text", measure(runs, [&] {
        HeadingParser::ParseText(TreeText::ParseLines(text), false, headings);
    }));
    report("TextToTree", measure(runs, [&] { TreeText::TextToTree(tree, item, headings); }));
    report("TreeToText + TextToTree", measure(runs, [&] {
        text = TreeText::TreeToText(item);
        TreeText::TextToTree(tree, item, headings);
    }));
    report("TreeToText + ParseText + TextToTree", measure(runs, [&] {
        text = TreeText::TreeToText(item);
        HeadingParser::ParseText(TreeText::ParseLines(text), false, headings);
        TreeText::TextToTree(tree, item, headings);
    }));
    return 0;
}
