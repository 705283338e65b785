// TOlvekEditor: painting of the gutter, line colours, the right edge, special characters and
// the caret past the end of a line. The text itself, the selection and the input method's
// composing text are QPlainTextEdit's.
#include "editor/OlvekCompo.h"

#include "editor/BoundaryCharacters.h"
#include "editor/LinePieces.h"
#include "editor/LineNumberGutter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

namespace {
QColor blend(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}
} // namespace

void TOlvekEditor::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(viewport());
        paintLineColors(painter, event->rect());
        if (m_rightEdge > 0) {
            const qreal x = contentOffset().x() + document()->documentMargin() + m_rightEdge * columnWidth();
            painter.setPen(blend(fontColor(), backgroundColor()));
            painter.drawLine(QPointF(x, event->rect().top()), QPointF(x, event->rect().bottom() + 1));
        }
    }
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    if (specialCharsVisible())
        paintSpecialChars(painter, event->rect());
    if (m_virtualColumns > 0 && !m_composingPastEnd && hasFocus())
        paintVirtualCaret(painter);
}

void TOlvekEditor::paintLineColors(QPainter &painter, const QRect &area)
{
    if (!m_lineColors && !m_lineForegroundsGiven)
        return;
    // Only the lines being painted are asked for their colours: the text colour goes into the
    // line's layout as a format range, for the toolkit's painting that follows. Colouring every
    // line of the text at once would give each line a layout object, however long the text.
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rect = blockBoundingGeometry(block).translated(offset);
        if (rect.top() > area.bottom())
            break;
        TLineColors colors;
        if (m_lineColors) {
            // A piece of a long line takes the colours of its line, which its start decides.
            const int line = lineOfBlock(block);
            const QTextBlock start = continuesLine(block) ? lineBlock(line) : block;
            colors = m_lineColors(line, TBoundaryCharacters::blockText(start));
        }
        if (colors.background.isValid())
            painter.fillRect(QRectF(0, rect.top(), viewport()->width(), rect.height()), colors.background);
        QList<QTextLayout::FormatRange> foreground;
        if (colors.foreground.isValid() && block.length() > 1) {
            QTextLayout::FormatRange range;
            range.start = 0;
            range.length = block.length() - 1;
            range.format.setForeground(colors.foreground);
            foreground.append(range);
            m_lineForegroundsGiven = true;
        }
        QTextLayout *layout = block.layout();
        // A composition in the line shows its own formats meanwhile.
        if (layout->preeditAreaText().isEmpty() && layout->formats() != foreground) {
            // Setting the formats drops the line's layout; the toolkit lays it out again (to
            // the same rows) when it paints it.
            layout->setFormats(foreground);
        }
    }
}

void TOlvekEditor::paintSpecialChars(QPainter &painter, const QRect &area)
{
    const QPointF offset = contentOffset();
    painter.setPen(blend(fontColor(), backgroundColor()));
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rect = blockBoundingGeometry(block).translated(offset);
        if (rect.top() > area.bottom())
            break;
        const QTextLayout *layout = block.layout();
        if (layout->lineCount() == 0)
            continue;
        // The line goes on in the next piece.
        if (continuesLine(block.next()))
            continue;
        const QTextLine last = layout->lineAt(layout->lineCount() - 1);
        const int end = block.length() - 1;
        const qreal x = offset.x() + last.cursorToX(end) + metrics.horizontalAdvance(u' ') / 4;
        const qreal baseline = rect.top() + last.y() + last.ascent();
        const QString mark = block.next().isValid() ? QStringLiteral("\u21B2") : QStringLiteral("[EOF]");
        painter.drawText(QPointF(x, baseline), mark);
    }
}

void TOlvekEditor::paintVirtualCaret(QPainter &painter)
{
    const QRect caret = cursorRect();
    const qreal x = caret.left() + m_virtualColumns * spaceWidth();
    painter.fillRect(QRectF(x, caret.top(), overwriteMode() ? spaceWidth() : 1.0, caret.height()),
                     overwriteMode() ? blend(fontColor(), backgroundColor()) : fontColor());
}

void TOlvekEditor::paintGutter(QPaintEvent *event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), m_lineNumberBackground);
    painter.setFont(lineNumberFont());
    const QColor number = blend(fontColor(), m_lineNumberBackground);
    const int current = caretLine();
    const int width = m_gutter->width() - TLineNumberGutter::Padding;
    const QPointF offset = contentOffset();
    const int shift = viewport()->y() - m_gutter->y();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rect = blockBoundingGeometry(block).translated(offset);
        const int top = qRound(rect.top()) + shift;
        if (top > event->rect().bottom())
            break;
        // A line's number stands beside its first piece only.
        if (!block.isVisible() || rect.bottom() + shift < event->rect().top() || continuesLine(block))
            continue;
        const QTextLayout *layout = block.layout();
        const int rowHeight = layout->lineCount() > 0 ? qRound(layout->lineAt(0).height()) : fontMetrics().height();
        const int line = lineOfBlock(block);
        painter.setPen(line == current ? fontColor() : number);
        painter.drawText(0, top, width, rowHeight, Qt::AlignRight | Qt::AlignVCenter, QString::number(line));
    }
}
