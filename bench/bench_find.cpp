// Times the find dialog's search and the replace dialog's replace-all.
//
//     bench_find search DOC.olvx WORD [RUNS]   search every body of DOC for WORD, side by side
//                                              with `rg -c WORD` over the same bodies as one file
//     bench_find book TEXT WORD [RUNS]         the same over a dotted text imported as items
//     bench_find grid HITS                     the find dialog showing HITS hits
//     bench_find window DOC.olvx WORD          the "検索" button in the real main window on DOC:
//                                              search, grid and jump
//     bench_find replace ITEMS WORD            replace-all of WORD in ITEMS items, each holding it,
//                                              in the real main window
#include "BenchWindow.h"
#include "StepTiming.h"
#include "app/EditingSession.h"
#include "app/FindCommands.h"
#include "app/MainUnit.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "engine/OlvekEngine.h"
#include "files/DocumentStorage.h"
#include "search/FindRecordList.h"
#include "search/TextScan.h"
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"
#include "textmode/TreeText.h"
#include "ui/FindGridModel.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/ReplaceDialog.h"
#include "ui/findFormU1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return 1e3 * (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Every searched body, as the search reads it, in one UTF-8 file.
bool writeBodies(const TDocumentTree &tree, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const TTreeNode *node = tree.first(); node; node = node->next()) {
        if (node != tree.WorkFolderNode() && node != tree.TrashNode() && node->data())
            file.write(node->data()->text().toUtf8());
    }
    return true;
}

// The search and rg, alternately, runs times each.
int compareWithRipgrep(const TDocumentTree &tree, const QString &word, int runs)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("bodies.txt"));
    if (!writeBodies(tree, text))
        return 1;
    std::printf("%d items, bodies %lld bytes as UTF-8, word \"%s\"\n", tree.count(), QFile(text).size(),
                word.toUtf8().constData());
    for (const bool caseSensitive : {true, false}) {
        std::vector<double> searchWall, searchCpu, rgWall, rgCpu;
        size_t hits = 0;
        QByteArray rgOut;
        for (int run = 0; run <= runs; ++run) {
            std::vector<TFindRecord> records;
            QElapsedTimer timer;
            const double cpuStart = 1e3 * double(std::clock()) / CLOCKS_PER_SEC;
            timer.start();
            TTextScan(word, caseSensitive).searchDocument(tree, records);
            const double wall = timer.nsecsElapsed() / 1e6;
            const double cpu = 1e3 * double(std::clock()) / CLOCKS_PER_SEC - cpuStart;
            hits = records.size();

            QProcess rg;
            QStringList args{QStringLiteral("-c")};
            if (!caseSensitive)
                args << QStringLiteral("-i");
            args << word << text;
            const double rgCpuStart = childCpuMs();
            timer.start();
            rg.start(QStringLiteral("rg"), args);
            if (!rg.waitForFinished(-1) || rg.exitStatus() != QProcess::NormalExit) {
                std::printf("rg could not run\n");
                return 1;
            }
            const double rgTime = timer.nsecsElapsed() / 1e6;
            rgOut = rg.readAllStandardOutput().trimmed();
            if (run == 0)
                continue; // warming up both
            searchWall.push_back(wall);
            searchCpu.push_back(cpu);
            rgWall.push_back(rgTime);
            rgCpu.push_back(childCpuMs() - rgCpuStart);
        }
        std::printf("%s: %zu hits (rg: %s matching lines), medians of %d runs\n",
                    caseSensitive ? "case counts" : "case ignored", hits, rgOut.constData(), runs);
        std::printf("  search   wall %8.2f ms   cpu %8.2f ms\n", median(searchWall), median(searchCpu));
        std::printf("  rg -c%s   wall %8.2f ms   cpu %8.2f ms\n", caseSensitive ? "  " : " -i", median(rgWall),
                    median(rgCpu));
        std::printf("  ratio    wall %8.2f      cpu %8.2f\n", median(searchWall) / median(rgWall),
                    median(searchCpu) / median(rgCpu));
    }
    return 0;
}

int grid(int hits)
{
    TDocumentTree tree;
    tree.createRootFolders();
    TFindRecordList list;
    for (int i = 0; i < hits; ++i)
        list.records().push_back({0, i, QStringLiteral("本文の一部、検索した語から四十文字まで")});
    TFindForm form;
    form.show();
    QApplication::processEvents();
    TStepTiming::report("fill the grid and paint it", TStepTiming::measure(5, [&] {
                            form.gridModel()->fill(&list, &tree);
                            form.setCurrentRow(1);
                            form.repaint();
                        }));
    TStepTiming::report("go to the last row and paint", TStepTiming::measure(5, [&] {
                            form.setCurrentRow(1);
                            form.setCurrentRow(hits);
                            form.repaint();
                        }));
    return 0;
}

