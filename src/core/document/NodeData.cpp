#include "NodeData.h"

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

QString TNodeData::text() const
{
    return joinLines(Lines);
}

QStringList TNodeData::splitText(QStringView text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
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
