#pragma once

#include <QString>
#include <QStringView>

// HTML of body text for the engine that lays it out vertically: the ruby and emphasis notation
// as ruby and emphasis dots, half-width numbers of one or two digits and !? pairs upright in one
// cell (縦中横), and the characters that HTML reserves escaped (TRubyHtml).
class TVerticalInline
{
public:
    enum class Ruby {
        // <ruby> elements: the engine spreads the base under a long reading (the preview).
        Native,
        // The reading in an inline box of no width after its base: the line grid stays exact,
        // and a PDF's text gives every reading right after its base (pages).
        Following,
    };

    static QString lineHtml(QStringView line, Ruby ruby);
    // Text without notation (titles): upright numbers and escapes only.
    static QString textHtml(QStringView text);
    // A page number as 漢数字 (一二〇) or digits.
    static QString pageNumber(int number, bool kanji);
};
