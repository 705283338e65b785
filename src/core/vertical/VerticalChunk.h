#pragma once

#include <QString>

// One HTML document of a vertical book, printed on its own and joined with the others: the
// title page, or a first-level item (a long one in several chunks).
struct TVerticalChunk
{
    QString html;
    // The running head over its pages: the first-level item's title.
    QString head;
    // The page numbers are printed on its pages (not on the title page).
    bool numbered = true;
};
