#include "NodeData.h"

#include "LineStore.h"

std::unique_ptr<TNodeData> TNodeData::fromLines(const QStringList &source)
{
    auto data = std::make_unique<TNodeData>();
    data->setBodyFromLines(source);
    data->Expand = true;
    return data;
}

void TNodeData::setBodyFromLines(const QStringList &source)
{
    Lines = splitText(source.join(QStringLiteral("\r\n")));
}

void TNodeData::setBodyFromText(QStringView text)
{
    Lines = splitText(text);
}

void TNodeData::setBodyFromText(QStringView text, TLineStore &store)
{
    Lines = splitText(text, store);
}

QString TNodeData::text() const
{
    return joinLines(Lines);
}

QStringList TNodeData::splitText(QStringView text)
{
    TLineStore store(text.size() + 1);
    return splitText(text, store);
}

QStringList TNodeData::splitText(QStringView text, TLineStore &store)
{
    return store.split(text);
}

QString TNodeData::joinLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}
