#include "PageGeometry.h"

#include <cmath>

TPageGeometry::TPageGeometry(const TPrinterPage &printer, int targetResolution, int leftRightMargin, int topBottomMargin)
    : m_printer(printer), m_resolution(targetResolution),
      m_scale(printer.resolution > 0 ? double(targetResolution) / printer.resolution : 1.0)
{
    const double lr = millimetres(leftRightMargin);
    const double tb = millimetres(topBottomMargin);
    m_textLeft = round(lr - printer.offsetX * m_scale);
    m_textTop = round(tb - printer.offsetY * m_scale);
    m_textWidth = round(printer.width * m_scale - 2 * lr);
    m_textBottom = round(printer.height * m_scale - tb);
    m_pageWidth = round(printer.width * m_scale);
    m_pageHeight = round(printer.height * m_scale);
}

int TPageGeometry::round(double value)
{
    return int(std::nearbyint(value));
}
