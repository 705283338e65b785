#include "DottedTextFile.h"

#include "files/DocumentFileReading.h"

#include <QFile>
#include <QStringDecoder>

namespace DottedTextFile {

QString read(const QString &path, QStringList &lines)
{
    lines.clear();
    QFile file(path);
    const QString error = DocumentFileReading::open(file);
    if (!error.isEmpty())
        return error;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("ファイルを読めません: %1 (%2)").arg(path, file.errorString());
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QStringLiteral("UTF-8 のテキストではありません: %1").arg(path);
    lines = splitLines(text);
    return QString();
}

QStringList splitLines(QStringView text)
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

} // namespace DottedTextFile
