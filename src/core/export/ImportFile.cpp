#include "ImportFile.h"

#include "document/DocumentTree.h"
#include "files/DocumentFileReading.h"
#include "document/NulCharacters.h"
#include "files/TextFileEncoding.h"

#include <QFile>

#include <algorithm>
#include <memory>
#include <new>

const QString TImportFile::PreambleTitle = QStringLiteral("インポート");

namespace {
bool isHeading(const QString &line)
{
    return line.startsWith(u'.');
}

qsizetype dotCount(const QString &line)
{
    qsizetype d = 0;
    while (d < line.size() && line[d] == u'.')
        ++d;
    return d;
}

// The body lines without the empty lines at their start and end, but never the last one left:
// a body of empty lines only keeps one.
QStringList trimmedBody(const QStringList &lines, qsizetype from, qsizetype to)
{
    while (to - from > 1 && lines[from].isEmpty())
        ++from;
    while (to - from > 1 && lines[to - 1].isEmpty())
        --to;
    return lines.mid(from, to - from);
}

// Whether bytes were replaced and nothing but them and white space is left of the file.
bool nothingReadable(QStringView text)
{
    return text.contains(TNulCharacters::Replacement)
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c == TNulCharacters::Replacement || c.isSpace(); });
}

std::unique_ptr<TNodeData> payload(QStringList lines)
{
    auto data = std::make_unique<TNodeData>();
    data->Lines = std::move(lines);
    return data;
}
} // namespace

QString TImportFile::Decode(const QByteArray &bytes)
{
    return TTextFileEncoding::decode(bytes).text;
}

QStringList TImportFile::SplitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start).toString());
    return lines;
}

QString TImportFile::Read(const QString &path, QStringList &lines, Reading *reading)
{
    lines.clear();
    QFile file(path);
    const QString error = DocumentFileReading::open(file);
    if (!error.isEmpty())
        return error;
    try {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return QStringLiteral("ファイルを読めません: %1 (%2)").arg(path, file.errorString());
        TTextFileEncoding::Decoded decoded = TTextFileEncoding::decode(bytes);
        const qsizetype nulCharacters = TNulCharacters::replace(decoded.text);
        if (nothingReadable(decoded.text))
            return NothingReadableError(path);
        lines = SplitLines(decoded.text);
        if (reading)
            *reading = {TTextFileEncoding::name(decoded.encoding), decoded.replaced, nulCharacters};
    } catch (const std::bad_alloc &) {
        lines.clear();
        return DocumentFileReading::tooLargeError(path);
    }
    return QString();
}

QString TImportFile::NothingReadableError(const QString &path)
{
    return QStringLiteral("文字として読める内容がありません: %1").arg(path);
}

TImportFile::Result TImportFile::Apply(TDocumentTree &tree, TTreeNode *target, Mode mode, const QStringList &lines)
{
    Result result;
    try {
        build(tree, target, mode, lines, result);
    } catch (const std::bad_alloc &) {
        result.failed = true;
    }
    // The expanded state belongs to the items, so that the window and the command-line tool
    // save the same file.
    if (result.first) {
        for (int i = 0; i < tree.topLevelCount(); ++i)
            tree.topLevel(i)->setExpanded(true, true);
    }
    return result;
}

void TImportFile::build(TDocumentTree &tree, TTreeNode *target, Mode mode, const QStringList &lines, Result &result)
{
    qsizetype firstHeading = 0;
    while (firstHeading < lines.size() && !isHeading(lines[firstHeading]))
        ++firstHeading;
    int topHeadings = 0;
    for (const QString &line : lines) {
        if (isHeading(line) && (line.size() == 1 || line[1] != u'.'))
            ++topHeadings;
    }
    if (firstHeading > 0 && tree.WorkFolderNode()) {
        tree.addChild(tree.WorkFolderNode(), PreambleTitle, payload(lines.mid(0, firstHeading)));
        result.preambleAdded = true;
    }

    // The first heading takes the target itself when it is the new document's main title.
    const bool takesTarget = topHeadings == 1 && mode == Mode::NewDocument;
    // Shift the file's levels so that no heading would stand beside the root folders: a file
    // whose single top heading comes after a deeper one keeps its nesting below the main title.
    const int targetLevel = target->level();
    qint64 shift = mode == Mode::Under || topHeadings >= 2 ? 1 : 0;
    qint64 fewestDots = -1;
    for (qsizetype i = firstHeading; i < lines.size(); ++i) {
        if (!isHeading(lines[i]) || (takesTarget && i == firstHeading))
            continue;
        const qint64 dots = dotCount(lines[i]);
        if (fewestDots < 0 || dots < fewestDots)
            fewestDots = dots;
    }
    if (fewestDots >= 0)
        shift = std::max(shift, 1 - (targetLevel + fewestDots - 1));

    TTreeNode *current = target;
    int currentLevel = targetLevel;
    for (qsizetype i = firstHeading; i < lines.size();) {
        const QString &heading = lines[i];
        qsizetype end = i + 1;
        while (end < lines.size() && !isHeading(lines[end]))
            ++end;
        const qsizetype dots = dotCount(heading);
        const QString title = heading.mid(dots);
        QStringList body = end > i + 1 ? trimmedBody(lines, i + 1, end) : QStringList();
        if (!result.first && takesTarget) {
            target->setTitle(title);
            target->setData(payload(std::move(body)));
        } else {
            // Never more than one level below the item before: the level is computed in 64 bits,
            // so any count of dots stays in range.
            const qint64 wanted = qint64(targetLevel) + dots - 1 + shift;
            const int level = int(std::min<qint64>(wanted, currentLevel + 1));
            if (level > currentLevel) {
                current = tree.addChild(current, title, payload(std::move(body)));
            } else {
                while (currentLevel > level) {
                    current = current->parent();
                    --currentLevel;
                }
                current = tree.add(current, title, payload(std::move(body)));
            }
            currentLevel = level;
        }
        if (!result.first)
            result.first = current;
        i = end;
    }
}
