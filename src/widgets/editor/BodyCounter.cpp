#include "BodyCounter.h"

#include "OlvekCompo.h"
#include "document/TextCount.h"

#include <QTextBlock>
#include <QTextDocument>

TBodyCounter::TBodyCounter(TOlvekEditor *editor)
    : QObject(editor), m_editor(editor), m_document(editor->document())
{
    connect(m_document, &QTextDocument::contentsChange, this, &TBodyCounter::contentsChanged);
    connect(editor, &QPlainTextEdit::selectionChanged, this, [this] {
        if (m_enabled)
            Q_EMIT countsChanged();
    });
}

void TBodyCounter::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled) {
        recountAll();
    } else {
        m_counts = {};
        m_total = 0;
    }
    Q_EMIT countsChanged();
}

qint64 TBodyCounter::selectedCharacters() const
{
    const QTextCursor cursor = m_editor->textCursor();
    if (!m_enabled || !cursor.hasSelection())
        return 0;
    const QTextBlock first = m_document->findBlock(cursor.selectionStart());
    const QTextBlock last = m_document->findBlock(cursor.selectionEnd());
    const int head = cursor.selectionStart() - first.position();
    if (first == last)
        return TTextCount::lineCharacters(QStringView(first.text()).sliced(head, cursor.selectionEnd() - cursor.selectionStart()));
    // Whole lines inside the selection are already counted.
    qint64 total = TTextCount::lineCharacters(QStringView(first.text()).sliced(head));
    for (int b = first.blockNumber() + 1; b < last.blockNumber(); ++b)
        total += m_counts[size_t(b)];
    return total + TTextCount::lineCharacters(QStringView(last.text()).first(cursor.selectionEnd() - last.position()));
}

void TBodyCounter::contentsChanged(int position, int, int added)
{
    if (!m_enabled)
        return;
    // Lines before the change and after it keep their texts; those after it move by the
    // change in the number of lines.
    const int first = m_document->findBlock(position).blockNumber();
    QTextBlock lastBlock = m_document->findBlock(position + added);
    const int newLast = lastBlock.isValid() ? lastBlock.blockNumber() : m_document->blockCount() - 1;
    const int oldLast = newLast - (m_document->blockCount() - int(m_counts.size()));
    // A change over many lines (a new text, a long paste) is counted from one copy of the text.
    if (first < 0 || oldLast < first || oldLast >= int(m_counts.size()) || newLast - first > ManyLines) {
        recountAll();
        Q_EMIT countsChanged();
        return;
    }
    for (int b = first; b <= oldLast; ++b)
        m_total -= m_counts[size_t(b)];
    if (oldLast == newLast) {
        for (int b = first; b <= newLast; ++b) {
            m_counts[size_t(b)] = countBlock(b);
            m_total += m_counts[size_t(b)];
        }
        Q_EMIT countsChanged();
        return;
    }
    std::vector<int> fresh;
    fresh.reserve(size_t(newLast - first + 1));
    for (int b = first; b <= newLast; ++b) {
        fresh.push_back(countBlock(b));
        m_total += fresh.back();
    }
    m_counts.erase(m_counts.begin() + first, m_counts.begin() + oldLast + 1);
    m_counts.insert(m_counts.begin() + first, fresh.begin(), fresh.end());
    Q_EMIT countsChanged();
}

void TBodyCounter::recountAll()
{
    // One copy of the whole text is far quicker than asking every block for its own. Blocks are
    // separated by U+2029 there; a line of the text never holds one (see TBoundaryCharacters).
    const QString raw = m_document->toRawText();
    const QStringView text(raw);
    m_counts.clear();
    m_counts.reserve(size_t(m_document->blockCount()));
    m_total = 0;
    qsizetype start = 0;
    for (qsizetype end = text.indexOf(QChar::ParagraphSeparator); ; end = text.indexOf(QChar::ParagraphSeparator, start)) {
        const qsizetype stop = end < 0 ? text.size() : end;
        m_counts.push_back(TTextCount::lineCharacters(text.sliced(start, stop - start)));
        m_total += m_counts.back();
        if (end < 0)
            break;
        start = end + 1;
    }
}

int TBodyCounter::countBlock(int blockNumber) const
{
    return TTextCount::lineCharacters(m_document->findBlockByNumber(blockNumber).text());
}
