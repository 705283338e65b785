#pragma once

// Where text goes on a page, in device units of the target (printer dots, or preview pixels).
// Coordinates are relative to the top-left corner of the printer's printable area.
class TPageGeometry
{
public:
    // The printer's page: physical size and printing offset in printer dots, and its vertical
    // resolution, which is used for both directions.
    struct TPrinterPage
    {
        int width = 0;
        int height = 0;
        int offsetX = 0;
        int offsetY = 0;
        int resolution = 600;
    };

    // targetResolution is R: the printer's resolution when printing, the screen's pixels per inch
    // for the preview. Margins are in millimetres.
    TPageGeometry(const TPrinterPage &printer, int targetResolution, int leftRightMargin, int topBottomMargin);

    // Halves to the even neighbour.
    static int round(double value);
    // Millimetres in target units, not rounded.
    double millimetres(double mm) const { return mm * m_resolution / 25.4; }

    int resolution() const { return m_resolution; }
    double scale() const { return m_scale; }
    const TPrinterPage &printer() const { return m_printer; }
    int textLeft() const { return m_textLeft; }     // X0
    int textTop() const { return m_textTop; }       // Y0
    int textWidth() const { return m_textWidth; }   // Wt
    int textBottom() const { return m_textBottom; } // Yb
    int pageWidth() const { return m_pageWidth; }   // the physical page in target units
    int pageHeight() const { return m_pageHeight; }

private:
    TPrinterPage m_printer;
    int m_resolution;
    double m_scale;
    int m_textLeft;
    int m_textTop;
    int m_textWidth;
    int m_textBottom;
    int m_pageWidth;
    int m_pageHeight;
};
