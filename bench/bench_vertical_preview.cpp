// Times the vertical preview's update: from handing it an item's lines until its script has
// replaced them and laid the page out again (it brings the caret's line into view, which needs
// the layout), for a whole item and for one changed line (typing).
//
//     bench_vertical_preview [CHARACTERS] [RUNS] [TEXT]
//
// The item is the first CHARACTERS (30000) of the body lines of TEXT (the Japanese Debian
// Reference beside the checkout, run from the project's root), every 25th line with a ruby and
// a 縦中横 number in front; each run changes its first line, so the page cannot keep anything.
#include "StepTiming.h"
#include "vertical/VerticalPreviewPane.h"
#include "vertical/WebEngineSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
QStringList item(const QStringList &source, int characters, int variant)
{
    QStringList lines;
    int total = 0;
    for (const QString &line : source) {
        if (total >= characters)
            break;
        if (line.startsWith(u'.'))
            continue;
        lines.append(lines.size() % 25 == 0 ? QStringLiteral("｜東京《とうきょう》で第12話!?") + line : line);
        total += int(lines.back().size());
    }
    if (!lines.isEmpty())
        lines.first().prepend(QString::number(variant));
    return lines;
}
} // namespace

int main(int argc, char **argv)
{
    WebEngineSetup::prepare(false);
    QApplication app(argc, argv);
    const int characters = argc > 1 ? std::atoi(argv[1]) : 30000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    QFile file(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("../shared/corpus/debian-reference-ja.utf8.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        return 1;
    }
    const QStringList source = QString::fromUtf8(file.readAll()).remove(u'\r').split(u'\n');
    TVerticalPreviewPane pane;
    pane.resize(1000, 700);
    pane.show();
    QEventLoop loop;
    QObject::connect(&pane, &TVerticalPreviewPane::updated, &loop, &QEventLoop::quit);
    const auto waitForUpdate = [&] {
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
    };
    pane.setPageStyle(TVerticalPageStyle());
    pane.showLines({}, false, 0);
    waitForUpdate();

    std::vector<double> whole, typing;
    for (int run = 0; run <= runs; ++run) {
        const QStringList lines = item(source, characters, run);
        QElapsedTimer timer;
        timer.start();
        pane.showLines(lines, false, int(lines.size()) / 2);
        waitForUpdate();
        if (run > 0)
            whole.push_back(double(timer.nsecsElapsed()) / 1e6);
        QStringList typed = lines;
        typed[typed.size() / 2] += QStringLiteral("あ");
        timer.restart();
        pane.showLines(typed, false, int(typed.size()) / 2);
        waitForUpdate();
        if (run > 0)
            typing.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("preview of %d characters: whole item %.1f ms, one line changed %.1f ms (medians of %d)\n", characters,
                TStepTiming::median(whole), TStepTiming::median(typing), runs);
    return 0;
}
