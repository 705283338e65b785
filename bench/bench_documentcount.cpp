// Times the main document's count in the status bar (表示 → 文書全体の文字数) in the real main
// window on a long document.
//
//     bench_documentcount DOC.olvx [KEYS] [ROUNDS]
//
// Opens DOC, selects the item in the middle of the main document and types KEYS keys (default
// 200) at the end of its body, ROUNDS times (default 5) with the panel off and on in turn (the
// order swapped every round, so that a drifting machine load falls on both alike). Each key is
// a press and a release carrying "あ", then the event loop until idle (the repaint and the
// status bar). Prints the median per key with the panel off and on and the difference; then the
// one-off costs: switching the count on (every item counted), a selection change and an added
// item (the tree looked at again), and a key in the text mode on a chapter with the panel on.
#include "BenchWindow.h"
#include "KeyTyping.h"
#include "StepTiming.h"
#include "app/CountCommands.h"
#include "app/DocumentCounter.h"
#include "app/EditingSession.h"
#include "app/MessageBoxPrompt.h"
#include "app/ModeController.h"
#include "app/Settings.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "ui/CountPanel.h"
#include "ui/OlvekTreeView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
// A one-off step: wall and CPU milliseconds of step followed by the event loop until idle.
TStepTiming once(const std::function<void()> &step)
{
    QElapsedTimer timer;
    const double cpuStart = TStepTiming::cpuMs();
    timer.start();
    step();
    QApplication::processEvents();
    return {double(timer.nsecsElapsed()) / 1e6, TStepTiming::cpuMs() - cpuStart};
}

TTreeNode *middleItem(const TDocumentTree &tree)
{
    std::vector<TTreeNode *> items;
    for (TTreeNode *n = tree.MainTitleNode()->next(); n && n != tree.WorkFolderNode(); n = n->next())
        items.push_back(n);
    return items.empty() ? tree.MainTitleNode() : items[items.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_documentcount DOC.olvx [KEYS] [ROUNDS]\n");
        return 1;
    }
    const int keys = args.size() > 2 ? args[2].toInt() : 200;
    const int rounds = args.size() > 3 ? args[3].toInt() : 5;
    TMessageBoxPrompt prompt;
    TPrompt::setCurrent(&prompt);
    TBenchWindow window(QStringLiteral(OLVEK_IMAGE_FILE));
    TMainForm &form = window.form();
    TMain &main = window.main();
    TEditingSession &session = *main.session();
    TCountCommands *counts = session.findChild<TCountCommands *>();
    TSettings(form.settingsFile()).setValue(SettingKeys::FormDocumentCount, false);
    main.applySettings();

    const TStepTiming open = once([&] { session.openStartupDocument(args[1], TSettings(form.settingsFile())); });
    TDocumentTree &tree = *form.document();
    std::printf("document: %d items; open %.0f ms CPU\n", tree.count(), open.cpu);

    TOlvekTreeView *view = form.TreeView1;
    view->setSelectedNode(middleItem(tree));
    view->completePendingChange();
    TOlvekEditor &editor = *form.Editor1;
    editor.setFocus();
    editor.moveCursor(QTextCursor::End);
    QApplication::processEvents();
    std::printf("typing into \"%s\" (%d lines)\n", qPrintable(view->selectedNode()->title()), editor.lineCount());

    const TStepTiming switchOn = once([&] { counts->ViewDocumentCount(true); });
    std::printf("panel: %s\n", qPrintable(counts->panel()->text()));
    counts->ViewDocumentCount(false);

    std::vector<double> offCpu, offWall, onCpu, onWall;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool on = (round + turn) % 2 == 1;
            counts->ViewDocumentCount(on);
            QApplication::processEvents();
            typeKeys(editor, keys, on ? onCpu : offCpu, on ? onWall : offWall);
        }
    }
    counts->ViewDocumentCount(true);
    QApplication::processEvents();
    std::printf("%d keys x %d rounds each way\n", keys, rounds);
    TStepTiming::report("key, panel off", {TStepTiming::median(offWall), TStepTiming::median(offCpu)});
    TStepTiming::report("key, panel on", {TStepTiming::median(onWall), TStepTiming::median(onCpu)});
    std::printf("%-40s wall %8.3f ms   cpu %8.3f ms\n", "extra per key with the panel",
                TStepTiming::median(onWall) - TStepTiming::median(offWall), TStepTiming::median(onCpu) - TStepTiming::median(offCpu));

    TStepTiming::report("switching the count on (every item)", switchOn);
    // One-off steps with the panel off and on: the difference is the tree looked at again.
    for (const bool on : {false, true}) {
        counts->ViewDocumentCount(on);
        QApplication::processEvents();
        const char *const panel = on ? "on" : "off";
        // Taken afresh: leaving the text mode gave the chapter new items.
        TTreeNode *next = middleItem(tree)->next();
        if (on)
            next = next->next();
        std::printf("panel %s:\n", panel);
        TStepTiming::report("  selecting another item", once([&] {
            view->setSelectedNode(next);
            view->completePendingChange();
        }));
        TStepTiming::report("  adding an item", once([&] { main.TreeAddNode->trigger(); }));
        // The text mode on a chapter: a level-1 item with its subtree.
        TTreeNode *chapter = next;
        while (chapter->parent() && chapter->parent() != tree.MainTitleNode())
            chapter = chapter->parent();
        view->setSelectedNode(chapter);
        view->completePendingChange();
        TStepTiming::report("  into the text mode on a chapter", once([&] { main.ViewModeChange->trigger(); }));
        editor.setFocus();
        editor.moveCursor(QTextCursor::End);
        std::vector<double> textCpu, textWall;
        typeKeys(editor, keys, textCpu, textWall);
        std::printf("  text mode: %d lines\n", editor.lineCount());
        TStepTiming::report("  key in the text mode", {TStepTiming::median(textWall), TStepTiming::median(textCpu)});
        TStepTiming::report("  back to the outline mode", once([&] { main.ViewModeChange->trigger(); }));
    }
    std::printf("panel: %s\n", qPrintable(counts->panel()->text()));
    // Nothing is to be saved: the window closes without asking.
    main.documentState()->setModified(false);
    return 0;
}
