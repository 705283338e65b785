#include "TextScan.h"

#include "document/DocumentTree.h"

#include <QChar>
#include <algorithm>
#include <array>

namespace {
// The simple upper-case mapping of every UTF-16 unit, built once: a lookup is far cheaper than
// the property tables when every unit of a long document passes through it.
const std::array<char16_t, 0x10000> &upperTable()
{
    static const auto table = [] {
        std::array<char16_t, 0x10000> t{};
        for (char32_t u = 0; u < 0x10000; ++u) {
            const char32_t upper = QChar::toUpper(u);
            // A mapping outside the basic plane would change the length: the unit stays.
            t[u] = char16_t(upper <= 0xFFFF ? upper : u);
        }
        return t;
    }();
    return table;
}

void upperInPlace(QChar *data, qsizetype length)
{
    const auto &table = upperTable();
    char16_t *units = reinterpret_cast<char16_t *>(data);
    for (qsizetype i = 0; i < length; ++i)
        units[i] = table[units[i]];
}

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}
} // namespace

TTextScan::TTextScan(const QString &needle, bool caseSensitive)
    : m_needle(caseSensitive ? needle : upperUnits(needle))
    , m_caseSensitive(caseSensitive)
    , m_needleHasBreak(std::any_of(needle.begin(), needle.end(), isBreak))
{
}

QString TTextScan::upperUnits(QStringView text)
{
    QString result = text.toString();
    upperInPlace(result.data(), result.size());
    return result;
}

QStringView TTextScan::prepared(QStringView text)
{
    if (m_caseSensitive)
        return text;
    m_buffer.resize(text.size());
    std::copy(text.begin(), text.end(), m_buffer.begin());
    upperInPlace(m_buffer.data(), m_buffer.size());
    return m_buffer;
}

void TTextScan::scanPrepared(QStringView text, int itemIndex, int base, std::vector<TFindRecord> &out) const
{
    const qsizetype n = m_needle.size();
    if (n == 0 || text.size() < n)
        return;
    // Every start is tried once and a hit moves on by one unit, so overlapping hits are found and
    // the work stays linear in the text plus the hits.
    qsizetype from = 0;
    while ((from = text.indexOf(m_needle, from)) >= 0) {
        out.push_back({itemIndex, qint32(base + from), text.mid(from, TFindRecord::DetailLength).toString()});
        ++from;
    }
}

void TTextScan::scanText(QStringView text, int itemIndex, std::vector<TFindRecord> &out)
{
    scanPrepared(prepared(text), itemIndex, 0, out);
}

QString TTextScan::detailInLines(const QStringList &lines, int line, int column) const
{
    QString detail;
    for (int i = line; i < lines.size() && detail.size() < TFindRecord::DetailLength; ++i) {
        detail += QStringView(lines[i]).mid(i == line ? column : 0);
        detail += QLatin1String("\r\n");
    }
    detail.truncate(TFindRecord::DetailLength);
    return m_caseSensitive ? detail : upperUnits(detail);
}

void TTextScan::scanLines(const QStringList &lines, int itemIndex, std::vector<TFindRecord> &out)
{
    if (lines.isEmpty())
        return;
    if (m_needleHasBreak) {
        // A hit may run across line ends: the body is searched as one text.
        QString body;
        qsizetype length = 0;
        for (const QString &line : lines)
            length += line.size() + 2;
        body.reserve(length);
        for (const QString &line : lines) {
            body += line;
            body += QLatin1String("\r\n");
        }
        scanText(body, itemIndex, out);
        return;
    }
    // Without a line break in the string every hit lies inside one line: the lines are searched
    // where they are, and only a hit's detail looks past its line's end.
    const qsizetype n = m_needle.size();
    qsizetype base = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.size() >= n) {
            const QStringView text = prepared(line);
            qsizetype from = 0;
            while ((from = text.indexOf(m_needle, from)) >= 0) {
                out.push_back({itemIndex, qint32(base + from), detailInLines(lines, i, int(from))});
                ++from;
            }
        }
        base += line.size() + 2;
    }
}

void TTextScan::scanSections(QStringView text, const std::vector<Section> &sections, std::vector<TFindRecord> &out)
{
    if (sections.empty())
        return;
    // Where each section starts in the text, and how many dots its heading line has more than
    // the one it has as a top item.
    std::vector<qsizetype> starts;
    std::vector<qsizetype> extraDots;
    starts.reserve(sections.size());
    extraDots.reserve(sections.size());
    qsizetype offset = 0;
    int line = 0;
    for (const Section &section : sections) {
        while (line < section.firstLine && offset < text.size()) {
            const QChar c = text[offset++];
            if (c == u'\r' && offset < text.size() && text[offset] == u'\n')
                ++offset;
            if (isBreak(c))
                ++line;
        }
        qsizetype dots = 0;
        while (offset + dots < text.size() && text[offset + dots] == u'.')
            ++dots;
        starts.push_back(offset);
        extraDots.push_back(std::max<qsizetype>(0, dots - 1));
    }
    const size_t first = out.size();
    scanText(text, sections.front().itemIndex, out);
    size_t s = 0;
    for (size_t i = first; i < out.size(); ++i) {
        TFindRecord &record = out[i];
        if (record.Position < starts.front())
            continue;
        while (s + 1 < starts.size() && starts[s + 1] <= record.Position)
            ++s;
        record.ItemIndex = sections[s].itemIndex;
        record.Position = qint32(std::max<qsizetype>(0, record.Position - starts[s] - extraDots[s]));
    }
}

std::vector<TTextScan::Section> TTextScan::sectionsOfDottedText(QStringView text, int topIndex)
{
    std::vector<Section> sections;
    int line = 0;
    int next = topIndex;
    qsizetype offset = 0;
    while (offset <= text.size()) {
        const bool heading = offset < text.size() && text[offset] == u'.';
        if (heading)
            sections.push_back({line, next++});
        else if (line == 0)
            sections.push_back({0, next++});
        qsizetype end = offset;
        while (end < text.size() && !isBreak(text[end]))
            ++end;
        if (end >= text.size())
            break;
        offset = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
        ++line;
    }
    return sections;
}

void TTextScan::searchDocument(const TDocumentTree &tree, std::vector<TFindRecord> &out)
{
    const TTreeNode *work = tree.WorkFolderNode();
    const TTreeNode *trash = tree.TrashNode();
    int index = 0;
    for (const TTreeNode *node = tree.first(); node; node = node->next(), ++index) {
        if (node != work && node != trash && node->data())
            scanLines(node->data()->Lines, index, out);
    }
}
