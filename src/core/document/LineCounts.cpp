#include "LineCounts.h"

#include "textmode/HeadingParser.h"

#include <algorithm>

TLineCounts::TLine TLineCounts::measure(QStringView line)
{
    TTextCount count;
    count.addLine(line);
    return TLine{int(count.characters), int(count.rows), HeadingParser::isHeadingLine(line), line.isEmpty()};
}

void TLineCounts::reset(Kind kind, QStringView paragraphs)
{
    m_kind = kind;
    m_lines.clear();
    qsizetype start = 0;
    for (qsizetype end = paragraphs.indexOf(QChar::ParagraphSeparator);; end = paragraphs.indexOf(QChar::ParagraphSeparator, start)) {
        const qsizetype stop = end < 0 ? paragraphs.size() : end;
        m_lines.push_back(measure(paragraphs.sliced(start, stop - start)));
        if (end < 0)
            break;
        start = end + 1;
    }
    m_total = {};
    add(0, lineCount() - 1, 1);
}

void TLineCounts::reset(Kind kind, const QStringList &lines)
{
    m_kind = kind;
    m_lines.clear();
    m_lines.reserve(size_t(lines.size()));
    for (const QString &line : lines)
        m_lines.push_back(measure(line));
    m_total = {};
    add(0, lineCount() - 1, 1);
}

void TLineCounts::replace(int first, int removed, const QStringList &added)
{
    first = std::clamp(first, 0, lineCount());
    removed = std::clamp(removed, 0, lineCount() - first);
    // The line before the change may stop or start being the separator before a heading, and
    // the last line of the text may stop or start being the text's end: both are counted again.
    const int from = std::max(0, first - 1);
    add(from, std::min(lineCount() - 1, first + removed), -1);
    std::vector<TLine> fresh;
    fresh.reserve(size_t(added.size()));
    for (const QString &line : added)
        fresh.push_back(measure(line));
    const auto at = m_lines.begin() + first;
    if (removed == int(fresh.size())) {
        std::copy(fresh.begin(), fresh.end(), at);
    } else {
        m_lines.erase(at, at + removed);
        m_lines.insert(m_lines.begin() + first, fresh.begin(), fresh.end());
    }
    add(from, std::min(lineCount() - 1, first + int(fresh.size())), 1);
}

TTextCount TLineCounts::total() const
{
    TTextCount total = m_total;
    // An editor always holds a line; the body of an empty editor has none.
    if (m_kind == Kind::Body && lineCount() == 1 && m_lines.front().empty)
        total = {};
    return total;
}

TTextCount TLineCounts::share(int i) const
{
    const TLine &line = m_lines[size_t(i)];
    TTextCount count;
    if (m_kind == Kind::DottedText) {
        if (line.heading)
            return count;
        const bool last = i + 1 == lineCount();
        if (line.empty && (last || m_lines[size_t(i) + 1].heading))
            return count;
    }
    count.characters = line.characters;
    count.rows = line.rows;
    count.lines = 1;
    return count;
}

void TLineCounts::add(int first, int last, int sign)
{
    for (int i = first; i <= last; ++i) {
        const TTextCount s = share(i);
        m_total.characters += sign * s.characters;
        m_total.rows += sign * s.rows;
        m_total.lines += sign * s.lines;
    }
}