// Answers every question with Yes and every message with OK.
class TYesPrompt : public TPrompt
{
protected:
    Answer ask(Kind kind, const QString &) override { return kind == Kind::YesNo ? Answer::Yes : Answer::Ok; }
    FileChoice chooseFile(Kind, const FileRequest &) override { return {}; }
};

// Records the longest time the window went without painting while filter is installed.
class TPaintGaps : public QObject
{
public:
    qint64 longest = 0;
    QElapsedTimer sincePaint;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            longest = std::max(longest, sincePaint.elapsed());
            sincePaint.start();
        }
        return QObject::eventFilter(watched, event);
    }
};

int replace(int items, const QString &word)
{
    TYesPrompt prompt;
    TPrompt::setCurrent(&prompt);
    TBenchWindow shown(QStringLiteral(OLVEK_IMAGE_FILE));
    TMainForm &form = shown.form();
    TMain &main = shown.main();
    TDocumentTree &tree = *form.document();
    for (int i = 0; i < items; ++i) {
        auto data = std::make_unique<TNodeData>();
        data->Lines = {QStringLiteral("第%1節の本文。").arg(i) + word + QStringLiteral("を含む行"), QStringLiteral("二行目")};
        tree.addChild(tree.MainTitleNode(), QStringLiteral("項目%1").arg(i), std::move(data));
    }
    form.TreeView1->setSelectedNode(tree.MainTitleNode());
    form.TreeView1->completePendingChange();
    QApplication::processEvents();
    auto *find = main.session()->findChild<TFindCommands *>();
    find->replaceDialog()->eFindText->setText(word);
    find->replaceDialog()->eReplaceText->setText(word + word);
    TPaintGaps gaps;
    qApp->installEventFilter(&gaps);
    gaps.sincePaint.start();
    QElapsedTimer timer;
    timer.start();
    find->ReplaceReplaceAll();
    const double wall = timer.nsecsElapsed() / 1e6;
    form.repaint();
    qApp->removeEventFilter(&gaps);
    // The last item's replacement is still in the editor.
    main.session()->engine()->Commit(form.TreeView1->selectedNode(), form.Editor1->isModified());
    int changed = 0;
    for (const TTreeNode *node = tree.MainTitleNode()->firstChild(); node; node = node->nextSibling())
        changed += node->data()->Lines.value(0).contains(word + word) ? 1 : 0;
    std::printf("replace-all in %d items: %.1f ms, %d items changed, longest time without painting %lld ms\n",
                items, wall, changed, gaps.longest);
    return 0;
}
int window(const QString &file, const QString &word)
{
    TYesPrompt prompt;
    TPrompt::setCurrent(&prompt);
    TBenchWindow shown(QStringLiteral(OLVEK_IMAGE_FILE));
    TMainForm &form = shown.form();
    TMain &main = shown.main();
    main.session()->openStartupDocument(file, TSettings(form.settingsFile()));
    QApplication::processEvents();
    auto *find = main.session()->findChild<TFindCommands *>();
    find->Find();
    find->findForm()->cbFindString->setEditText(word);
    QApplication::processEvents();
    TStepTiming::report("search button: search, grid, jump, painted", TStepTiming::measure(9, [&] {
                            find->Search();
                            QApplication::processEvents();
                            find->findForm()->repaint();
                        }));
    std::printf("%d hits\n", main.findHits().count());
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == QLatin1String("search") && args.size() >= 3) {
        TDocumentTree tree;
        const TFileResult read = TDocumentStorage::readDocumentFile(args[1], tree);
        if (!read.ok) {
            std::printf("%s\n", read.error.toUtf8().constData());
            return 1;
        }
        return compareWithRipgrep(tree, args[2], args.value(3, QStringLiteral("9")).toInt());
    }
    if (mode == QLatin1String("book") && args.size() >= 3) {
        QStringList lines;
        const QString error = DottedTextFile::read(args[1], lines);
        if (!error.isEmpty()) {
            std::printf("%s\n", error.toUtf8().constData());
            return 1;
        }
        TDocumentTree tree;
        tree.createRootFolders();
        TLumenoTreeList headings;
        HeadingParser::ParseText(lines, false, headings);
        TreeText::TextToTree(tree, tree.MainTitleNode(), headings);
        return compareWithRipgrep(tree, args[2], args.value(3, QStringLiteral("31")).toInt());
    }
    if (mode == QLatin1String("grid"))
        return grid(args.value(1, QStringLiteral("100000")).toInt());
    if (mode == QLatin1String("window") && args.size() >= 3)
        return window(args[1], args[2]);
    if (mode == QLatin1String("replace") && args.size() >= 3)
        return replace(args[1].toInt(), args[2]);
    std::printf("usage: bench_find search DOC.olvx WORD [RUNS] | book TEXT WORD [RUNS] | grid HITS | window DOC.olvx WORD | replace ITEMS WORD\n");
    return 1;
}
