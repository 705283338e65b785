#include "PrintTarget.h"

#include "DevicePages.h"
#include "PdfPrinting.h"

#include <QPrinter>
#include <QPrinterInfo>

TPrintTarget::TPrintTarget()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
}

TPrintTarget::~TPrintTarget() = default;

TPageGeometry::TPrinterPage TPrintTarget::page() const
{
    if (!m_printer)
        return TPdfPrinting::Page();
    const QRect paper = m_printer->paperRect(QPrinter::DevicePixel).toRect();
    const QRect printable = m_printer->pageRect(QPrinter::DevicePixel).toRect();
    return {paper.width(), paper.height(), printable.left() - paper.left(), printable.top() - paper.top(),
            m_printer->resolution()};
}

bool TPrintTarget::print(const TDocumentTree &tree, const TPrintOptions &options, const QString &title,
                         const TPrintLayout::Progress &progress)
{
    if (!m_printer)
        return false;
    m_printer->setDocName(title);
    const TPageGeometry::TPrinterPage printerPage = page();
    TDevicePages pages(options, printerPage.resolution, m_printer.get());
    if (!pages.isActive())
        return false;
    const TPageGeometry geometry(printerPage, printerPage.resolution, options.leftMargin, options.topMargin);
    TPrintLayout::Render(tree, options, geometry, pages, progress);
    return pages.finish();
}
