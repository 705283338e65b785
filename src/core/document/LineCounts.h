#pragma once

#include "TextCount.h"

#include <QStringList>
#include <QStringView>

#include <vector>

// The count of a text that is being edited, kept line by line, so that an edit costs the count of
// the lines it touched. The text is either one item's body (every line counts, and a text of one
// empty line is an empty body) or the dotted text of the text mode, whose body lines are counted
// as the items they become: heading lines are titles, and the empty line that separates a body
// from the next heading, or ends the text, belongs to no body.
class TLineCounts
{
public:
    enum class Kind { Body, DottedText };

    explicit TLineCounts(Kind kind = Kind::Body) : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    int lineCount() const { return int(m_lines.size()); }

    // Counts the whole text again: its lines are those of text split at U+2029 (the form an
    // editor's document hands out), or the given lines.
    void reset(Kind kind, QStringView paragraphs);
    void reset(Kind kind, const QStringList &lines);

    // removed lines from first on were replaced by added; first may be lineCount() to append.
    void replace(int first, int removed, const QStringList &added);

    // The body lines' characters, rows and line count.
    TTextCount total() const;

private:
    struct TLine
    {
        int characters = 0;
        int rows = 0;
        bool heading = false;
        bool empty = false;
    };

    static TLine measure(QStringView line);
    // What line i adds to the total, which for the dotted text depends on the line after it.
    TTextCount share(int i) const;
    void add(int first, int last, int sign);

    Kind m_kind;
    std::vector<TLine> m_lines;
    TTextCount m_total;
};
