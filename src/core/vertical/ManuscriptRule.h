#pragma once

#include "ManuscriptCell.h"

#include <QList>
#include <QStringView>

// How a line of text fills the columns of a manuscript sheet. One rule for the count of
// manuscript pages (TTextCount) and for the 原稿用紙 grid (TGenkoLayout), so both give the same
// number of pages for the same text:
// - The line as the reader sees it (TRubyNotation::shownText: readings take no cells, they stand
//   beside the column) without its trailing spaces. Every line starts a new column; an empty
//   line takes one column.
// - One character (grapheme cluster) per cell, half-width or full-width alike; two half-width
//   digits standing alone (12, not 123 or A1) and a pair of !? ！？ marks (!? !! ?? ?!) share one
//   cell.
// - A cell of 、。」』）】 that would start a column hangs below the full column before it
//   (ぶら下げ), at most MaxHanging of them; the cell after it starts the next column.
class TManuscriptRule
{
public:
    static constexpr int MaxHanging = 1;

    // The cells of a shown line, trailing spaces left out.
    static QList<TManuscriptCell> cellsOf(QStringView shownLine);
    // Columns of length cells that the shown line fills (at least 1).
    static int columnsOf(QStringView shownLine, int length);
    // Places the cells into columns of length cells: at(cell index, column from 0, position
    // from 0; length for a hanging cell). Returns the columns used (at least 1).
    template <class At>
    static int place(QStringView shownLine, const QList<TManuscriptCell> &cells, int length, At &&at)
    {
        int column = 0;
        int filled = 0;
        int hanging = 0;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (filled == length) {
                if (hanging < MaxHanging && hangs(shownLine.sliced(cells[i].start, cells[i].length))) {
                    at(i, column, length + hanging);
                    ++hanging;
                    continue;
                }
                ++column;
                filled = 0;
                hanging = 0;
            }
            at(i, column, filled);
            ++filled;
        }
        return column + 1;
    }

    static bool hangs(QStringView cell);
    // 2 when two half-width digits or !? marks standing alone begin at text[i], else 0.
    static qsizetype uprightPairAt(QStringView text, qsizetype i);
    static QStringView withoutTrailingSpaces(QStringView line);
    // True when every UTF-16 unit of text is a character of its own (no surrogate pairs,
    // combining marks or variation selectors), so that counting needs no boundary finder.
    static bool allStandAlone(QStringView text);
};
