#include "ExportLines.h"

#include "files/FileIdentity.h"
#include "files/SavedFile.h"
#include "files/ShiftJis.h"

#include <QIODevice>

namespace ExportLines {

QByteArray encode(const QStringList &lines, bool utf8)
{
    qsizetype length = 0;
    for (const QString &line : lines)
        length += line.size() + 2;
    QString text;
    text.reserve(length);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    if (utf8)
        return text.toUtf8();
    TShiftJis sjis;
    return sjis.encode(text);
}

QString documentFileError(const QString &path, const QString &documentFile)
{
    if (!TFileIdentity::same(path, documentFile))
        return QString();
    return QStringLiteral("開いている文書のファイルには出力できません: %1").arg(path);
}

TFileResult write(const QString &path, const QByteArray &bytes, const QString &documentFile)
{
    if (const QString error = documentFileError(path, documentFile); !error.isEmpty())
        return TFileResult::failure(error);
    return TSavedFile::save(
        path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, 0);
}

} // namespace ExportLines
