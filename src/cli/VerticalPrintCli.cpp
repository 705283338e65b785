#include "VerticalPrintCli.h"

#include "CliCommon.h"
#include "document/DocumentTree.h"
#include "vertical/VerticalPdfExport.h"
#include "vertical/WebEngineSetup.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstring>
#include <optional>

namespace VerticalPrintCli {

namespace {
using namespace CliCommon;

int usageError(const QString &text)
{
    QTextStream(stderr) << "olvek-cli: print-vertical: " << text << "\n";
    return UsageError;
}

std::optional<int> number(const QStringList &args, qsizetype &i, int min, int max)
{
    if (i + 1 >= args.size())
        return std::nullopt;
    bool ok = false;
    const int value = args[++i].toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

int printVertical(const QStringList &args)
{
    if (args.size() < 3)
        return usageError(QStringLiteral("needs DOC OUT.pdf"));
    TVerticalPdfOptions options;
    std::optional<int> characters;
    std::optional<int> lines;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &option = args[i];
        if (option == QLatin1String("--size") && i + 1 < args.size()) {
            const auto size = TVerticalPageStyle::sizeNamed(args[++i]);
            if (!size)
                return usageError(QStringLiteral("--size takes a6, shinsho, b6, a5 or a4"));
            const bool titlePage = options.style.titlePage;
            options.style = TVerticalPageStyle::forSize(*size);
            options.style.titlePage = titlePage;
        } else if (option == QLatin1String("--chars")) {
            characters = number(args, i, TVerticalPageStyle::MinCharacters, TVerticalPageStyle::MaxCharacters);
            if (!characters)
                return usageError(QStringLiteral("--chars takes a number from 10 to 60"));
        } else if (option == QLatin1String("--lines")) {
            lines = number(args, i, TVerticalPageStyle::MinLines, TVerticalPageStyle::MaxLines);
            if (!lines)
                return usageError(QStringLiteral("--lines takes a number from 4 to 40"));
        } else if (option == QLatin1String("--genko")) {
            options.genko = true;
        } else if (option == QLatin1String("--no-title-page")) {
            options.style.titlePage = false;
        } else {
            return usageError(QStringLiteral("unknown option: ") + option);
        }
    }
    options.style.characters = characters.value_or(options.style.characters);
    options.style.lines = lines.value_or(options.style.lines);
    if (!options.genko && !options.style.isValid())
        return usageError(QStringLiteral("%1 characters in %2 lines leave no room between the lines on this paper")
                              .arg(options.style.characters)
                              .arg(options.style.lines));
    const OpenedDocument document = openDocument(args[1]);
    if (!document.tree)
        return document.code;
    const QString &out = args[2];
    int code = Success;
    TVerticalPdfExport exporter(options, out);
    QObject::connect(&exporter, &TVerticalPdfExport::finished, qApp, [&](const TFileResult &result) {
        if (!result.ok) {
            QTextStream(stderr) << "olvek-cli: " << out << ": " << result.error << "\n";
            code = WriteError;
        }
        qApp->exit();
    });
    QMetaObject::invokeMethod(qApp, [&] { exporter.start(document.tree->MainTitleNode()); }, Qt::QueuedConnection);
    qApp->exec();
    return code;
}
} // namespace

bool handles(const char *command)
{
    return std::strcmp(command, "print-vertical") == 0;
}

int run(int argc, char **argv)
{
    WebEngineSetup::prepare(true);
    // The toolkit's and the engine's notes about graphics say nothing about the result.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << message << "\n";
    });
    QGuiApplication app(argc, argv);
    return printVertical(app.arguments().mid(1));
}

} // namespace VerticalPrintCli
