#include "LegacyDocumentFormat.h"

#include "DocumentFileReading.h"
#include "JsonTextGenerator.h"
#include "SavedFile.h"
#include "ShiftJis.h"
#include "document/DocumentTree.h"

#include <QFile>
#include <QIODevice>
#include <QStringDecoder>
#include <QtEndian>

#include <limits>
#include <stdexcept>
#include <vector>

namespace {

// Reads the fields of a file held in memory; every read checks the bytes that are left.
class TByteReader
{
public:
    explicit TByteReader(const QByteArray &bytes) : m_bytes(bytes) {}

    qint64 remaining() const { return m_bytes.size() - m_pos; }
    bool readInt64(qint64 &value) { return readInt(value); }
    bool readInt32(qint32 &value) { return readInt(value); }
    // A view of the next length bytes; false when the file holds fewer.
    bool readBytes(qint64 length, QByteArrayView &bytes)
    {
        if (length < 0 || length > remaining())
            return false;
        bytes = QByteArrayView(m_bytes.constData() + m_pos, length);
        m_pos += length;
        return true;
    }

private:
    template<typename T>
    bool readInt(T &value)
    {
        if (remaining() < qint64(sizeof(T)))
            return false;
        value = qFromLittleEndian<T>(m_bytes.constData() + m_pos);
        m_pos += sizeof(T);
        return true;
    }

    const QByteArray &m_bytes;
    qint64 m_pos = 0;
};

// TShiftJis throws when iconv lacks code page 932.
QString shiftJisUnavailable()
{
    return QStringLiteral("Shift_JIS (CP932) の変換が使えません");
}

QString damaged(const QString &what)
{
    return QStringLiteral("文書ファイルが壊れています: %1").arg(what);
}

// Shift_JIS unless a byte order mark (never written, but accepted) selects UTF-8 or UTF-16.
QString decodeText(QByteArrayView bytes, TShiftJis &sjis)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2));
    return sjis.decode(bytes);
}

// Splits at CR LF, lone CR and lone LF; a break at the very end adds no empty line.
QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start).toString());
    return lines;
}

// Builds the items from the tree text: each line's level is the number of TABs and spaces
// it starts with. Returns an error text, or the empty string.
QString buildItems(const QStringList &lines, TDocumentTree &tree)
{
    // path[d] is the latest item at depth d.
    std::vector<TTreeNode *> path;
    for (const QString &line : lines) {
        qsizetype level = 0;
        while (level < line.size() && (line[level] == u'\t' || line[level] == u' '))
            ++level;
        const QString title = line.mid(level);
        if (path.empty()) {
            path.push_back(tree.addChild(nullptr, title));
            continue;
        }
        const qsizetype depth = qsizetype(path.size()) - 1;
        if (level > depth + 1)
            return QStringLiteral("ツリーのレベルが正しくありません: 「%1」のレベル %2").arg(title).arg(level);
        if (level == depth + 1) {
            if (level > TLegacyDocumentFormat::MaxDepth)
                return DocumentFileReading::tooDeepError(TLegacyDocumentFormat::MaxDepth);
            path.push_back(tree.addChild(path.back(), title));
        } else {
            path.resize(size_t(level) + 1);
            path.back() = tree.add(path.back(), title);
        }
    }
    return QString();
}

QString readInto(const QString &path, TDocumentTree &tree, qint64 &version)
{
    QFile file(path);
    const QString openError = DocumentFileReading::open(file);
    if (!openError.isEmpty())
        return openError;
    // As many bytes as the file had when it was opened, however it grows meanwhile.
    const qint64 size = file.size();
    const QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        return QStringLiteral("ファイルを読み込めません: %1 (%2)").arg(path, file.errorString());
    TByteReader in(bytes);
    if (!in.readInt64(version))
        return damaged(QStringLiteral("版数がありません"));
    if (version / 10000 * 10000 > 20000)
        return TLegacyDocumentFormat::tooNewMessage();

    qint32 treeLength = 0;
    QByteArrayView treeBytes;
    if (!in.readInt32(treeLength) || !in.readBytes(treeLength, treeBytes))
        return damaged(QStringLiteral("ツリーの長さが正しくありません"));
    TShiftJis sjis;
    const QString error = buildItems(splitLines(decodeText(treeBytes, sjis)), tree);
    if (!error.isEmpty())
        return error;
    if (tree.topLevelCount() < 3)
        return DocumentFileReading::tooFewRootsError();

    for (TTreeNode *node = tree.first(); node; node = node->next()) {
        auto data = std::make_unique<TNodeData>();
        qint32 bodyLength = 0;
        if (!in.readInt32(bodyLength))
            return damaged(QStringLiteral("「%1」の本文がありません").arg(node->title()));
        if (bodyLength > 0) {
            QByteArrayView body;
            if (!in.readBytes(bodyLength, body))
                return damaged(QStringLiteral("「%1」の本文の長さが正しくありません").arg(node->title()));
            data->setBodyFromText(decodeText(body, sjis));
        }
        node->setData(std::move(data));
    }
    // The tail that follows marks collapsed items; every item read is collapsed already,
    // so the tail cannot change the tree and is not read.
    return QString();
}

