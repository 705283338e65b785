#pragma once

#include "LumenoTreeList.h"

#include <QStringList>
#include <QStringView>

// What a parse makes of a text besides the heading list.
struct THeadingParse
{
    // The text after level repairs, blank-line normalisation and the synthetic first heading.
    QStringList Lines;
    // A level repair or the normalisation altered the text.
    bool Changed = false;
    // The text did not begin with a heading, and ".タイトル" was put in front of it.
    bool Synthetic = false;
    // For each input line, the index in Lines of the line it became; an empty line the
    // normalisation removed maps to the empty line kept in its place.
    QList<qsizetype> LineMap;
};

// The heading syntax of the text mode: a line whose first character is "." is a heading, and its
// run of leading dots minus one is its level. Plain logic on lines; the text-mode engine feeds it
// the editor's lines and the tree/text bridge turns the heading list into items.
namespace HeadingParser {

// The deepest level a heading can have; deeper headings are rewritten to this level.
constexpr int MaxLevel = 255;

inline bool isHeadingLine(QStringView line)
{
    return !line.isEmpty() && line[0] == u'.';
}

// Clears headings and refills it from lines. Afterwards the first heading has level 0, every
// heading is at most one level deeper than the one before and at most MaxLevel, and the records
// describe Lines exactly: each record's heading line sits at its LineIndex and is followed by
// its Body lines up to the next heading. With normalizeBlankLines, every heading from the third
// line on gets exactly one empty line above it, and every heading that has a line after it
// exactly one below it; the synthetic first heading is left as it is.
THeadingParse ParseText(const QStringList &lines, bool normalizeBlankLines, TLumenoTreeList &headings);

// The text a heading list stands for: each record's heading line (Level + 1 dots and Title),
// then its Body lines, or one empty line for an empty body.
QStringList RebuildText(const TLumenoTreeList &headings);

} // namespace HeadingParser
