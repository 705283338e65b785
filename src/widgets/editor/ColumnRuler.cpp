#include "editor/ColumnRuler.h"

#include "editor/OlvekCompo.h"

#include <QPainter>

TColumnRuler::TColumnRuler(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Ruler"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

void TColumnRuler::setEditor(TOlvekEditor *editor)
{
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (m_editor) {
        connect(m_editor, &TOlvekEditor::textColumnsMoved, this, qOverload<>(&QWidget::update));
        connect(m_editor, &QObject::destroyed, this, [this] { m_editor = nullptr; });
    }
    update();
}

void TColumnRuler::setText(const QString &text)
{
    m_text = text;
    update();
}

void TColumnRuler::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void TColumnRuler::setBackgroundColor(const QColor &color)
{
    m_background = color;
    update();
}

void TColumnRuler::setSelStart(int offset)
{
    m_selStart = qMax(0, offset);
    m_selEnd = m_selStart;
    update();
}

void TColumnRuler::setSelEnd(int offset)
{
    m_selEnd = qMax(0, offset);
    update();
}

int TColumnRuler::textStartX() const
{
    if (!m_editor)
        return 2;
    // Both widgets may sit in different parents; compare them through the window.
    const QPoint editorText = m_editor->mapTo(window(), QPoint(m_editor->textStartX(), 0));
    return editorText.x() - mapTo(window(), QPoint(0, 0)).x();
}

QSize TColumnRuler::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 4);
}

QSize TColumnRuler::minimumSizeHint() const
{
    return QSize(0, fontMetrics().height() + 4);
}

void TColumnRuler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    int clipLeft = 0;
    if (m_editor && m_editor->gutterWidth() > 0) {
        const int left = m_editor->mapTo(window(), QPoint(m_editor->contentsRect().left(), 0)).x()
            - mapTo(window(), QPoint(0, 0)).x();
        clipLeft = left + m_editor->gutterWidth();
        painter.fillRect(QRect(left, 0, m_editor->gutterWidth(), height()), m_editor->lineNumberBackgroundColor());
    }
    painter.setClipRect(QRect(clipLeft, 0, width() - clipLeft, height()));

    // One character per column of the editor, each centred in its column: in a proportional
    // font the characters' own advances would drift off the columns.
    const qreal column = m_editor ? m_editor->columnWidth() : QFontMetricsF(font()).horizontalAdvance(QChar(u'漢')) / 2;
    const QFontMetricsF metrics(font());
    const qreal top = (height() - metrics.height()) / 2;
    const qreal baseline = top + metrics.ascent();
    const qreal left = textStartX();
    const int from = qMin(m_selStart, m_selEnd);
    const int to = qMax(m_selStart, m_selEnd);
    painter.setFont(font());
    for (int i = 0; i < m_text.size(); ++i) {
        const qreal x = left + i * column;
        if (x > width())
            break;
        const bool marked = i >= from && i < to;
        if (marked)
            painter.fillRect(QRectF(x, top, column, metrics.height()), palette().color(QPalette::Highlight));
        painter.setPen(marked ? palette().color(QPalette::HighlightedText) : m_textColor);
        const QString character(m_text.at(i));
        painter.drawText(QPointF(x + (column - metrics.horizontalAdvance(character)) / 2, baseline), character);
    }
}