// A title as one line of the tree text. CR and LF would end the line and TAB or a space at its
// start would count as a level, so that every file written reads back to the same items: CR, LF
// and TAB become spaces, and a space at the start becomes "_" (as a save does to the item itself).
QString treeLineTitle(const QString &title)
{
    QString line = title;
    for (QChar &c : line) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    }
    if (line.startsWith(u' '))
        line[0] = u'_';
    return line;
}

// A text's Shift_JIS bytes. The reader takes "FF FE" or "FE FF" at a text's start for a UTF-16
// byte order mark; the only characters that give those bytes are U+F8F2 and U+F8F3 of the
// private use area, so the first of them is written as "?" there rather than make the whole text
// read back as UTF-16.
QByteArray encodeText(TShiftJis &sjis, const QString &text)
{
    QByteArray bytes = sjis.encode(text);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        bytes[0] = '?';
    return bytes;
}

void writeInt64(QIODevice &device, qint64 value)
{
    const qint64 le = qToLittleEndian(value);
    device.write(reinterpret_cast<const char *>(&le), sizeof le);
}

bool writeSized32(QIODevice &device, const QByteArray &bytes)
{
    if (bytes.size() > std::numeric_limits<qint32>::max())
        return false;
    const qint32 le = qToLittleEndian(qint32(bytes.size()));
    return device.write(reinterpret_cast<const char *>(&le), sizeof le) == sizeof le
        && device.write(bytes) == bytes.size();
}

bool writeTo(QIODevice &device, const TDocumentTree &tree, qint64 version)
{
    TShiftJis sjis;
    writeInt64(device, version);

    QString treeText;
    for (const TTreeNode *node = tree.first(); node; node = node->next()) {
        treeText += QString(node->level(), u'\t');
        treeText += treeLineTitle(node->title());
        treeText += QLatin1String("\r\n");
    }
    if (!writeSized32(device, encodeText(sjis, treeText)))
        return false;

    for (const TTreeNode *node = tree.first(); node; node = node->next()) {
        const QString body = node->data() ? node->data()->text() : QString();
        if (!writeSized32(device, encodeText(sjis, body)))
            return false;
    }

    TJsonTextGenerator json;
    json.beginObject();
    json.key(u"treeopen");
    json.beginObject();
    int position = 0;
    for (const TTreeNode *node = tree.first(); node; node = node->next(), ++position) {
        json.key(QString::number(position));
        json.numberValue(node->hasChildren() && !node->isExpanded() ? 1 : 0);
    }
    json.endObject();
    json.endObject();
    writeInt64(device, json.text().size());
    return device.write(json.text()) == json.text().size();
}

} // namespace

QString TLegacyDocumentFormat::tooNewMessage()
{
    return QStringLiteral("このバージョンではこのファイルは開けません。");
}

QString TLegacyDocumentFormat::notShiftJisMessage()
{
    return QStringLiteral("SJISでない文字が含まれていますので。OLVEK1形式では保存できません。\n"
                          "OLVEK2形式(UTF-8)で保存するか、日本語のみを使用してください。");
}

QString TLegacyDocumentFormat::changedTitlesMessage(int count)
{
    return QStringLiteral("%1 個の項目名にSJISでない文字があったため、その文字を「?」にして保存しました。").arg(count);
}

TFileResult TLegacyDocumentFormat::read(const QString &path, TDocumentTree &target)
{
    TDocumentTree tree;
    qint64 version = 0;
    QString error;
    try {
        error = readInto(path, tree, version);
    } catch (const std::bad_alloc &) {
        error = QStringLiteral("メモリが足りないため読み込めません: %1").arg(path);
    } catch (const std::runtime_error &) {
        error = shiftJisUnavailable();
    }
    if (!error.isEmpty())
        return TFileResult::failure(error);
    target.replaceContents(tree);
    return TFileResult::success(version);
}

TFileResult TLegacyDocumentFormat::write(const QString &path, const TDocumentTree &tree, qint64 &formatVersion,
                                         const std::function<void()> &beforeReplace)
{
    try {
        return writeTested(path, tree, formatVersion, beforeReplace);
    } catch (const std::bad_alloc &) {
        return TFileResult::failure(QStringLiteral("メモリが足りないため保存できません: %1").arg(path));
    } catch (const std::runtime_error &) {
        return TFileResult::failure(shiftJisUnavailable());
    }
}

TFileResult TLegacyDocumentFormat::writeTested(const QString &path, const TDocumentTree &tree, qint64 &formatVersion,
                                               const std::function<void()> &beforeReplace)
{
    qint64 version = formatVersion;
    if (version / 10000 == 1) {
        TShiftJis sjis;
        for (const TTreeNode *node = tree.first(); node; node = node->next()) {
            if (node->data() && !sjis.passesRoundTrip(node->data()->text())) {
                TFileResult refusal = TFileResult::failure(notShiftJisMessage());
                refusal.refused = true;
                return refusal;
            }
        }
        version = AcceptedVersion;
    }
    TFileResult result = TSavedFile::save(path, [&](QIODevice &device) {
        return writeTo(device, tree, version);
    }, version, beforeReplace);
    if (result.ok) {
        formatVersion = version;
        TShiftJis sjis;
        for (const TTreeNode *node = tree.first(); node; node = node->next()) {
            if (!sjis.passesRoundTrip(node->title()))
                ++result.changedTitles;
        }
    }
    return result;
}
