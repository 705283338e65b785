#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <vector>

class QTextBlock;

// Counts the screen rows of a line. A laid-out line knows its rows; for one that is not laid
// out yet (a long text is laid out only where it is shown) the rows are worked out from the
// advances of its characters, which avoids shaping the whole text just to number a row.
// With a fixed-pitch font the count matches the layout's.
class TRowCounter
{
public:
    void setFont(const QFont &font);
    // Width available to a row in pixels; 0 or less means rows never wrap.
    void setWrapWidth(qreal width) { m_wrapWidth = width; }
    void setTabStop(qreal width) { m_tabStop = width; }

    int rows(const QTextBlock &block) const;

private:
    qreal advance(char16_t unit) const;

    QFont m_font;
    QFontMetricsF m_metrics{QFont()};
    qreal m_wrapWidth = 0;
    qreal m_tabStop = 80;
    // Advance of every UTF-16 unit met so far, negative while unknown; a flat table, since a
    // long text looks up every one of its characters.
    mutable std::vector<float> m_advances;
};
