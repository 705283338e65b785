#include "editor/RowCounter.h"

#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

void TRowCounter::setFont(const QFont &font)
{
    m_font = font;
    m_metrics = QFontMetricsF(font);
    m_advances.clear();
}

int TRowCounter::rows(const QTextBlock &block) const
{
    if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0)
        return layout->lineCount();
    if (m_wrapWidth <= 0)
        return 1;
    const QString text = block.text();
    qreal x = 0;
    int rows = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
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
        if (x + width > m_wrapWidth && x > 0) {
            ++rows;
            x = 0;
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
