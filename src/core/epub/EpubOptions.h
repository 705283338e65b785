#pragma once

#include <QDateTime>
#include <QString>

// What an EPUB book is made with besides the document.
struct TEpubOptions
{
    // Vertical lines read from the right and pages in right-to-left order; otherwise
    // horizontal lines and pages from left to right.
    bool vertical = true;
    // The book's title; empty gives the main title's shown text.
    QString title;
    // The author; an empty one is left out of the book.
    QString author;
    // The book's modification date, written in UTC to the second; none gives the time of the
    // export.
    QDateTime modified;
};
