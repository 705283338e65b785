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
    // The owner sees the line's own characters, not the document's stand-ins.
    const bool standIns = text.contains(QChar(TBoundaryCharacters::StandIn));
    const TLineColors colors =
        m_provider(currentBlock().blockNumber() + 1, standIns ? TBoundaryCharacters::blockText(currentBlock()) : text);
    if (!colors.foreground.isValid() || text.isEmpty())
        return;
    QTextCharFormat format;
    format.setForeground(colors.foreground);
    setFormat(0, int(text.size()), format);
}
