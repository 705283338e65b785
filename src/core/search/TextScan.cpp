#include "TextScan.h"

#include "document/DocumentTree.h"

#include <QChar>
#include <QtAlgorithms>
#include <algorithm>
#include <array>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Which units are the upper-case mapping of some other unit.
const std::array<bool, 0x10000> &mappedFromOthers()
{
    static const auto mapped = [] {
        std::array<bool, 0x10000> m{};
        const auto &table = upperTable();
        for (char32_t u = 0; u < 0x10000; ++u) {
            if (table[u] != u)
                m[table[u]] = true;
        }
        return m;
    }();
    return mapped;
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

// The first place of c in [from, end), or end. Most lines of a body are short, so the search
// runs inline, eight units at a time where the processor allows.
const char16_t *findUnit(const char16_t *from, const char16_t *end, char16_t c)
{
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi16(short(c));
    for (; end - from >= 8; from += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(units, wanted));
        if (mask)
            return from + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; from != end; ++from) {
        if (*from == c)
            return from;
    }
    return end;
}

// Strings up to this length are compared unit by unit at each possible start; longer ones are
// scanned with their failure function.
constexpr qsizetype ShortNeedle = 16;
// More units than this mapping to a string's first one are looked at one by one.
constexpr size_t MaxFirstUnits = 8;
} // namespace

TTextScan::TTextScan(const QString &needle, bool caseSensitive)
    : m_needle(caseSensitive ? needle : upperUnits(needle))
    , m_caseSensitive(caseSensitive)
    , m_needleHasBreak(std::any_of(needle.begin(), needle.end(), isBreak))
{
    // Where no unit of the string has another unit mapping to it (kana and kanji), ignoring case
    // finds exactly what comparing exactly does: only the details are upper-cased.
    const auto &mapped = mappedFromOthers();
    m_foldText = !caseSensitive
        && std::any_of(m_needle.begin(), m_needle.end(), [&mapped](QChar c) { return mapped[c.unicode()]; });
    const qsizetype n = m_needle.size();
    if (n > ShortNeedle) {
        // Knuth-Morris-Pratt: m_failure[i] is the length of the longest proper border of the
        // string's first i + 1 units.
        m_failure.assign(size_t(n), 0);
        for (qsizetype i = 1, k = 0; i < n; ++i) {
            while (k > 0 && m_needle[i] != m_needle[k])
                k = m_failure[size_t(k - 1)];
            if (m_needle[i] == m_needle[k])
                ++k;
            m_failure[size_t(i)] = k;
        }
    } else if (n > 0) {
        const char16_t first = m_needle[0].unicode();
        if (!m_foldText) {
            m_firstUnits.push_back(first);
        } else {
            const auto &table = upperTable();
            for (char32_t u = 0; u < 0x10000 && m_firstUnits.size() <= MaxFirstUnits; ++u) {
                if (table[u] == first)
                    m_firstUnits.push_back(char16_t(u));
            }
            if (m_firstUnits.size() > MaxFirstUnits)
                m_firstUnits.clear();
        }
    }
}

QString TTextScan::upperUnits(QStringView text)
{
    QString result = text.toString();
    upperInPlace(result.data(), result.size());
    return result;
}

template<bool Fold, typename Hit>
void TTextScan::forEachHit(QStringView text, Hit &&hit) const
{
    const auto &table = upperTable();
    const auto unit = [&table](QChar c) { return Fold ? table[c.unicode()] : c.unicode(); };
    const qsizetype n = m_needle.size();
    if (n == 0 || text.size() < n)
        return;
    const char16_t *needle = reinterpret_cast<const char16_t *>(m_needle.constData());
    if (!m_failure.empty()) {
        for (qsizetype i = 0, k = 0; i < text.size(); ++i) {
            const char16_t c = unit(text[i]);
            while (k > 0 && needle[k] != c)
                k = m_failure[size_t(k - 1)];
            if (needle[k] == c)
                ++k;
            if (k == n) {
                hit(i - n + 1);
                k = m_failure[size_t(k - 1)];
            }
        }
        return;
    }
    // A short string: each possible start is compared once, so a hit moves on by one unit and
    // overlapping hits are found.
    const qsizetype last = text.size() - n;
    const auto matchesAt = [&](qsizetype p) {
        for (qsizetype j = 1; j < n; ++j) {
            if (unit(text[p + j]) != needle[j])
                return false;
        }
        return true;
    };
    if (m_firstUnits.empty()) {
        for (qsizetype p = 0; p <= last; ++p) {
            if (unit(text[p]) == needle[0] && matchesAt(p))
                hit(p);
        }
        return;
    }
    if (m_firstUnits.size() == 1) {
        const char16_t *units = text.utf16();
        const char16_t *end = units + last + 1;
        for (const char16_t *at = findUnit(units, end, m_firstUnits.front()); at != end;
             at = findUnit(at + 1, end, m_firstUnits.front())) {
            if (matchesAt(at - units))
                hit(at - units);
        }
        return;
    }
    // The next place of each unit a hit may begin with; the nearest is tried, then looked for
    // again past it, so that every unit's search runs through the text once.
    std::array<qsizetype, MaxFirstUnits> next{};
    const size_t count = m_firstUnits.size();
    for (size_t u = 0; u < count; ++u)
        next[u] = text.indexOf(QChar(m_firstUnits[u]));
    for (;;) {
        size_t nearest = count;
        for (size_t u = 0; u < count; ++u) {
            if (next[u] >= 0 && (nearest == count || next[u] < next[nearest]))
                nearest = u;
        }
        if (nearest == count || next[nearest] > last)
            return;
        const qsizetype p = next[nearest];
        if (matchesAt(p))
            hit(p);
        next[nearest] = text.indexOf(QChar(m_firstUnits[nearest]), p + 1);
    }
}

template<typename Hit>
void TTextScan::forEachHit(QStringView text, Hit &&hit) const
{
    if (!m_foldText)
        forEachHit<false>(text, std::forward<Hit>(hit));
    else
        forEachHit<true>(text, std::forward<Hit>(hit));
}

void TTextScan::scanText(QStringView text, int itemIndex, std::vector<TFindRecord> &out)
{
    forEachHit(text, [&](qsizetype p) {
        const QStringView detail = text.mid(p, TFindRecord::DetailLength);
        out.push_back({itemIndex, qint32(p), m_caseSensitive ? detail.toString() : upperUnits(detail)});
    });
}

QString TTextScan::detailInLines(const QStringList &lines, int line, int column) const
{
    QString detail;
    for (int i = line; i < lines.size() && detail.size() < TFindRecord::DetailLength; ++i) {
        detail += QStringView(lines[i]).mid(i == line ? column : 0, TFindRecord::DetailLength - detail.size());
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
    qsizetype base = 0;
    for (int i = 0; i < lines.size(); ++i) {
        forEachHit(lines[i], [&](qsizetype p) { out.push_back({itemIndex, qint32(base + p), detailInLines(lines, i, int(p))}); });
        base += lines[i].size() + 2;
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
    const int count = tree.count();
    for (int index = 0; index < count; ++index) {
        const TTreeNode *node = tree.nodeAt(index);
        if (node != work && node != trash && node->data())
            scanLines(node->data()->Lines, index, out);
    }
}
