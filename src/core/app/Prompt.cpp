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

QString TPrompt::filterExtension(const FileFilter &filter)
{
    const QString first = filter.patterns.section(QLatin1Char(';'), 0, 0).trimmed();
    if (!first.startsWith(QLatin1String("*.")))
        return QString();
    const QString extension = first.mid(2);
    if (extension.isEmpty() || extension.contains(u'*') || extension.contains(u'?'))
        return QString();
    return extension;
}

QString TPrompt::nameForType(const FileRequest &request, const QString &path, int filterIndex)
{
    if (!request.typeExtensionOnly || path.isEmpty())
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString extension = dot > slash ? path.mid(dot + 1) : QString();
    for (const FileFilter &filter : request.filters) {
        if (!extension.isEmpty() && extension.compare(filterExtension(filter), Qt::CaseInsensitive) == 0)
            return path;
    }
    const bool chosenExists = filterIndex >= 0 && size_t(filterIndex) < request.filters.size();
    QString typeExtension = chosenExists ? filterExtension(request.filters[size_t(filterIndex)]) : QString();
    if (typeExtension.isEmpty())
        typeExtension = request.defaultExtension;
    return typeExtension.isEmpty() ? path : path + u'.' + typeExtension;
}

TPrompt::Answer TPrompt::execDialog(QObject &dialog)
{
    return ask(Kind::Dialog, dialog.objectName());
}
