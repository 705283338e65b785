#include "editor/ColumnRuler.h"

#include "editor/OlvekCompo.h"

#include <QPainter>
#include <QTextLayout>

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

    // A text layout draws the marked characters as a selection at exactly the positions
    // where they would stand unmarked.
    QTextLayout layout(m_text, font());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    const qreal top = (height() - line.height()) / 2;
    QList<QTextLayout::FormatRange> marks;
    const int from = qMin(m_selStart, m_selEnd);
    const int to = qMin<int>(qMax(m_selStart, m_selEnd), int(m_text.size()));
    if (to > from) {
        QTextLayout::FormatRange mark;
        mark.start = from;
        mark.length = to - from;
        mark.format.setBackground(palette().color(QPalette::Highlight));
        mark.format.setForeground(palette().color(QPalette::HighlightedText));
        marks << mark;
    }
    painter.setPen(m_textColor);
    layout.draw(&painter, QPointF(textStartX(), top), marks);
}
