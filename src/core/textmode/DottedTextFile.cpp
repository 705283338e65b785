#include "DottedTextFile.h"

#include "files/DocumentFileReading.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>

#include <cstring>
#include <new>

namespace DottedTextFile {

namespace {
const char *find(const char *from, const char *end, char c)
{
    return static_cast<const char *>(std::memchr(from, c, size_t(end - from)));
}

// Reads the opened file into lines; returns an error text or the empty string.
QString readLines(QFile &file, const QString &path, QStringList &lines)
{
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("ファイルを読めません: %1 (%2)").arg(path, file.errorString());

    // Each line is decoded on its own, straight from the file's bytes: CR and LF never occur
    // inside a UTF-8 sequence, so the lines decode exactly as the whole text would. Without
    // state, so that a sequence cut off by a line break or the end of the file is an error
    // rather than joined to what follows.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const char *const end = bytes.constData() + bytes.size();
    const char *start = bytes.constData();
    if (bytes.startsWith("\xef\xbb\xbf"))
        start += 3;
    while (start < end) {
        const char *lf = find(start, end, '\n');
        const char *const segmentEnd = lf ? lf : end;
        const char *const segmentStart = start;
        while (const char *cr = find(start, segmentEnd, '\r')) {
            lines.append(decoder.decode(QByteArrayView(start, cr)));
            start = cr + 1;
        }
        // Before an LF: the line up to it, unless the CR just before the LF ended it (one CR LF
        // break). At the end of the file: what is left, if anything.
        const bool crLf = lf && start == segmentEnd && start != segmentStart;
        if (lf ? !crLf : start < end)
            lines.append(decoder.decode(QByteArrayView(start, segmentEnd)));
        start = segmentEnd + 1;
    }
    if (decoder.hasError()) {
        lines.clear();
        return QStringLiteral("UTF-8 のテキストではありません: %1").arg(path);
    }
    return QString();
}
} // namespace

QString read(const QString &path, QStringList &lines)
{
    lines.clear();
    QFile file(path);
    const QString error = DocumentFileReading::open(file);
    if (!error.isEmpty())
        return error;
    // A file larger than the memory left must end in a message rather than in a crash.
    try {
        return readLines(file, path, lines);
    } catch (const std::bad_alloc &) {
        lines.clear();
        return DocumentFileReading::tooLargeError(path);
    }
}

} // namespace DottedTextFile
