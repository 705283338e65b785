#pragma once

#include <QStringList>
#include <QStringView>

// Length of a text as Japanese writers measure it: characters and 400-character manuscript pages.
// - A character is a grapheme cluster: a surrogate pair, or a base character with its combining
//   marks or variation selector, counts one; full-width and half-width characters count one each.
// - Line breaks do not count, nor do spaces (half-width, full-width, tab) at the end of a line.
// - The ruby and emphasis notation counts as the reader sees it (TRubyNotation::shownText): the
//   bars, the brackets and the readings do not count, the bases and emphasised texts do.
// - Manuscript rows: every line fills rows of Columns cells as TManuscriptRule says (one
//   character a cell, 縦中横 pairs in one cell, a closing mark that would start a row hangs at
//   the end of the row before), the rule the 原稿用紙 grid places its characters by.
// - Pages: rows / Rows, rounded up; the text's lines follow each other without page breaks.
class TTextCount
{
public:
    static constexpr int Columns = 20;
    static constexpr int Rows = 20;

    qint64 characters = 0;
    qint64 lines = 0;
    qint64 rows = 0;

    qint64 pages() const { return (rows + Rows - 1) / Rows; }

    void addLine(QStringView line);
    void addLines(const QStringList &lines);
    TTextCount &operator+=(const TTextCount &other);

    static TTextCount ofLines(const QStringList &lines);
    // Characters of one line, trailing spaces left out.
    static int lineCharacters(QStringView line);
    // Characters of a text whose lines are separated by CR LF, CR or LF.
    static qint64 textCharacters(QStringView text);
};
