#include "DevicePages.h"

#include <QPagedPaintDevice>

TDevicePages::TDevicePages(const TPrintOptions &options, int resolution, QPagedPaintDevice *device)
    : TPainterPrintSurface(options, resolution, device), m_device(device)
{
    if (m_painter.begin(device))
        setPainter(&m_painter);
}

TDevicePages::~TDevicePages()
{
    if (m_painter.isActive())
        m_painter.end();
}

void TDevicePages::newPage()
{
    if (m_painter.isActive())
        m_device->newPage();
}

bool TDevicePages::finish()
{
    setPainter(nullptr);
    return m_painter.isActive() && m_painter.end();
}
