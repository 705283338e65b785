#include "Prompt.h"

#include <QObject>
#include <QtGlobal>

namespace {
TPrompt *currentPrompt = nullptr;
}

TPrompt::~TPrompt()
{
    if (currentPrompt == this)
        currentPrompt = nullptr;
}

TPrompt &TPrompt::current()
{
    if (!currentPrompt)
        qFatal("TPrompt::current(): no prompt installed");
    return *currentPrompt;
}

TPrompt *TPrompt::setCurrent(TPrompt *prompt)
{
    TPrompt *previous = currentPrompt;
    currentPrompt = prompt;
    return previous;
}

std::vector<TPrompt::FileFilter> TPrompt::filtersFrom(const QString &pipeList)
{
    std::vector<FileFilter> filters;
    const QStringList parts = pipeList.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

TPrompt::Answer TPrompt::execDialog(QObject &dialog)
{
    return ask(Kind::Dialog, dialog.objectName());
}
