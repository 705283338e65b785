#pragma once

#include <QList>
#include <QSizeF>
#include <QString>

// The page numbers and running heads of a vertical book, drawn as a PDF of their own with one
// page for each page of the book, to be stamped over it (the engine prints no page-margin
// boxes). The number stands centred in the bottom margin; the running head, the first-level
// item's title, stands in the left margin of the even pages, from the top.
class TPageStampOverlay
{
public:
    struct TPageMarks
    {
        bool numbered = true;
        QString head;
    };

    // pageSize in points; marks gives every page's marks in order.
    static bool write(const QString &path, QSizeF pageSize, const QList<TPageMarks> &marks, const QString &fontFamily,
                      bool kanjiNumbers, double bottomMarginPt, double leftMarginPt);
};
