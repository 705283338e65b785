#include "TextModeCommands.h"

#include "CliCommon.h"
#include "OfflineTextMode.h"
#include "document/DocumentTree.h"
#include "document/NulCharacters.h"
#include "files/DocumentStorage.h"
#include "textmode/DottedTextFile.h"

#include <QApplication>
#include <QTextStream>

#include <cstring>

namespace {
using namespace CliCommon;

// The item index argument: a decimal number, nothing else.
bool readIndex(const QString &text, int &index)
{
    bool ok = false;
    index = text.toInt(&ok);
    return ok && text.trimmed() == text && !text.startsWith(u'+');
}

int openAndEnter(TOfflineTextMode &mode, const QString &doc, const QString &indexText, qint64 &version)
{
    QTextStream err(stderr);
    int index = 0;
    if (!readIndex(indexText, index)) {
        err << "olvek-cli: " << indexText << ": N must be a number\n";
        return UsageError;
    }
    if (const ExitCode code = readDocument(doc, mode.document(), UsageError, &version); code != Success)
        return code;
    if (!mode.enter(index)) {
        err << "olvek-cli: " << doc << ": no item " << indexText
            << " that the text mode can show (the document has " << mode.document().count()
            << " items; folders cannot be shown)\n";
        return UsageError;
    }
    return Success;
}

int toText(const QStringList &args)
{
    if (args.size() != 3) {
        QTextStream(stderr) << "olvek-cli: to-text needs two arguments: DOC N\n";
        return UsageError;
    }
    TOfflineTextMode mode;
    qint64 version = 0;
    if (const int code = openAndEnter(mode, args[1], args[2], version); code != Success)
        return code;
    // The editor's lines joined by LF. The text mode's text always ends with a line break, which
    // the editor shows as a last empty line: each line before it is printed with its LF.
    QStringList lines = mode.editorLines();
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (!writeLines(lines)) {
        QTextStream(stderr) << "olvek-cli: the standard output could not be written\n";
        return WriteError;
    }
    return Success;
}

int fromText(const QStringList &args)
{
    QTextStream err(stderr);
    if (args.size() != 5) {
        err << "olvek-cli: from-text needs four arguments: DOC N TEXT OUT\n";
        return UsageError;
    }
    if (TDocumentStorage::formatOf(args[4]) == TDocumentStorage::Format::Unknown) {
        err << "olvek-cli: " << args[4] << ": the extension must be .olvx or .olv\n";
        return UsageError;
    }
    QStringList text;
    if (const QString error = DottedTextFile::read(args[3], text); !error.isEmpty()) {
        err << "olvek-cli: " << error << "\n";
        return ReadError;
    }
    // The text goes into the document as the editor takes a paste.
    noteNulCharacters(args[3], TNulCharacters::replace(text));
    TOfflineTextMode mode;
    qint64 version = 0;
    if (const int code = openAndEnter(mode, args[1], args[2], version); code != Success)
        return code;
    mode.typeText(text);
    mode.leave();
    return writeDocument(mode.document(), args[1], version, args[4]);
}
} // namespace

bool TextModeCommands::handles(const char *command)
{
    return std::strcmp(command, "to-text") == 0 || std::strcmp(command, "from-text") == 0;
}

int TextModeCommands::run(int argc, char **argv)
{
    // No display is needed or used: the controls are never shown. The toolkit's own notes about
    // the platform (no runtime folder, no fonts) say nothing about the command's result.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << message << "\n";
    });
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    return args.first() == QLatin1String("to-text") ? toText(args) : fromText(args);
}
