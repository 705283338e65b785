#pragma once

#include <QPlainTextDocumentLayout>

// The plain-text layout with extra pixels below every screen row: the rows of a block are
// moved apart whenever the block's rectangle is asked for, which every paint, hit test and
// caret rectangle of QPlainTextEdit does first.
class TEditorDocumentLayout : public QPlainTextDocumentLayout
{
    Q_OBJECT
public:
    explicit TEditorDocumentLayout(QTextDocument *document);

    int lineSpacing() const { return m_lineSpacing; }
    // Relays out the whole document when the spacing changes.
    void setLineSpacing(int pixels);

    QRectF blockBoundingRect(const QTextBlock &block) const override;

private:
    int m_lineSpacing = 0;
};
