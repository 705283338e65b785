// Times the main window on a document file: opening it until the tree and the first body are
// drawn, and moving the selection between items (leaving, reaching, command refresh).
//
//     bench_window FILE.olvx [RUNS]
#include "app/EditingSession.h"
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/Settings.h"
#include "document/DocumentTree.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"

#include "BenchWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {
double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: bench_window FILE.olvx [RUNS]\n";
        return 1;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? atoi(argv[2]) : 5;
    TMessageBoxPrompt prompt;
    TPrompt::setCurrent(&prompt);
    TBenchWindow window(QStringLiteral(OLVEK_IMAGE_FILE));
    TMainForm &form = window.form();
    TMain &main = window.main();

    QList<double> opens;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        main.session()->openStartupDocument(file, TSettings(form.settingsFile()));
        QApplication::processEvents();
        form.repaint();
        opens << timer.nsecsElapsed() / 1e6;
    }
    TOlvekTreeView *tree = form.TreeView1;
    tree->setChangeDelay(0);
    TDocumentTree &document = *form.document();
    QList<double> changes;
    auto *random = QRandomGenerator::global();
    for (int run = 0; run < 60; ++run) {
        TTreeNode *target = document.nodeAt(random->bounded(document.count()));
        QElapsedTimer timer;
        timer.start();
        tree->setSelectedNode(target);
        QApplication::processEvents();
        form.repaint();
        changes << timer.nsecsElapsed() / 1e6;
    }
    out << QStringLiteral("%1: %2 items\n").arg(file).arg(document.count());
    out << QStringLiteral("  open until shown         median %1 ms (min %2, max %3)\n")
               .arg(median(opens), 0, 'f', 1)
               .arg(*std::min_element(opens.begin(), opens.end()), 0, 'f', 1)
               .arg(*std::max_element(opens.begin(), opens.end()), 0, 'f', 1);
    out << QStringLiteral("  change the selection     median %1 ms\n").arg(median(changes), 0, 'f', 2);
    return 0;
}
