#include "ExportCli.h"

#include "CliCommon.h"
#include "document/DocumentTree.h"
#include "epub/EpubBook.h"
#include "export/HtmlExport.h"
#include "export/ImportFile.h"
#include "export/IndexExport.h"
#include "export/TextExport.h"
#include "files/DocumentStorage.h"
#include "files/FileIdentity.h"

#include <QFileInfo>
#include <QTextStream>

namespace ExportCli {

namespace {
using namespace CliCommon;

int usageError(const QString &text)
{
    QTextStream(stderr) << "olvek-cli: " << text << "\n";
    return UsageError;
}

// An export or import never replaces the file it reads, by whatever name OUT leads to it.
bool replacesInput(const QString &out, const QString &in)
{
    return TFileIdentity::same(out, in);
}

// The exit code of a write to path; what went wrong, or what the format changed, on stderr.
int written(const QString &path, const TFileResult &result)
{
    if (result.ok) {
        noteChangedTitles(path, result);
        return Success;
    }
    QTextStream(stderr) << "olvek-cli: " << path << ": " << result.error << "\n";
    return result.refused ? Refused : WriteError;
}

int exportText(const QStringList &args)
{
    if (args.size() < 3)
        return usageError(QStringLiteral("export-text needs IN OUT"));
    TTextExportOptions options;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &option = args[i];
        if (option == QLatin1String("--layout") && i + 1 < args.size()) {
            const QString layout = args[++i];
            if (layout == QLatin1String("plain"))
                options.layout = TTextExportOptions::Layout::Plain;
            else if (layout == QLatin1String("formatted"))
                options.layout = TTextExportOptions::Layout::Formatted;
            else if (layout == QLatin1String("dotted"))
                options.layout = TTextExportOptions::Layout::Hierarchical;
            else
                return usageError(QStringLiteral("unknown layout: ") + layout);
        } else if (option == QLatin1String("--no-titles")) {
            options.titles = false;
        } else if (option == QLatin1String("--no-numbers")) {
            options.numbers = false;
        } else if (option == QLatin1String("--sjis")) {
            options.utf8 = false;
        } else if (option == QLatin1String("--no-indent")) {
            options.indent = false;
        } else if (option == QLatin1String("--width") && i + 1 < args.size()) {
            bool number = false;
            options.width = args[++i].toInt(&number);
            if (!number || options.width < TTextExportOptions::MinWidth || options.width > TTextExportOptions::MaxWidth)
                return usageError(QStringLiteral("--width takes a number from 10 to 120"));
        } else {
            return usageError(QStringLiteral("export-text: unknown option: ") + option);
        }
    }
    // As the dialog forces it.
    if (options.layout == TTextExportOptions::Layout::Hierarchical) {
        options.titles = true;
        options.numbers = false;
    }
    if (replacesInput(args[2], args[1]))
        return usageError(args[2] + QStringLiteral(": OUT is the document IN itself"));
    const OpenedDocument opened = openDocument(args[1]);
    if (!opened.tree)
        return opened.code;
    const QString out = QFileInfo(args[2]).absoluteFilePath();
    return written(args[2], TTextExport::Write(out, *opened.tree, options, args[1]));
}

int exportIndex(const QStringList &args)
{
    if (args.size() != 3)
        return usageError(QStringLiteral("export-index needs two arguments: IN OUT"));
    if (replacesInput(args[2], args[1]))
        return usageError(args[2] + QStringLiteral(": OUT is the document IN itself"));
    const OpenedDocument opened = openDocument(args[1]);
    if (!opened.tree)
        return opened.code;
    return written(args[2], TIndexExport::Write(QFileInfo(args[2]).absoluteFilePath(), *opened.tree, args[1]));
}

int exportHtml(const QStringList &args)
{
    if (args.size() < 3)
        return usageError(QStringLiteral("export-html needs IN OUT"));
    bool divide = false;
    bool ruby = false;
    QString extension = QStringLiteral(".html");
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--divide")) {
            divide = true;
        } else if (args[i] == QLatin1String("--ruby")) {
            ruby = true;
        } else if (args[i] == QLatin1String("--ext") && i + 1 < args.size()) {
            extension = args[++i];
            if (extension != QLatin1String(".html") && extension != QLatin1String(".htm"))
                return usageError(QStringLiteral("--ext takes .html or .htm"));
        } else {
            return usageError(QStringLiteral("export-html: unknown option: ") + args[i]);
        }
    }
    const QString main = THtmlExport::MainPagePath(QFileInfo(args[2]).absoluteFilePath(), extension);
    // "out/" or ".html" would give a page of no name, hidden as ".html".
    if (QFileInfo(main).fileName() == extension)
        return usageError(args[2] + QStringLiteral(": OUT needs a file name"));
    if (replacesInput(main, args[1]))
        return usageError(main + QStringLiteral(": OUT is the document IN itself"));
    const OpenedDocument opened = openDocument(args[1]);
    if (!opened.tree)
        return opened.code;
    return written(main, THtmlExport::Write(*opened.tree, main, divide, ruby, args[1]));
}

