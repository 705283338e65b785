#pragma once

#include <QString>
#include <QTextCharFormat>

class QTextBlock;
class QTextCursor;

// QTextDocument takes U+2029 (paragraph separator) and U+FDD0/U+FDD1 (its frame marks) for
// the end of a block wherever they stand, yet a body line may hold them: only CR and LF end a
// line. The editor's document therefore holds each of them as the stand-in U+FFFD whose
// character format names the character it stands for. A stand-in is one UTF-16 unit like
// the character itself, so positions and offsets are those of the text. A U+FFFD of the
// text itself has no such format, and text typed after a stand-in gets a plain format (the
// editor resets its typing format), so the two never mix.
class TBoundaryCharacters
{
public:
    static constexpr char16_t StandIn = u'\uFFFD';

    static bool isBoundary(QChar c)
    {
        return c == QChar::ParagraphSeparator || c == u'\uFDD0' || c == u'\uFDD1';
    }
    // Whether the text holds a character that must go into the document as a stand-in.
    static bool holdsBoundary(QStringView text);
    // The format of a stand-in for the boundary character.
    static QTextCharFormat standInFormat(QChar boundary);
    // Whether a typing format carries a stand-in's mark, which text typed after a stand-in
    // would inherit.
    static bool isStandInFormat(const QTextCharFormat &format);

    // Inserts text at the cursor, replacing its selection: CR LF, CR and LF break the line (a
    // new block without marks), boundary characters go in as stand-ins, everything else with
    // a plain format.
    static void insert(QTextCursor &cursor, QStringView text);
    // Gives the stand-ins in a document built from text with boundary characters replaced by
    // U+FFFD (setPlainText) their formats; positions are those of the text, breaks one unit.
    static void markStandIns(QTextCursor &cursor, QStringView text);
    // The text of a block with the stand-ins turned back into their characters.
    static QString blockText(const QTextBlock &block);
};
