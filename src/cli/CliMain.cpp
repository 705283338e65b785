#include "CoreCommands.h"
#include "PrintCli.h"
#include "TextModeCommands.h"
#include "VerticalPrintCli.h"

#include <QCoreApplication>

#include <malloc.h>

int main(int argc, char **argv)
{
    // A large document is a million small blocks: let the heap grow in big steps rather than
    // in the allocator's default 128 KB ones, each of which costs a system call.
    mallopt(M_TOP_PAD, 64 << 20);
    // These need the widgets layer or the print library, and an application of their own.
    if (argc > 1 && TextModeCommands::handles(argv[1]))
        return TextModeCommands::run(argc, argv);
    if (argc > 1 && PrintCli::handles(argv[1]))
        return PrintCli::run(argc, argv);
    if (argc > 1 && VerticalPrintCli::handles(argv[1]))
        return VerticalPrintCli::run(argc, argv);
    QCoreApplication app(argc, argv);
    return CoreCommands::run(app.arguments().mid(1));
}
