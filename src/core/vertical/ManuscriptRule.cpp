#include "ManuscriptRule.h"

#include <QTextBoundaryFinder>

#include <array>

namespace {
bool isLineEndSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

// A code unit that is a grapheme cluster of its own whatever stands next to it: ASCII, Latin,
// kana, CJK ideographs and the half-width forms, minus the marks among them that join the
// character before (ideographic tone marks, combining voiced sound marks, half-width ﾞ ﾟ).
// Lines made only of these (nearly every Japanese body) skip the boundary finder.
bool standsAlone(char16_t u)
{
    return u < 0x0300 || (u >= 0x3000 && u <= 0x3029) || (u >= 0x3030 && u <= 0x3098)
        || (u >= 0x309B && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF9D);
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isBang(QChar c)
{
    return c == u'!' || c == u'?' || c == u'！' || c == u'？';
}

// A unit that may begin an upright pair: only lines without any take the quick way.
bool mayPair(char16_t u)
{
    return isAsciiDigit(u) || isBang(u);
}

// Two tables of one bit per code unit: stands alone; stands alone and may begin no pair. A
// line mixes kana, kanji and punctuation at random, which makes range tests a string of
// mispredicted jumps; a lookup takes none.
struct TUnitBits
{
    std::array<quint8, 8192> alone{};
    std::array<quint8, 8192> single{};
};

const TUnitBits &unitBits()
{
    static const TUnitBits bits = [] {
        TUnitBits table;
        for (unsigned u = 0; u < 0x10000; ++u) {
            if (!standsAlone(char16_t(u)))
                continue;
            table.alone[u >> 3] |= quint8(1u << (u & 7));
            if (!mayPair(char16_t(u)))
                table.single[u >> 3] |= quint8(1u << (u & 7));
        }
        return table;
    }();
    return bits;
}

bool allIn(const std::array<quint8, 8192> &bits, QStringView text)
{
    unsigned all = 1;
    for (const QChar c : text) {
        const unsigned u = c.unicode();
        all &= unsigned(bits[u >> 3]) >> (u & 7);
    }
    return (all & 1) != 0;
}

// A character that joins a half-width number or word: 1.5, A1, 3,000 stay as they are.
bool joinsNumber(QChar c)
{
    return (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == u'.' || c == u',';
}

} // namespace

qsizetype TManuscriptRule::uprightPairAt(QStringView text, qsizetype i)
{
    if (i + 1 >= text.size())
        return 0;
    const bool before = i > 0;
    const bool after = i + 2 < text.size();
    if (isAsciiDigit(text[i]) && isAsciiDigit(text[i + 1]))
        return (before && joinsNumber(text[i - 1])) || (after && joinsNumber(text[i + 2])) ? 0 : 2;
    if (isBang(text[i]) && isBang(text[i + 1]))
        return (before && isBang(text[i - 1])) || (after && isBang(text[i + 2])) ? 0 : 2;
    return 0;
}

bool TManuscriptRule::hangs(QStringView cell)
{
    if (cell.size() != 1)
        return false;
    switch (cell[0].unicode()) {
    case u'、':
    case u'。':
    case u'」':
    case u'』':
    case u'）':
    case u'】':
        return true;
    default:
        return false;
    }
}

QStringView TManuscriptRule::withoutTrailingSpaces(QStringView line)
{
    qsizetype end = line.size();
    while (end > 0 && isLineEndSpace(line[end - 1]))
        --end;
    return line.first(end);
}

bool TManuscriptRule::allStandAlone(QStringView text)
{
    return allIn(unitBits().alone, text);
}

QList<TManuscriptCell> TManuscriptRule::cellsOf(QStringView shownLine)
{
    const QStringView text = withoutTrailingSpaces(shownLine);
    QList<TManuscriptCell> cells;
    cells.reserve(text.size());
    if (allIn(unitBits().single, text)) {
        for (qsizetype i = 0; i < text.size(); ++i)
            cells.append({i, 1, false});
        return cells;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        if (const qsizetype pair = uprightPairAt(text, start)) {
            cells.append({start, pair, true});
            start += pair;
            continue;
        }
        finder.setPosition(start);
        qsizetype end = finder.toNextBoundary();
        if (end <= start)
            end = start + 1;
        cells.append({start, end - start, false});
        start = end;
    }
    return cells;
}

int TManuscriptRule::columnsOf(QStringView shownLine, int length)
{
    const QStringView text = withoutTrailingSpaces(shownLine);
    if (!allIn(unitBits().single, text))
        return place(text, cellsOf(text), length, [](qsizetype, int, int) {});
    // Every unit is a cell: the columns follow from where they break, without walking the cells
    // between.
    int columns = 1;
    qsizetype next = length; // the first cell that would start a new column
    while (next < text.size()) {
        for (int hanging = 0; hanging < MaxHanging && next < text.size() && hangs(text.sliced(next, 1)); ++hanging)
            ++next;
        if (next >= text.size())
            break;
        ++columns;
        next += length;
    }
    return columns;
}
