#include <QCoreApplication>
#include <QTextStream>

namespace {
const char *const usageText =
    "使い方: olvek-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  --help             show this text\n";
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    if (args.isEmpty() || args.first() == QLatin1String("--help")) {
        out << QString::fromUtf8(usageText);
        return args.isEmpty() ? 1 : 0;
    }
    QTextStream(stderr) << "olvek-cli: unknown command: " << args.first() << "\n";
    return 1;
}
