#include "PicturePages.h"

#include <QPolygon>

TPicturePages::TPicturePages(const TPrintOptions &options, const TPageGeometry &geometry)
    : TPainterPrintSurface(options, geometry.resolution(), nullptr), m_geometry(geometry)
{
    startPage();
}

TPicturePages::~TPicturePages()
{
    if (m_painter.isActive())
        m_painter.end();
}

void TPicturePages::newPage()
{
    closePage();
    startPage();
}

QList<QPicture> TPicturePages::finish()
{
    setPainter(nullptr);
    closePage();
    m_current = QPicture();
    return std::exchange(m_pages, {});
}

void TPicturePages::closePage()
{
    m_painter.end();
    // The whole page, whatever was drawn on it.
    m_current.setBoundingRect(QRect(0, 0, m_geometry.pageWidth(), m_geometry.pageHeight()));
    m_pages.append(m_current);
}

void TPicturePages::startPage()
{
    m_current = QPicture();
    m_painter.begin(&m_current);
    setPainter(&m_painter);
    drawFrame();
}

void TPicturePages::drawFrame()
{
    const double s = m_geometry.scale();
    const auto r = [](double v) { return TPageGeometry::round(v); };
    const TPageGeometry::TPrinterPage &p = m_geometry.printer();
    m_painter.setPen(Qt::black);
    m_painter.setBrush(Qt::white);
    m_painter.drawRect(0, 0, m_geometry.pageWidth() - 1, m_geometry.pageHeight() - 1);
    m_painter.setPen(QPen(Qt::blue, 0, Qt::DotLine));
    const double left = p.offsetX * s;
    const double top = p.offsetY * s;
    const double right = p.width * s - 2 * left;
    const double bottom = p.height * s - 2 * top;
    m_painter.drawPolygon(QPolygon({QPoint(r(left), r(top)), QPoint(r(right), r(top)), QPoint(r(right), r(bottom)),
                                    QPoint(r(left), r(bottom))}));
    m_painter.setPen(QPen(Qt::cyan, 0, Qt::DotLine));
    m_painter.setBrush(Qt::NoBrush);
    const int x0 = m_geometry.textLeft() - 2;
    const int y0 = m_geometry.textTop() - 2;
    const int x1 = m_geometry.textLeft() + m_geometry.textWidth() + 2;
    const int y1 = m_geometry.textBottom() + 2;
    m_painter.drawPolygon(QPolygon({QPoint(x0, y0), QPoint(x1, y0), QPoint(x1, y1), QPoint(x0, y1)}));
    m_painter.setBrush(Qt::NoBrush);
}
