#pragma once

#include "PainterPrintSurface.h"

#include <QPainter>

class QPagedPaintDevice;

// Pages of a printer or a PDF file. The painter is open on the device from construction to
// finish(); a page break is the device's new page.
class TDevicePages : public TPainterPrintSurface
{
public:
    // device is not owned and outlives this.
    TDevicePages(const TPrintOptions &options, int resolution, QPagedPaintDevice *device);
    ~TDevicePages() override;

    // False when the device could not be opened for painting (no printer, a file that cannot
    // be written).
    bool isActive() const { return m_painter.isActive(); }
    void newPage() override;
    // Ends the last page; false when the device reported a failure.
    bool finish();

private:
    QPagedPaintDevice *m_device;
    QPainter m_painter;
};
