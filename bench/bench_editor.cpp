// Loads a long Japanese body into a shown editor with word wrap on and reads it back.
// Prints the median of several runs for each step, in milliseconds.
//
//     bench_editor                      the steps on a 40,000-line body, medians of 9 runs
//     bench_editor long [LINES] [BYTES] shows one body of LINES short lines (1,000,000 and
//                                       8,000,000 UTF-8 bytes by default) once, as an item is
//                                       shown, and prints the time and the memory it took;
//                                       run it under /usr/bin/time -v for the whole process
//     bench_editor line [CHARS] [RUNS]  one body of one line of CHARS characters (1,000,000 by
//                                       default), letters without a break opportunity and
//                                       Japanese prose: showing it, moving, typing, reading back;
//                                       medians of RUNS runs (5)
#include "editor/OlvekCompo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QPlainTextDocumentLayout>
#include <QRandomGenerator>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <QFile>
#include <QKeyEvent>

namespace {
QStringList japaneseBody(int lineCount, qsizetype utf8Bytes)
{
    const QString pool = QStringLiteral(
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
        "ニャーニャー泣いていた事だけは記憶している。漢字とひらがな、カタカナ、ＡＢＣ１２３、abc。");
    QRandomGenerator random(20261210);
    // Three UTF-8 bytes per character; the long lines below add about a tenth.
    const int average = int(utf8Bytes * 96 / 100 / lineCount / 3);
    QStringList lines;
    lines.reserve(lineCount);
    qsizetype bytes = 0;
    for (int i = 0; i < lineCount; ++i) {
        // Mostly short lines, every 25th one empty, every 40th long enough to wrap several times.
        int length = int(random.bounded(2 * average));
        if (i % 25 == 0)
            length = 0;
        else if (i % 40 == 0)
            length = average * 12;
        QString line;
        line.reserve(length);
        for (int k = 0; k < length; ++k)
            line += pool.at(int(random.bounded(int(pool.size()))));
        bytes += line.toUtf8().size() + 2;
        lines << line;
    }
    std::fprintf(stdout, "body: %d lines, %lld bytes as UTF-8, %lld UTF-16 units\n", lineCount,
                 static_cast<long long>(bytes), static_cast<long long>(lines.join(QStringLiteral("\r\n")).size()));
    return lines;
}

// Many short lines of about the given size as UTF-8 with CR LF breaks: random kanji and kana
// lines of 0 to 4 characters for the default size, every 25th line empty, every 1000th 120
// characters long so that it wraps.
QStringList shortLines(int lineCount, qsizetype utf8Bytes)
{
    const QString pool = QStringLiteral(
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
        "ニャーニャー泣いていた事だけは記憶している。漢字とひらがな、カタカナ。");
    QRandomGenerator random(20261210);
    const int longLines = lineCount / 1000;
    const int emptyLines = lineCount / 25;
    const double characters = double(utf8Bytes - 2 * qsizetype(lineCount)) / 3 - 120.0 * longLines;
    const double mean = qMax(0.0, characters / qMax(1, lineCount - longLines - emptyLines));
    QStringList lines;
    lines.reserve(lineCount);
    qsizetype bytes = 0;
    for (int i = 0; i < lineCount; ++i) {
        int length = int(random.generateDouble() * (2 * mean + 1));
        if (i % 1000 == 999)
            length = 120;
        else if (i % 25 == 0)
            length = 0;
        QString line;
        line.reserve(length);
        for (int k = 0; k < length; ++k)
            line += pool.at(int(random.bounded(int(pool.size()))));
        bytes += line.toUtf8().size() + 2;
        lines << line;
    }
    std::fprintf(stdout, "body: %d lines, %lld bytes as UTF-8\n", lineCount, static_cast<long long>(bytes));
    return lines;
}

// The process's CPU time; the benchmark does its work on one thread.
double threadCpuMs()
{
    return 1e3 * double(std::clock()) / CLOCKS_PER_SEC;
}

// Medians of wall-clock time and of this thread's CPU time; the CPU time is the steadier
// figure on a machine shared with other work.
struct TTiming
{
    double wall;
    double cpu;
};

TTiming median(int runs, const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        const double cpuStart = threadCpuMs();
        timer.start();
        step();
        walls.push_back(timer.nsecsElapsed() / 1e6);
        cpus.push_back(threadCpuMs() - cpuStart);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

void report(const char *what, TTiming timing)
{
    std::fprintf(stdout, "  %-44s %8.1f ms wall %8.1f ms CPU\n", what, timing.wall, timing.cpu);
}

// A field of /proc/self/status in megabytes (VmRSS now, VmHWM the peak so far).
double statusMegabytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

TOlvekEditor *shownEditor()
{
    auto *editor = new TOlvekEditor;
    // A Japanese fixed-pitch font when one is installed, as a writer would choose.
    const QString family = QStringLiteral("IPAGothic");
    if (QFontDatabase::families().contains(family))
        editor->setFontName(family);
    editor->setFontSize(10);
    editor->resize(900, 700);
    editor->setWordWrap(true);
    editor->show();
    QCoreApplication::processEvents();
    std::fprintf(stdout, "font: %s %d pt\n", qPrintable(editor->font().family()), editor->font().pointSize());
    return editor;
}

// One long body shown as selecting its item does: the lines, the caret and top line, the
// caret's position for the status bar, the first paint; once with the caret at the start and
// once at the end (an item reopens where it was left). Then edits and the lines read back,
// as leaving the item commits them. Each step prints its time and the memory after it.
// With BENCH_LINE_COLOURS set, a per-line colour provider is set first, as in the text mode.
int showLongBody(int lineCount, qsizetype utf8Bytes)
{
    const QStringList body = shortLines(lineCount, utf8Bytes);
    const double before = statusMegabytes("VmRSS:");
    const auto step = [&](const char *what, const std::function<void()> &work) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        work();
        std::fprintf(stdout, "  %-46s %7.0f ms wall %7.0f ms CPU   RSS %4.0f MB\n", what, timer.nsecsElapsed() / 1e6,
                     threadCpuMs() - cpuStart, statusMegabytes("VmRSS:"));
    };
    std::fprintf(stdout, "RSS with the body's lines built: %.0f MB\n", before);

    if (qEnvironmentVariableIsSet("BENCH_QT_ONLY")) {
        // What Qt itself needs: a bare plain-text document of the same lines, no widget.
        QTextDocument document;
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        step("QTextDocument::setPlainText, no widget", [&] { document.setPlainText(body.join(u'\n')); });
        std::fprintf(stdout, "%.0f bytes per line; peak RSS %.0f MB\n",
                     (statusMegabytes("VmRSS:") - before) * 1024 * 1024 / lineCount, statusMegabytes("VmHWM:"));
        return 0;
    }

    std::unique_ptr<TOlvekEditor> editor(shownEditor());
    if (qEnvironmentVariableIsSet("BENCH_LINE_COLOURS")) {
        // The text mode colours its heading lines through the provider.
        editor->setLineColorProvider([](int, const QString &line) {
            return line.startsWith(u'.') ? TLineColors{Qt::darkBlue, QColor(0xEE, 0xEE, 0xFF)} : TLineColors{};
        });
    }
    const auto show = [&](int selStart, int topLine) {
        editor->setLines(body);
        editor->setSelStart(selStart);
        editor->setSelLength(0);
        editor->setTopLine(topLine);
        (void)editor->displayColumn();
        (void)editor->displayRow();
        editor->viewport()->repaint();
        QCoreApplication::processEvents();
    };
    step("show, caret at the start", [&] { show(0, 1); });
    const double shown = statusMegabytes("VmRSS:");
    const int end = int(body.join(QStringLiteral("\r\n")).size());
    step("show again, caret at the end", [&] { show(end, lineCount - 20); });
    step("type a character there, its display row", [&] {
        editor->replaceSelection(QStringLiteral("あ"));
        (void)editor->displayRow();
        editor->viewport()->repaint();
        QCoreApplication::processEvents();
    });
    step("30 backspaces at line ends on the first screen", [&] {
        editor->setTopLine(1);
        for (int line = 1; line <= 30; ++line) {
            editor->setCaretLine(line);
            editor->setCaretColumn(1000);
            QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(editor.get(), &backspace);
            editor->viewport()->repaint();
        }
    });
    QStringList back;
    step("read the lines back", [&] { back = editor->lines(); });
    if (back.size() != editor->lineCount() || back.last() != body.last() + QStringLiteral("あ")) {
        std::fprintf(stderr, "read-back differs from the loaded body\n");
        return 1;
    }
    std::fprintf(stdout, "shown: %.0f bytes per line; peak RSS %.0f MB\n", (shown - before) * 1024 * 1024 / lineCount,
                 statusMegabytes("VmHWM:"));
    // Qt's plain-text layout answers a change of the width by giving every line a layout
    // object; the editor cannot keep it from doing so.
    step("make the editor 40 pixels narrower", [&] {
        editor->resize(editor->width() - 40, editor->height());
        QCoreApplication::processEvents();
        editor->viewport()->repaint();
    });
    std::fprintf(stdout, "peak RSS after the width change %.0f MB\n", statusMegabytes("VmHWM:"));
    return 0;
}
// One line of the given length: letters only (no line-break opportunity anywhere), or Japanese
// prose (a break opportunity after nearly every character).
QString oneLongLine(bool letters, int length)
{
    const QString pool = letters ? QStringLiteral("abcdefghijklmnopqrstuvwxyz")
                                 : QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。");
    QString line;
    line.reserve(length);
    while (line.size() < length)
        line += pool;
    line.truncate(length);
    return line;
}

// An item whose body is one very long line: shown as selecting the item does (the lines, the
// caret, its position for the status bar, the first paint), with the caret at the start and
// at the end; the caret moved to the middle; a character typed there; the lines read back.
int showLongLine(int length, int runs)
{
    std::unique_ptr<TOlvekEditor> editor(shownEditor());
    const QStringList other{QStringLiteral("別の項目")};
    for (const bool letters : {true, false}) {
        const QStringList body{oneLongLine(letters, length)};
        const auto reset = [&] {
            editor->setLines(other);
            QCoreApplication::processEvents();
        };
        const auto show = [&](int selStart) {
            editor->setLines(body);
            editor->setSelStart(selStart);
            editor->scrollCaretIntoView();
            (void)editor->displayColumn();
            (void)editor->displayRow();
            editor->viewport()->repaint();
            QCoreApplication::processEvents();
        };
        const TTiming start = median(runs, reset, [&] { show(0); });
        const TTiming end = median(runs, reset, [&] { show(length); });
        const TTiming middle = median(runs, [&] { show(0); }, [&] {
            editor->setSelStart(length / 2);
            editor->scrollCaretIntoView();
            (void)editor->displayRow();
            editor->viewport()->repaint();
        });
        const TTiming typed = median(runs, [] {}, [&] {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("x"));
            QApplication::sendEvent(editor.get(), &key);
            (void)editor->displayColumn();
            editor->viewport()->repaint();
        });
        QStringList back;
        const TTiming read = median(runs, [] {}, [&] { back = editor->lines(); });
        if (back.size() != 1 || back.first().size() != length + runs) {
            std::fprintf(stderr, "read-back differs from the shown line\n");
            return 1;
        }
        std::fprintf(stdout, "one line of %d characters, %s, median of %d runs, word wrap on, 900x700 shown:\n", length,
                     letters ? "letters without a break opportunity" : "Japanese prose", runs);
        report("show, caret at the start", start);
        report("show, caret at the end", end);
        report("caret to the middle, scrolled there", middle);
        report("a key typed there", typed);
        report("read back (lines)", read);
    }
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments.at(1) == QStringLiteral("long")) {
        const int lineCount = arguments.size() > 2 ? arguments.at(2).toInt() : 1000 * 1000;
        const qsizetype bytes = arguments.size() > 3 ? arguments.at(3).toLongLong() : 8 * 1000 * 1000;
        return showLongBody(lineCount, bytes);
    }
    if (arguments.size() > 1 && arguments.at(1) == QStringLiteral("line")) {
        const int length = arguments.size() > 2 ? arguments.at(2).toInt() : 1000 * 1000;
        const int lineRuns = arguments.size() > 3 ? arguments.at(3).toInt() : 5;
        return showLongLine(length, lineRuns);
    }
    const int runs = 9;
    const QStringList body = japaneseBody(40000, 2 * 1000 * 1000);
    const QStringList other{QStringLiteral("別の項目")};

    std::unique_ptr<TOlvekEditor> shown(shownEditor());
    TOlvekEditor &editor = *shown;

    const auto reset = [&] {
        editor.setLines(other);
        QCoreApplication::processEvents();
    };
    // Loading includes painting the first screen, as the user sees it.
    const TTiming load = median(runs, reset, [&] {
        editor.setLines(body);
        editor.viewport()->repaint();
    });

    QStringList back;
    const TTiming read = median(runs, [] {}, [&] { back = editor.lines(); });
    if (back != body) {
        std::fprintf(stderr, "read-back differs from the loaded body\n");
        return 1;
    }
    const TTiming text = median(runs, [] {}, [&] { (void)editor.text(); });

    // The caret row at the end of the body, before the lines above it were ever shown.
    const TTiming lastRow = median(runs, [&] {
        editor.setLines(body);
        editor.setSelStart(int(editor.text().size()));
    }, [&] { (void)editor.displayRow(); });

    // The same after typing one character there: only the edited line is counted again.
    const TTiming typedRow = median(runs, [] {}, [&] {
        editor.replaceSelection(QStringLiteral("あ"));
        (void)editor.displayRow();
    });

    // The text mode colours its heading lines (those starting with a dot) through the provider.
    editor.setLineColorProvider([](int, const QString &line) {
        return line.startsWith(u'.') ? TLineColors{Qt::darkBlue, QColor(0xEE, 0xEE, 0xFF)} : TLineColors{};
    });
    const TTiming colouredLoad = median(runs, reset, [&] {
        editor.setLines(body);
        editor.viewport()->repaint();
    });
    editor.setLineColorProvider({});

    // What Qt itself needs to build a plain-text document of the same lines.
    const QString joined = body.join(u'\n');
    const TTiming floor = median(runs, [] {}, [&] {
        QTextDocument document;
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setPlainText(joined);
    });

    std::fprintf(stdout, "median of %d runs, word wrap on, 900x700 shown (offscreen):\n", runs);
    report("load (setLines + first paint)", load);
    report("read back (lines)", read);
    report("whole text (text)", text);
    report("display row of the last line after loading", lastRow);
    report("typing there, then its display row", typedRow);
    report("load with per-line colours", colouredLoad);
    report("for comparison: QTextDocument::setPlainText", floor);
    return 0;
}
