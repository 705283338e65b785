#pragma once

#include <QObject>
#include <vector>

class QTextDocument;
class TOlvekEditor;

// Keeps the character count (as TTextCount counts it) of the text in an editor while it is
// edited: every line's count is kept, and a change recounts only the lines it touched, so that
// a key typed in a long text costs about one line's count. Owned by the editor it watches.
class TBodyCounter : public QObject
{
    Q_OBJECT
public:
    explicit TBodyCounter(TOlvekEditor *editor);

    // Counting is off until enabled; enabling counts the whole text once.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    qint64 characters() const { return m_total; }
    // Characters of the selected text, counted as a text of its own; 0 without a selection.
    qint64 selectedCharacters() const;

Q_SIGNALS:
    // The text's count or the selection changed.
    void countsChanged();

private:
    static constexpr int ManyLines = 1000;

    void contentsChanged(int position, int removed, int added);
    void recountAll();
    int countBlock(int blockNumber) const;

    TOlvekEditor *m_editor;
    QTextDocument *m_document;
    bool m_enabled = false;
    // Characters of each line of the document, by block number, and their sum.
    std::vector<int> m_counts;
    qint64 m_total = 0;
};
