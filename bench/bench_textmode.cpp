// Times the text mode in the main window (offscreen, shown) on a whole book: a key typed into
// the text (the key press, the change, the release and the repaint that follows), the parse
// after a pause in typing, and leaving and entering the mode (F5 twice). Prints the median of
// several runs for each step, in milliseconds.
//
//   bench_textmode [TEXT] [RUNS]     (TEXT relative to the current folder)
#include "app/MainUnit.h"
#include "app/MessageBoxPrompt.h"
#include "app/ModeController.h"
#include "app/EditingSession.h"
#include "document/DocumentTree.h"
#include "editor/OlvekCompo.h"
#include "textmode/LumenoEngine.h"
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"
#include "textmode/TreeText.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"

#include "BookText.h"
#include "BenchWindow.h"
#include "StepTiming.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>

namespace {
void typeKey(QWidget *target, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    // The repaint the key asks for, as the window's next frame would do it.
    QApplication::processEvents();
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    TBookText text;
    if (!text.read(args, DottedTextFile::read))
        return 1;
    const QString &path = text.path;
    const int runs = text.runs;
    const QStringList &lines = text.lines;

    TMessageBoxPrompt prompt;
    TPrompt::setCurrent(&prompt);
    TBenchWindow window(QStringLiteral(OLVEK_IMAGE_FILE));
    TMainForm &form = window.form();
    TMain &main = window.main();

    TDocumentTree &document = *form.document();
    TTreeNode *book = document.addChild(document.MainTitleNode(), document.defaultTitle(), std::make_unique<TNodeData>());
    TLumenoTreeList headings;
    HeadingParser::ParseText(lines, false, headings);
    TreeText::TextToTree(document, book, headings);
    TOlvekTreeView *tree = form.TreeView1;
    tree->setChangeDelay(0);
    tree->setSelectedNode(book);
    QApplication::processEvents();
    TModeController &modes = main.session()->modes();
    TOlvekEditor *editor = form.Editor1;
    std::printf("%s: %lld lines, %d headings; median of %d runs\n", qPrintable(path),
                static_cast<long long>(lines.size()), headings.count(), runs);

    modes.ViewModeChange();
    QApplication::processEvents();
    // Typing in the middle of the book, with the caret's line on screen.
    editor->setFocus();
    editor->setCaretLine(editor->lineCount() / 2);
    editor->scrollCaretIntoView();
    QApplication::processEvents();
    TLumenoEngine *engine = modes.lumenoEngine();
    TStepTiming::report("a key typed (press, change, release, repaint)", TStepTiming::measure(runs * 10, [&] {
        typeKey(editor, Qt::Key_A, QStringLiteral("あ"));
    }));
    if (engine->ParseTimer().isActive() && engine->Dirty())
        std::printf("  (no parse ran while typing)\n");
    TStepTiming::report("the parse after a pause", TStepTiming::measure(runs, [&] {
        engine->ParseEditor(false);
        QApplication::processEvents();
    }));
    TStepTiming::report("F5 back to the outline mode and F5 into the text mode again", TStepTiming::measure(runs, [&] {
        modes.ViewModeChange();
        QApplication::processEvents();
        modes.ViewModeChange();
        QApplication::processEvents();
    }));
    return 0;
}
