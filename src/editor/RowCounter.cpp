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
    const int number = block.blockNumber();
    if (number < int(m_rows.size()))
        return m_rows[size_t(number)];
    const int count = countRows(block);
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
    for (QTextBlock block = document->findBlockByNumber(known); block.isValid() && block.blockNumber() < blockNumber;
         block = block.next())
        total += rows(block);
    return total;
}

int TRowCounter::lineOfRow(const QTextDocument *document, int row) const
{
    int total = 0;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        total += rows(block);
        if (total >= row)
            return block.blockNumber() + 1;
    }
    return document->blockCount();
}

int TRowCounter::countRows(const QTextBlock &block) const
{
    // A block laid out in several rows has its row count stored in the document. The layout
    // itself is not asked: QTextBlock::layout() creates one for every block it is called on.
    if (block.lineCount() > 1)
        return block.lineCount();
    if (m_wrapWidth <= 0)
        return 1;
    const QString text = block.text();
    // Greedy filling as the layout does it: a row ends at the last line-break opportunity
    // that still fits (anywhere inside a word only when the word alone is too long), and
    // white space may hang past the edge.
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
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
            width = m_metrics.horizontalAdvance(text.mid(i, 2));
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

qreal TRowCounter::advance(char16_t unit) const
{
    if (m_advances.empty())
        m_advances.assign(0x10000, -1.0f);
    float &width = m_advances[unit];
    if (width < 0)
        width = float(m_metrics.horizontalAdvance(QChar(unit)));
    return width;
}
