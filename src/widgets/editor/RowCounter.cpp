#include "editor/RowCounter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <cmath>

void TRowCounter::setFont(const QFont &font)
{
    m_metrics = QFontMetricsF(font);
    m_advances.clear();
    m_rows.clear();
}

void TRowCounter::setWrapWidth(qreal width)
{
    if (width == m_wrapWidth)
        return;
    m_wrapWidth = width;
    m_rows.clear();
}

void TRowCounter::setTabStop(qreal width)
{
    if (width == m_tabStop)
        return;
    m_tabStop = width;
    m_rows.clear();
}

void TRowCounter::invalidateFrom(int blockNumber)
{
    if (blockNumber < int(m_rows.size()))
        m_rows.resize(size_t(qMax(0, blockNumber)));
}

int TRowCounter::rows(const QTextBlock &block) const
{
    return rowsOf(block, block.blockNumber(), block.text());
}

int TRowCounter::rowsOf(const QTextBlock &block, int number, QStringView text) const
{
    if (number < int(m_rows.size()))
        return m_rows[size_t(number)];
    const int count = countRows(block, text);
    if (number == int(m_rows.size()))
        m_rows.push_back(count);
    return count;
}

int TRowCounter::rowsBefore(const QTextDocument *document, int blockNumber) const
{
    int total = 0;
    const int known = qMin(int(m_rows.size()), blockNumber);
    for (int i = 0; i < known; ++i)
        total += m_rows[size_t(i)];
    if (known >= blockNumber)
        return total;
    QTextBlock block = document->findBlockByNumber(known);
    if (blockNumber - known < ManyLines) {
        for (int number = known; number < blockNumber && block.isValid(); ++number, block = block.next())
            total += rowsOf(block, number, block.text());
        return total;
    }
    // Many lines: their texts are taken from one copy of the whole text, as asking each
    // block for its text costs several times more than counting its rows.
    const QString raw = document->toRawText();
    qsizetype start = block.position();
    for (int number = known; number < blockNumber && block.isValid(); ++number, block = block.next()) {
        qsizetype end = raw.indexOf(QChar::ParagraphSeparator, start);
        if (end < 0)
            end = raw.size();
        total += rowsOf(block, number, QStringView(raw).mid(start, end - start));
        start = end + 1;
    }
    return total;
}

int TRowCounter::lineOfRow(const QTextDocument *document, int row) const
{
    int total = 0;
    int number = 0;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next(), ++number) {
        total += rowsOf(block, number, block.text());
        if (total >= row)
            return number + 1;
    }
    return document->blockCount();
}

int TRowCounter::countRows(const QTextBlock &block, QStringView text) const
{
    // A block laid out in several rows has its row count stored in the document. The layout
    // itself is not asked: QTextBlock::layout() creates one for every block it is called on.
    if (block.lineCount() > 1)
        return block.lineCount();
    if (m_wrapWidth <= 0)
        return 1;
    if (fitsOneRow(text))
        return 1;
    // Greedy filling as the layout does it: a row ends at the last line-break opportunity
    // that still fits (anywhere inside a word only when the word alone is too long), and
    // white space may hang past the edge.
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text.toString());
    qsizetype nextBreak = breaks.toNextBoundary();
    qreal x = 0;
    qreal xAtBreak = 0;
    bool breakInRow = false;
    int rows = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == nextBreak) {
            breakInRow = x > 0;
            xAtBreak = x;
            nextBreak = breaks.toNextBoundary();
        }
        const QChar ch = text.at(i);
        qreal width;
        if (ch == u'\t') {
            width = m_tabStop > 0 ? m_tabStop - std::fmod(x, m_tabStop) : 0;
        } else if (ch.isHighSurrogate() && i + 1 < text.size()) {
            width = m_metrics.horizontalAdvance(text.mid(i, 2).toString());
            ++i;
        } else {
            width = advance(ch.unicode());
        }
        if (x + width > m_wrapWidth && x > 0 && !ch.isSpace()) {
            ++rows;
            x = breakInRow ? x - xAtBreak : 0;
            breakInRow = false;
        }
        x += width;
    }
    return rows;
}

bool TRowCounter::fitsOneRow(QStringView text) const
{
    // Most lines are shorter than a row: when their advances add up to no more than the
    // width, no row break can fall inside them, and their line-break opportunities need not
    // be looked up.
    qreal x = 0;
    for (const QChar ch : text) {
        if (ch == u'\t')
            x += m_tabStop > 0 ? m_tabStop - std::fmod(x, m_tabStop) : 0;
        else if (ch.isSurrogate())
            return false;
        else
            x += advance(ch.unicode());
        if (x > m_wrapWidth)
            return false;
    }
    return true;
}

qreal TRowCounter::advance(char16_t unit) const
{
    if (m_advances.empty())
        m_advances.assign(0x10000, -1.0f);
    float &width = m_advances[unit];
    if (width < 0)
        width = float(m_metrics.horizontalAdvance(QChar(unit)));
    return width;
}
