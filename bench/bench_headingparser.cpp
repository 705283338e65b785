// Parses a dotted text file as the text mode does (the whole Japanese Debian Reference by
// default) and prints the median of several runs for each step, in milliseconds.
//
//   bench_headingparser [TEXT] [RUNS]     (TEXT relative to the current folder)
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"

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
    TLumenoTreeList headings;
    HeadingParser::ParseText(lines, false, headings);
    std::printf("%s: %lld lines, %d headings; median of %d runs\n", qPrintable(path),
                static_cast<long long>(lines.size()), headings.count(), runs);

    report("read and split the file", measure(runs, [&] {
        QStringList read;
        DottedTextFile::read(path, read);
    }));
    report("ParseText", measure(runs, [&] { HeadingParser::ParseText(lines, false, headings); }));
    report("ParseText with blank-line normalisation",
           measure(runs, [&] { HeadingParser::ParseText(lines, true, headings); }));
    HeadingParser::ParseText(lines, false, headings);
    report("RebuildText", measure(runs, [&] { HeadingParser::RebuildText(headings); }));
    return 0;
}
