#include "TextCount.h"

#include "ruby/RubyNotation.h"
#include "vertical/ManuscriptRule.h"

#include <QTextBoundaryFinder>

namespace {
struct TLineMeasure
{
    int characters = 0;
    int rows = 1;
};

int graphemes(QStringView text)
{
    if (TManuscriptRule::allStandAlone(text))
        return int(text.size());
    int count = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

TLineMeasure measureShown(QStringView line, bool withRows)
{
    const QStringView text = TManuscriptRule::withoutTrailingSpaces(line);
    TLineMeasure m;
    m.characters = graphemes(text);
    if (withRows)
        m.rows = TManuscriptRule::columnsOf(text, TTextCount::Columns);
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
