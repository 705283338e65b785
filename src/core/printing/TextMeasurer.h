#pragma once

#include "PrintOptions.h"

#include <QStringView>

// Measures text in the print fonts, in device units of the target, so that the layout can fit
// lines without knowing how glyphs are drawn.
class TTextMeasurer
{
public:
    virtual ~TTextMeasurer();
    // The font's character height (a positive number).
    virtual int height(TPrintFont font) const = 0;
    // The drawn width of text in the font.
    virtual double width(TPrintFont font, QStringView text) const = 0;
    // No UTF-16 code unit of a text adds more than this to its width: a text that is short enough
    // fits without being measured.
    virtual double widestCharacter(TPrintFont font) const = 0;
};
