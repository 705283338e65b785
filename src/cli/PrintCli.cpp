#include "PrintCli.h"

#include "CliCommon.h"
#include "desktop/FontSubstitutions.h"
#include "document/DocumentTree.h"
#include "printing/PdfPrinting.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstring>

namespace PrintCli {

namespace {
using namespace CliCommon;

int usageError(const QString &text)
{
    QTextStream(stderr) << "olvek-cli: " << text << "\n";
    return UsageError;
}

int printPdf(const QStringList &args)
{
    if (args.size() < 3)
        return usageError(QStringLiteral("print-pdf needs DOC OUT.pdf"));
    TPrintOptions options;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &option = args[i];
        if (option == QLatin1String("--no-main-title")) {
            options.mainTitle = false;
        } else if (option == QLatin1String("--no-titles")) {
            options.titles = false;
        } else if (option == QLatin1String("--no-numbers")) {
            options.numbers = false;
        } else if (option == QLatin1String("--no-body")) {
            options.bodies = false;
        } else if (option == QLatin1String("--no-page-numbers")) {
            options.pageNumbers = false;
        } else if (option == QLatin1String("--break-level1")) {
            options.breakBeforeLevel1 = true;
        } else if (option == QLatin1String("--indent") && i + 1 < args.size()) {
            bool number = false;
            options.indentWidth = args[++i].toInt(&number);
            if (!number || options.indentWidth < 1 || options.indentWidth > 20)
                return usageError(QStringLiteral("--indent takes a number of millimetres from 1 to 20"));
            options.indent = true;
        } else {
            return usageError(QStringLiteral("print-pdf: unknown option: ") + option);
        }
    }
    const QString &in = args[1];
    const QString &out = args[2];
    const OpenedDocument opened = openDocument(in);
    if (!opened.tree)
        return opened.code;
    const TTreeNode *root = opened.tree->MainTitleNode();
    const TFileResult result = TPdfPrinting::Write(out, *opened.tree, options, root ? root->title() : QString());
    if (!result.ok) {
        QTextStream(stderr) << "olvek-cli: " << out << ": " << result.error << "\n";
        return WriteError;
    }
    return Success;
}
} // namespace

bool handles(const char *command)
{
    return std::strcmp(command, "print-pdf") == 0;
}

int run(int argc, char **argv)
{
    // No display is needed or used. The toolkit's own notes about the platform say nothing about
    // the command's result.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            QTextStream(stderr) << message << "\n";
    });
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    return printPdf(app.arguments().mid(1));
}

} // namespace PrintCli
