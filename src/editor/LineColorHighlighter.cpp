#include "editor/LineColorHighlighter.h"

#include "editor/BoundaryCharacters.h"

#include <QTextBlock>

TLineColorHighlighter::TLineColorHighlighter(QTextDocument *document, TOlvekEditor::LineColorProvider provider)
    : QSyntaxHighlighter(document)
    , m_provider(std::move(provider))
{
}

void TLineColorHighlighter::highlightBlock(const QString &text)
{
    const TLineColors colors = m_provider(currentBlock().blockNumber() + 1, TBoundaryCharacters::blockText(currentBlock()));
    if (!colors.foreground.isValid() || text.isEmpty())
        return;
    QTextCharFormat format;
    format.setForeground(colors.foreground);
    setFormat(0, int(text.size()), format);
}