int exportEpub(const QStringList &args)
{
    if (args.size() < 3)
        return usageError(QStringLiteral("export-epub needs DOC OUT"));
    TEpubOptions options;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--horizontal"))
            options.vertical = false;
        else if (args[i] == QLatin1String("--title") && i + 1 < args.size())
            options.title = args[++i];
        else if (args[i] == QLatin1String("--author") && i + 1 < args.size())
            options.author = args[++i];
        else
            return usageError(QStringLiteral("export-epub: unknown option: ") + args[i]);
    }
    if (replacesInput(args[2], args[1]))
        return usageError(args[2] + QStringLiteral(": OUT is the document DOC"));
    const OpenedDocument opened = openDocument(args[1]);
    if (!opened.tree)
        return opened.code;
    // The document's own date: the same document gives the same book.
    options.modified = QFileInfo(args[1]).lastModified();
    return written(args[2], TEpubBook::Write(*opened.tree, QFileInfo(args[2]).absoluteFilePath(), options));
}

int import(const QStringList &args)
{
    if (args.size() != 3 && args.size() != 7)
        return usageError(QStringLiteral("import needs TEXT OUT [--doc DOC (--under N | --after N)]"));
    const QString &out = args[2];
    const auto outFormat = TDocumentStorage::formatOf(out);
    if (outFormat == TDocumentStorage::Format::Unknown)
        return usageError(out + QStringLiteral(": the extension must be .olvx or .olv"));
    TImportFile::Mode mode = TImportFile::Mode::NewDocument;
    int index = 0;
    if (args.size() == 7) {
        if (args[3] != QLatin1String("--doc"))
            return usageError(QStringLiteral("import: expected --doc DOC"));
        if (args[5] == QLatin1String("--under"))
            mode = TImportFile::Mode::Under;
        else if (args[5] == QLatin1String("--after"))
            mode = TImportFile::Mode::After;
        else
            return usageError(QStringLiteral("import: expected --under N or --after N"));
        bool number = false;
        index = args[6].toInt(&number);
        if (!number)
            return usageError(QStringLiteral("import: N must be a number"));
    }
    if (replacesInput(out, args[1]))
        return usageError(out + QStringLiteral(": OUT is the text file TEXT itself"));
    TDocumentTree &tree = *new TDocumentTree; // never freed, as openDocument's
    TTreeNode *target = nullptr;
    if (mode == TImportFile::Mode::NewDocument) {
        tree.createRootFolders();
        target = tree.MainTitleNode();
    } else {
        if (const int code = readDocument(args[4], tree))
            return code;
        target = index >= 0 && index < tree.count() ? tree.nodeAt(index) : nullptr;
        if (!target)
            return usageError(QStringLiteral("import: no item at index %1").arg(index));
        if (mode == TImportFile::Mode::After && !target->parent())
            return usageError(QStringLiteral("import: nothing can go after a top-level item"));
    }
    QStringList lines;
    TImportFile::Reading reading;
    const QString error = TImportFile::Read(args[1], lines, &reading);
    if (!error.isEmpty()) {
        QTextStream(stderr) << "olvek-cli: " << args[1] << ": " << error << "\n";
        return ReadError;
    }
    if (reading.replacedBytes > 0) {
        QTextStream(stderr) << "olvek-cli: " << args[1] << ": read as " << reading.encoding << "; "
                            << reading.replacedBytes << " byte sequences it cannot read replaced by U+FFFD\n";
    }
    noteNulCharacters(args[1], reading.nulCharacters);
    if (TImportFile::Apply(tree, target, mode, lines).failed) {
        QTextStream(stderr) << "olvek-cli: " << args[1] << ": too large for the memory left\n";
        return ReadError;
    }
    qint64 version = TDocumentStorage::saveAsVersion(outFormat);
    return written(out, TDocumentStorage::writeDocumentFile(QFileInfo(out).absoluteFilePath(), tree, version));
}
} // namespace

std::optional<int> run(const QStringList &args)
{
    const QString &command = args.first();
    if (command == QLatin1String("export-text"))
        return exportText(args);
    if (command == QLatin1String("export-index"))
        return exportIndex(args);
    if (command == QLatin1String("export-html"))
        return exportHtml(args);
    if (command == QLatin1String("export-epub"))
        return exportEpub(args);
    if (command == QLatin1String("import"))
        return import(args);
    return std::nullopt;
}

} // namespace ExportCli
