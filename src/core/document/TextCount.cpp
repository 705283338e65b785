#include "TextCount.h"

#include "ruby/RubyNotation.h"

#include <QTextBoundaryFinder>

#include <array>

namespace {
bool isLineEndSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

QStringView withoutTrailingSpaces(QStringView line)
{
    qsizetype end = line.size();
    while (end > 0 && isLineEndSpace(line[end - 1]))
        --end;
    return line.first(end);
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

// standsAlone for every code unit as one bit: a line mixes kana, kanji and punctuation at
// random, which makes range tests a string of mispredicted jumps; a lookup takes none.
const std::array<quint8, 8192> &standAloneBits()
{
    static const std::array<quint8, 8192> bits = [] {
        std::array<quint8, 8192> table{};
        for (unsigned u = 0; u < 0x10000; ++u) {
            if (standsAlone(char16_t(u)))
                table[u >> 3] |= quint8(1u << (u & 7));
        }
        return table;
    }();
    return bits;
}

bool isClosingMark(char16_t u)
{
    switch (u) {
    case u'。':
    case u'、':
    case u'」':
    case u'』':
    case u'）':
        return true;
    default:
        return false;
    }
}

bool isClosingMark(QStringView cluster)
{
    return cluster.size() == 1 && isClosingMark(cluster[0].unicode());
}

bool allStandAlone(QStringView text)
{
    const std::array<quint8, 8192> &bits = standAloneBits();
    unsigned simple = 1;
    for (const QChar c : text) {
        const unsigned u = c.unicode();
        simple &= unsigned(bits[u >> 3]) >> (u & 7);
    }
    return (simple & 1) != 0;
}

struct TLineMeasure
{
    int characters = 0;
    int rows = 1;
};

// A line whose every code unit is a character: the rows follow from where they break, without
// walking the characters between.
TLineMeasure measureSimple(QStringView text, bool withRows)
{
    TLineMeasure m;
    m.characters = int(text.size());
    if (!withRows)
        return m;
    qsizetype next = TTextCount::Columns; // the first character that would start a new row
    while (next < text.size()) {
        for (int hanging = 0; hanging < TTextCount::MaxHanging && next < text.size()
                              && isClosingMark(text[next].unicode());
             ++hanging)
            ++next;
        if (next >= text.size())
            break;
        ++m.rows;
        next += TTextCount::Columns;
    }
    return m;
}

TLineMeasure measureShown(QStringView line, bool withRows)
{
    const QStringView text = withoutTrailingSpaces(line);
    if (allStandAlone(text))
        return measureSimple(text, withRows);
    TLineMeasure m;
    int filled = 0;
    int hanging = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), int(text.size()));
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; start = end, end = finder.toNextBoundary()) {
        ++m.characters;
        if (!withRows)
            continue;
        if (filled == TTextCount::Columns) {
            if (hanging < TTextCount::MaxHanging && isClosingMark(text.sliced(start, end - start))) {
                ++hanging;
                continue;
            }
            ++m.rows;
            filled = 0;
            hanging = 0;
        }
        ++filled;
    }
    return m;
}
// The reader sees a ruby's base and an emphasised text without the notation around them.
TLineMeasure measure(QStringView line, bool withRows)
{
    if (!TRubyNotation::mayHaveNotation(line))
        return measureShown(line, withRows);
    return measureShown(TRubyNotation::shownText(line), withRows);
}
} // namespace

void TTextCount::addLine(QStringView line)
{
    const TLineMeasure m = measure(line, true);
    characters += m.characters;
    rows += m.rows;
    ++lines;
}

void TTextCount::addLines(const QStringList &source)
{
    for (const QString &line : source)
        addLine(line);
}

TTextCount &TTextCount::operator+=(const TTextCount &other)
{
    characters += other.characters;
    lines += other.lines;
    rows += other.rows;
    return *this;
}

TTextCount TTextCount::ofLines(const QStringList &lines)
{
    TTextCount count;
    count.addLines(lines);
    return count;
}

int TTextCount::lineCharacters(QStringView line)
{
    return measure(line, false).characters;
}

qint64 TTextCount::textCharacters(QStringView text)
{
    qint64 total = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        total += lineCharacters(text.sliced(start, end - start));
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return total;
}
