#pragma once

#include "PageGeometry.h"
#include "PrintOptions.h"

#include <QString>
#include <QStringView>
#include <functional>

class TCharacterAdvances;
class TDocumentTree;
class TPrintSurface;
class TTextMeasurer;

// Lays the main document (the main-title root and its descendants; the folder roots never) out
// as running text on pages: titles, optionally numbered and indented by level (never past two
// thirds of the text width), each followed by its body, lines broken anywhere by the glyph
// widths, a page number at the foot of each page and, when asked, a new page before every
// first-level item.
//
// A page is started only when something is drawn on it, so the document never ends with an
// empty page and two breaks in a row do not leave an empty page between them.
class TPrintLayout
{
public:
    // Told the number of items done after each item, out of tree.count().
    using Progress = std::function<void(int done)>;

    // Returns the number of pages; the first is the surface's current page.
    static int Render(const TDocumentTree &tree, const TPrintOptions &options, const TPageGeometry &geometry,
                      TPrintSurface &surface, const Progress &progress = {});

    // Each TAB becomes the spaces that bring the line to the next multiple of tabWidth (columns
    // counted from 0 in the line as expanded so far); a width below 1 counts as 1.
    static QString ExpandTabs(QStringView line, int tabWidth);

    // The length of the longest prefix of text whose width in font is at most available, never
    // ending between the halves of a surrogate pair, and at least one character (so that every
    // line makes progress even where nothing fits). The candidate comes from the characters'
    // advances, added up; one measurement of it confirms it (more only where kerning makes the
    // drawn width differ from the sum), so each printed line is measured about once. A text that
    // surely fits is not measured at all.
    static qsizetype FittingLength(TCharacterAdvances &advances, TPrintFont font, QStringView text, double available);

    // round(h × lineSpacing / 100) for a font of height h.
    static int LineStep(int height, int lineSpacing);

    // The text of the page number: "- n -".
    static QString PageNumberText(int page);
};
