#pragma once

#include "editor/OlvekCompo.h"

#include <QSyntaxHighlighter>

// Gives every line the text colour that the editor's owner chooses for it. The colours are
// layout formats, so they touch neither the text nor the undo history.
class TLineColorHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    TLineColorHighlighter(QTextDocument *document, TOlvekEditor::LineColorProvider provider);

protected:
    void highlightBlock(const QString &text) override;

private:
    TOlvekEditor::LineColorProvider m_provider;
};
