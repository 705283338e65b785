#include "CoreCommands.h"

#include "CliCommon.h"
#include "CliUsage.h"
#include "CountCommand.h"
#include "ExportCli.h"
#include "FindCommand.h"
#include "document/DocumentTree.h"
#include "files/DocumentFileReading.h"
#include "files/DocumentStorage.h"
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"

#include <QTextStream>

#include <cstdio>
#include <new>

namespace CoreCommands {

namespace {
using namespace CliCommon;

int convert(const QString &in, const QString &out)
{
    QTextStream err(stderr);
    const auto inFormat = TDocumentStorage::formatOf(in);
    const auto outFormat = TDocumentStorage::formatOf(out);
    for (const auto &[path, format] : {std::pair(in, inFormat), std::pair(out, outFormat)}) {
        if (format == TDocumentStorage::Format::Unknown) {
            err << "olvek-cli: " << path << ": the extension must be .olvx or .olv\n";
            return UsageError;
        }
    }
    const OpenedDocument opened = openDocument(in);
    if (!opened.tree)
        return opened.code;
    return writeDocument(*opened.tree, in, opened.version, out);
}

QStringList outlineLines(const THeadingParse &, const TLumenoTreeList &headings)
{
    QStringList lines;
    for (int r = 0; r < headings.count(); ++r) {
        const TLumenoTreeListData *record = headings.item(r);
        lines.append(QStringLiteral("%1\t%2\t%3").arg(record->LineIndex).arg(record->Level()).arg(record->ListText()));
    }
    return lines;
}

QStringList formatLines(const THeadingParse &parse, const TLumenoTreeList &)
{
    return parse.Lines;
}

// outline and format: reads TEXT, parses it and prints the lines that print makes of the parse.
int printParse(const QStringList &args, QStringList (*print)(const THeadingParse &, const TLumenoTreeList &))
{
    QStringList operands = args.mid(1);
    const bool normalize = operands.removeAll(QStringLiteral("--normalize")) > 0;
    if (operands.size() != 1) {
        QTextStream(stderr) << "olvek-cli: " << args.first() << " needs one argument: TEXT [--normalize]\n";
        return UsageError;
    }
    QStringList lines;
    const QString error = DottedTextFile::read(operands.first(), lines);
    if (!error.isEmpty()) {
        QTextStream(stderr) << "olvek-cli: " << error << "\n";
        return ReadError;
    }
    try {
        TLumenoTreeList headings;
        const THeadingParse parse = HeadingParser::ParseText(lines, normalize, headings);
        if (!writeLines(print(parse, headings))) {
            QTextStream(stderr) << "olvek-cli: the standard output could not be written\n";
            return WriteError;
        }
    } catch (const std::bad_alloc &) {
        QTextStream(stderr) << "olvek-cli: " << DocumentFileReading::tooLargeError(operands.first()) << "\n";
        return ReadError;
    }
    return Success;
}
} // namespace

int run(const QStringList &args)
{
    if (args.isEmpty()) {
        QTextStream(stderr) << QString::fromUtf8(CliUsage::text());
        return UsageError;
    }
    if (args.first() == QLatin1String("--help")) {
        QTextStream(stdout) << QString::fromUtf8(CliUsage::text());
        return Success;
    }
    if (args.first() == QLatin1String("convert")) {
        if (args.size() != 3) {
            QTextStream(stderr) << "olvek-cli: convert needs two arguments: IN OUT\n";
            return UsageError;
        }
        return convert(args[1], args[2]);
    }
    if (args.first() == QLatin1String("outline"))
        return printParse(args, outlineLines);
    if (args.first() == QLatin1String("format"))
        return printParse(args, formatLines);
    if (const std::optional<int> code = ExportCli::run(args))
        return *code;
    if (args.first() == QLatin1String("find"))
        return runFindCommand(args.mid(1));
    if (args.first() == QLatin1String("count"))
        return runCountCommand(args.mid(1));
    QTextStream(stderr) << "olvek-cli: unknown command: " << args.first() << "\n";
    return UsageError;
}

} // namespace CoreCommands
