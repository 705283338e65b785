#include "editor/EditorDocumentLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

TEditorDocumentLayout::TEditorDocumentLayout(QTextDocument *document)
    : QPlainTextDocumentLayout(document)
{
}

void TEditorDocumentLayout::setLineSpacing(int pixels)
{
    pixels = qMax(0, pixels);
    if (pixels == m_lineSpacing)
        return;
    m_lineSpacing = pixels;
    document()->markContentsDirty(0, document()->characterCount());
}

QRectF TEditorDocumentLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (m_lineSpacing == 0 || !block.isValid() || !block.isVisible())
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    ensureBlockLayout(block);
    QTextLayout *layout = block.layout();
    // Recomputed from the row heights each time, so repeated calls give the same positions.
    qreal y = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        QTextLine line = layout->lineAt(i);
        line.setPosition(QPointF(line.x(), y));
        y += line.height() + m_lineSpacing;
    }
    QRectF rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    rect.setHeight(rect.height() + m_lineSpacing);
    return rect;
}
