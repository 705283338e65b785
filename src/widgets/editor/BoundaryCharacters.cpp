#include "editor/BoundaryCharacters.h"

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>

namespace {
// The character a stand-in replaces, stored in its format.
constexpr int OriginalProperty = QTextFormat::UserProperty + 0x2029;
} // namespace

bool TBoundaryCharacters::holdsBoundary(QStringView text)
{
    for (const QChar c : text) {
        if (isBoundary(c))
            return true;
    }
    return false;
}

QTextCharFormat TBoundaryCharacters::standInFormat(QChar boundary)
{
    QTextCharFormat format;
    format.setProperty(OriginalProperty, int(boundary.unicode()));
    return format;
}

bool TBoundaryCharacters::isStandInFormat(const QTextCharFormat &format)
{
    return format.hasProperty(OriginalProperty);
}

void TBoundaryCharacters::insert(QTextCursor &cursor, QStringView text)
{
    // One edit, so that undo takes the whole insertion back at once.
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const QTextCharFormat plain;
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        if (end > start)
            cursor.insertText(text.mid(start, end - start).toString(), plain);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            flush(i);
            // A break the user inserts is a line break of its own, even inside a piece of a
            // long line, whose mark insertBlock() would copy (TLinePieces).
            cursor.insertBlock(QTextBlockFormat());
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        } else if (isBoundary(c)) {
            flush(i);
            cursor.insertText(QString(QChar(StandIn)), standInFormat(c));
            start = i + 1;
        }
    }
    flush(text.size());
    cursor.endEditBlock();
}

void TBoundaryCharacters::markStandIns(QTextCursor &cursor, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBoundary(text[i]))
            continue;
        cursor.setPosition(int(i));
        cursor.setPosition(int(i) + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(standInFormat(text[i]));
    }
}

QString TBoundaryCharacters::blockText(const QTextBlock &block)
{
    QString text = block.text();
    if (!text.contains(QChar(StandIn)))
        return text;
    const int start = block.position();
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QVariant original = fragment.charFormat().property(OriginalProperty);
        if (!original.isValid())
            continue;
        const QChar boundary(char16_t(original.toInt()));
        const int from = fragment.position() - start;
        for (int i = from; i < from + fragment.length(); ++i) {
            if (text[i] == QChar(StandIn))
                text[i] = boundary;
        }
    }
    return text;
}
