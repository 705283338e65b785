#include "CliCommon.h"
#include "ExportCli.h"
#include "PrintCli.h"
#include "TextModeCommands.h"
#include "FindCommand.h"
#include "CountCommand.h"
#include "document/DocumentTree.h"
#include "files/DocumentFileReading.h"
#include "files/DocumentStorage.h"
#include "textmode/DottedTextFile.h"
#include "textmode/HeadingParser.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTextStream>

#include <cstdio>
#include <malloc.h>
#include <new>

namespace {
using namespace CliCommon;

const char *const usageText =
    "使い方: olvek-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  --help             show this text\n"
    "  convert IN OUT     open the document IN and save it as OUT\n"
    "  outline TEXT [--normalize]\n"
    "                     print the headings of the dotted text TEXT, one line each: line index\n"
    "                     (from 0), TAB, level (from 0), TAB, the heading list's text\n"
    "  format TEXT [--normalize]\n"
    "                     print TEXT as the text mode's parse leaves it: jumps in depth repaired,\n"
    "                     \".タイトル\" in front of a text that does not begin with a heading,\n"
    "                     and with --normalize one empty line around every heading\n"
    "  to-text DOC N      print the text that the text mode shows for the item at index N of the\n"
    "                     document DOC (0 is the main title, counted through the whole tree)\n"
    "  from-text DOC N TEXT OUT\n"
    "                     open DOC, edit item N in the text mode, replacing its text by TEXT,\n"
    "                     leave the text mode and save the document as OUT\n"
    "  find DOC STRING [--case]\n"
    "                     search the bodies of the document DOC as the find dialog does and print\n"
    "                     one line per hit: item index, TAB, position, TAB, title, TAB, the text\n"
    "                     from the hit on (40 units, CR as \\r and LF as \\n); exit status 0 with\n"
    "                     or without hits, 1 for an empty STRING, 2 when DOC cannot be read\n"
    "  count DOC [N]      print the characters and manuscript pages (20 x 20) of every item of\n"
    "                     the main document, or of the subtree of item N: index, TAB, characters,\n"
    "                     TAB, pages, TAB, title; then \"total\", characters, pages, items\n"
    "\n"
    "convert chooses each file's format by its extension, exactly as written (case included):\n"
    "  .olvx  JSON document (UTF-8)\n"
    "  .olv   legacy document (Shift_JIS). A document read from .olvx must fit in Shift_JIS or\n"
    "         it is refused; one read from .olv keeps its own format version and is tested\n"
    "         the same way only when that version is from 10000 to 19999\n"
    "Titles that begin with a space are saved with \"_\" for that space. OUT is replaced only\n"
    "once it is completely written, keeping its permissions and (where allowed) its owner; a\n"
    "symbolic link OUT is written through. IN and OUT must be regular files (OUT may be new).\n"
    "\n"
    "TEXT is a regular file in UTF-8; its lines end with CR LF, CR or LF, and a break after the\n"
    "last line adds no empty line. A heading is a line that begins with \".\"; its dots give its\n"
    "depth. outline and format write UTF-8 with LF after every line.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  usage error (wrong arguments, an extension other than .olvx or .olv, no item N or\n"
    "     item N is a folder: the work folder, the trash or the clipboard folder)\n"
    "  2  IN, DOC or TEXT could not be read (missing, not a regular file, damaged, too new a\n"
    "     version, TEXT not UTF-8 or too large for the memory)\n"
    "  3  the legacy format refused the document (characters outside Shift_JIS)\n"
    "  4  OUT or the standard output could not be written\n"
    "\n"
    "to-text and from-text run the program's text mode without a window; to-text prints the\n"
    "editor's lines joined by LF.\n";

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
    // Deliberately never freed: the process ends right after the conversion, and handing a large
    // document's million small blocks back one by one would take a good part of the run time.
    TDocumentTree &tree = *new TDocumentTree;
    const TFileResult opened = TDocumentStorage::readDocumentFile(in, tree);
    if (!opened.ok) {
        err << "olvek-cli: " << in << ": " << opened.error << "\n";
        return ReadError;
    }
    return writeDocument(tree, in, opened.version, out);
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

int main(int argc, char **argv)
{
    // A large document is a million small blocks: let the heap grow in big steps rather than
    // in the allocator's default 128 KB ones, each of which costs a system call.
    mallopt(M_TOP_PAD, 64 << 20);
    if (argc > 1 && TextModeCommands::handles(argv[1]))
        return TextModeCommands::run(argc, argv);
    if (argc > 1 && PrintCli::handles(argv[1]))
        return PrintCli::run(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << QString::fromUtf8(usageText) << QString::fromUtf8(ExportCli::usage()) << QString::fromUtf8(PrintCli::usage());
        return UsageError;
    }
    if (args.first() == QLatin1String("--help")) {
        QTextStream(stdout) << QString::fromUtf8(usageText) << QString::fromUtf8(ExportCli::usage()) << QString::fromUtf8(PrintCli::usage());
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
