#include "PdfPrinting.h"

#include "DevicePages.h"
#include "files/SavedFile.h"

#include <QPageLayout>
#include <QPdfWriter>

namespace {
QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}
} // namespace

TPageGeometry::TPrinterPage TPdfPrinting::Page()
{
    const QRect full = a4().fullRectPixels(Resolution);
    return {full.width(), full.height(), 0, 0, Resolution};
}

TFileResult TPdfPrinting::Write(const QString &path, const TDocumentTree &tree, const TPrintOptions &options,
                                const QString &title, const TPrintLayout::Progress &progress)
{
    const auto writer = [&](QIODevice &device) {
        QPdfWriter pdf(&device);
        pdf.setResolution(Resolution);
        pdf.setPageLayout(a4());
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("OLVEK"));
        TDevicePages pages(options, Resolution, &pdf);
        if (!pages.isActive())
            return false;
        const TPageGeometry geometry(Page(), Resolution, options.leftMargin, options.topMargin);
        TPrintLayout::Render(tree, options, geometry, pages, progress);
        return pages.finish();
    };
    return TSavedFile::save(path, writer, 0);
}
