#pragma once

#include "VerticalPdfOptions.h"

#include <QString>

class TSettings;

// The settings of the vertical preview and PDFs (section VERTICAL), as 環境設定 shows them.
// A value out of its range or a size the book pages do not offer reads as the default.
struct TVerticalSettings
{
    TVerticalPageStyle::Size size = TVerticalPageStyle::Size::Bunko;
    int characters = 42;
    int lines = 18;
    QString previewFont;
    QString pdfFont;
    bool kanjiNumbers = true;
    bool runningHead = true;
    bool genkoLarge = false;
    QString authorName;

    static TVerticalSettings read(const TSettings &settings);
    void write(TSettings &settings) const;

    // The page style of the preview (with the preview font) or of the PDF.
    TVerticalPageStyle pageStyle(bool preview) const;
    TVerticalPdfOptions pdfOptions(bool genko) const;
};
