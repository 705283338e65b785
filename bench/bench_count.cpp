// Times the character counts.
//
//     bench_count document DOC.olvx [RUNS]   opening DOC (reading it into a tree) against counting
//                                            its main document (characters, lines, pages)
//     bench_count typing [KEYS]              keys typed into a 2 MB body in the real main window,
//                                            with the status bar's count off and on
#include "BenchWindow.h"
#include "KeyTyping.h"
#include "StepTiming.h"
#include "document/DocumentTree.h"
#include "document/TreeCount.h"
#include "editor/BodyCounter.h"
#include "editor/OlvekCompo.h"
#include "files/DocumentStorage.h"
#include "ui/StatusPanels.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {
int timeDocument(const QString &path, int runs)
{
    std::vector<double> openWall, openCpu;
    std::unique_ptr<TDocumentTree> tree;
    for (int i = 0; i <= runs; ++i) {
        tree.reset();
        auto fresh = std::make_unique<TDocumentTree>();
        QElapsedTimer timer;
        const double cpuStart = TStepTiming::cpuMs();
        timer.start();
        if (!TDocumentStorage::readDocumentFile(path, *fresh).ok) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
            return 1;
        }
        // The first run warms the caches.
        if (i > 0) {
            openWall.push_back(double(timer.nsecsElapsed()) / 1e6);
            openCpu.push_back(TStepTiming::cpuMs() - cpuStart);
        }
        tree = std::move(fresh);
    }
    TTreeCount counts;
    const TStepTiming count = TStepTiming::measure(runs, [&] { counts = TTreeCount::ofSubtree(tree->MainTitleNode()); });
    std::printf("main document: %lld items, %lld characters, %lld lines, %lld pages\n",
                static_cast<long long>(counts.items), static_cast<long long>(counts.text.characters),
                static_cast<long long>(counts.text.lines), static_cast<long long>(counts.text.pages()));
    const TStepTiming open{TStepTiming::median(openWall), TStepTiming::median(openCpu)};
    TStepTiming::report("open (read into a tree)", open);
    TStepTiming::report("count the main document", count);
    std::printf("count / open (CPU): %.3f\n", count.cpu / open.cpu);
    return 0;
}

// The body of bench_editor: 40,000 random Japanese lines, about 2 MB as UTF-8.
QStringList japaneseBody()
{
    const QString pool = QStringLiteral(
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
        "ニャーニャー泣いていた事だけは記憶している。漢字とひらがな、カタカナ、ＡＢＣ１２３、abc。");
    QRandomGenerator random(20261210);
    const int lineCount = 40000;
    const int average = int(2000000 * 96 / 100 / lineCount / 3);
    QStringList lines;
    qsizetype bytes = 0;
    for (int i = 0; i < lineCount; ++i) {
        int length = int(random.bounded(2 * average));
        if (i % 25 == 0)
            length = 0;
        else if (i % 40 == 0)
            length = average * 12;
        QString line;
        for (int k = 0; k < length; ++k)
            line += pool.at(int(random.bounded(int(pool.size()))));
        bytes += line.toUtf8().size() + 2;
        lines << line;
    }
    std::printf("body: %d lines, %lld bytes as UTF-8\n", lineCount, static_cast<long long>(bytes));
    return lines;
}

// Median time of one key (press, release, and the repaint and status updates it causes).
TStepTiming keyTiming(TOlvekEditor &editor, int keys)
{
    std::vector<double> wall, cpu;
    typeKeys(editor, keys, cpu, wall);
    return {TStepTiming::median(wall), TStepTiming::median(cpu)};
}

int timeTyping(int keys)
{
    TBenchWindow window(QStringLiteral(OLVEK_IMAGE_FILE));
    TMainForm &form = window.form();
    TOlvekEditor &editor = *form.Editor1;
    const QStringList body = japaneseBody();
    editor.setLines(body);
    editor.setFocus();
    // A line in the middle of the body, at its end.
    editor.setCaretLine(20001);
    editor.setCaretColumn(int(body[20000].size()) + 1);
    QApplication::processEvents();
    form.BodyCounter->setEnabled(false);
    TStepTiming::report("key, count off", keyTiming(editor, keys));
    QElapsedTimer timer;
    timer.start();
    form.BodyCounter->setEnabled(true);
    std::printf("first count of the body (switching the count on): %.1f ms\n", double(timer.nsecsElapsed()) / 1e6);
    TStepTiming::report("key, count on", keyTiming(editor, keys));
    std::printf("panel: %s\n", qPrintable(form.stbarEditor->panelText(5)));
    // Selecting an item loads its body: the count is taken once for the whole text.
    const auto load = [&] {
        editor.setLines(body);
        QApplication::processEvents();
    };
    TStepTiming::report("load the body, count on", TStepTiming::measure(5, load));
    form.BodyCounter->setEnabled(false);
    TStepTiming::report("load the body, count off", TStepTiming::measure(5, load));
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("document"))
        return timeDocument(args[2], args.size() > 3 ? args[3].toInt() : 5);
    if (args.size() >= 2 && args[1] == QLatin1String("typing"))
        return timeTyping(args.size() > 2 ? args[2].toInt() : 200);
    std::fprintf(stderr, "usage: bench_count document DOC.olvx [RUNS] | typing [KEYS]\n");
    return 1;
}
