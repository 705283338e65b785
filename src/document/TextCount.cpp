#include "TextCount.h"

#include <QTextBoundaryFinder>

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

bool isClosingMark(QStringView cluster)
{
    return cluster.size() == 1 && QStringView(u"。、」』）").contains(cluster[0]);
}

struct TLineMeasure
{
    int characters = 0;
    int rows = 1;
};

// Calls cluster(start, length) for every grapheme cluster of line, in order.
template<typename F>
void forEachCluster(QStringView line, F cluster)
{
    bool simple = true;
    for (const QChar c : line) {
        if (!standsAlone(c.unicode())) {
            simple = false;
            break;
        }
    }
    if (simple) {
        for (qsizetype i = 0; i < line.size(); ++i)
            cluster(i, 1);
        return;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line.data(), int(line.size()));
    qsizetype start = 0;
    for (qsizetype next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary()) {
        cluster(start, next - start);
        start = next;
    }
}

TLineMeasure measure(QStringView line, bool withRows)
{
    const QStringView text = withoutTrailingSpaces(line);
    TLineMeasure m;
    if (!withRows) {
        forEachCluster(text, [&](qsizetype, qsizetype) { ++m.characters; });
        return m;
    }
    int filled = 0;
    int hanging = 0;
    forEachCluster(text, [&](qsizetype start, qsizetype length) {
        ++m.characters;
        if (filled == TTextCount::Columns) {
            if (hanging < TTextCount::MaxHanging && isClosingMark(text.sliced(start, length))) {
                ++hanging;
                return;
            }
            ++m.rows;
            filled = 0;
            hanging = 0;
        }
        ++filled;
    });
    return m;
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
