// Parses a dotted text file as the text mode does (the whole Japanese Debian Reference by
// default) and prints the median of several runs for each step, in milliseconds.
//
//   bench_headingparser [TEXT] [RUNS]     (TEXT relative to the current folder)
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"

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
    TLumenoTreeList headings;
    HeadingParser::ParseText(lines, false, headings);
    std::printf("%s: %lld lines, %d headings; median of %d runs\n", qPrintable(path),
                static_cast<long long>(lines.size()), headings.count(), runs);

    TStepTiming::report("read and split the file", TStepTiming::measure(runs, [&] {
        QStringList read;
        DottedTextFile::read(path, read);
    }));
    TStepTiming::report("ParseText", TStepTiming::measure(runs, [&] { HeadingParser::ParseText(lines, false, headings); }));
    TStepTiming::report("ParseText with blank-line normalisation",
           TStepTiming::measure(runs, [&] { HeadingParser::ParseText(lines, true, headings); }));
    HeadingParser::ParseText(lines, false, headings);
    TStepTiming::report("RebuildText", TStepTiming::measure(runs, [&] { HeadingParser::RebuildText(headings); }));
    return 0;
}
