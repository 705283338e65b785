#pragma once

#include "VerticalPageStyle.h"

#include <QString>

// What a vertical PDF is to be: a book in the page style, or 原稿用紙 sheets.
struct TVerticalPdfOptions
{
    bool genko = false;
    TVerticalPageStyle style;
    // The sheet: cells per column and columns per sheet (20 × 20, or 40 × 30).
    int genkoLength = 20;
    int genkoColumns = 20;
    // The name line of the sheets, after the title line.
    QString name;
};
