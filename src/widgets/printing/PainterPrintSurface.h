#pragma once

#include "printing/PrintSurface.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <array>
#include <optional>

class QPaintDevice;
class QPainter;

// Pages drawn with a QPainter in the print fonts, set up for the target's resolution: a font's
// height in target units is its point size scaled to that resolution. Subclasses say how a new
// page starts and own the painter's device.
class TPainterPrintSurface : public TPrintSurface
{
public:
    // resolution: the target's dots per inch; the fonts are measured as device draws them.
    TPainterPrintSurface(const TPrintOptions &options, int resolution, QPaintDevice *device);
    ~TPainterPrintSurface() override;

    int height(TPrintFont font) const override;
    double width(TPrintFont font, QStringView text) const override;
    double widestCharacter(TPrintFont font) const override;
    void drawText(TPrintFont font, int x, int y, const QString &text) override;

    // The colour text is printed in: the window text colour (the default) prints black, as
    // paper is white whatever the desktop's colours.
    static QColor printColor(TColor color);
    // The font a setting gives at resolution dots per inch.
    static QFont printFont(const TPrintFontSetting &fontSetting, int resolution);

protected:
    // The painter of the current page; null between pages.
    void setPainter(QPainter *painter)
    {
        m_painter = painter;
        m_fontPainter = nullptr;
    }

private:
    struct TFontEntry
    {
        QFont font;
        QColor color;
        std::optional<QFontMetricsF> metrics;
        int height = 1;
        double widest = 0;
    };

    std::array<TFontEntry, 4> m_fonts;
    QPainter *m_painter = nullptr;
    // The painter whose font and pen were last set, and to which font: unchanged, they are not
    // set again for every line.
    QPainter *m_fontPainter = nullptr;
    TPrintFont m_painterFont = TPrintFont::Detail;
};
