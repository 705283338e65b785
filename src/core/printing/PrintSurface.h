#pragma once

#include "TextMeasurer.h"

#include <QString>

// A sequence of pages that text is drawn on: the preview's pictures or the printer. The first
// page exists from the start; the layout asks for every further one.
class TPrintSurface : public TTextMeasurer
{
public:
    // Draws text with its top-left corner at (x, y) on the current page.
    virtual void drawText(TPrintFont font, int x, int y, const QString &text) = 0;
    // Ends the current page and starts the next one.
    virtual void newPage() = 0;
};
