#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <vector>

class QTextBlock;
class QTextDocument;

// Counts the screen rows of the lines of a document. A laid-out line knows its rows; for one
// that is not laid out yet (a long text is laid out only where it is shown) the rows are
// worked out the way the layout fills them, from the advances of the characters and the
// line-break opportunities, which avoids shaping the whole text just to number a row.
// The counts are kept per line until the text, the font or the width changes.
class TRowCounter
{
public:
    void setFont(const QFont &font);
    // Width available to a row in pixels; 0 or less means rows never wrap.
    void setWrapWidth(qreal width);
    void setTabStop(qreal width);
    // The text changed from this 0-based line on.
    void invalidateFrom(int blockNumber);

    int rows(const QTextBlock &block) const;
    // Rows of all lines before the 0-based line.
    int rowsBefore(const QTextDocument *document, int blockNumber) const;
    // The 1-based line that holds the 1-based row (the last line for a row past the end).
    int lineOfRow(const QTextDocument *document, int row) const;

private:
    // Counting this many lines or more reads their texts from one copy of the whole text.
    static constexpr int ManyLines = 2000;

    int rowsOf(const QTextBlock &block, int number, QStringView text) const;
    int countRows(const QTextBlock &block, QStringView text) const;
    bool fitsOneRow(QStringView text) const;
    qreal advance(char16_t unit) const;

    QFontMetricsF m_metrics{QFont()};
    qreal m_wrapWidth = 0;
    qreal m_tabStop = 80;
    // Rows of the lines 0, 1, ... as far as they were counted.
    mutable std::vector<int> m_rows;
    // Advance of every UTF-16 unit met so far, negative while unknown; a flat table, since a
    // long text looks up every one of its characters.
    mutable std::vector<float> m_advances;
};
