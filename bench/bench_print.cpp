// Lays a document out for printing, as the preview does (a vector picture per page in the PDF
// file's units, which the window scales down to the screen) and as printing to PDF does (A4
// pages at 600 dots per inch, written into memory), and a single body line of 100,000
// characters both ways. Prints the median of several runs for each step, in milliseconds; for the
// preview also the time until its first page is complete (the window shows it then and lays out
// the rest between events) and the painting of one page at 200 %, what paging or zooming costs.
//
//   bench_print [TEXT] [RUNS]     TEXT: a dotted text file imported as the document (the whole
//                                 Japanese Debian Reference by default), or an .olvx document
#include "desktop/FontSubstitutions.h"
#include "document/DocumentTree.h"
#include "export/ImportFile.h"
#include "files/DocumentStorage.h"
#include "printing/DevicePages.h"
#include "printing/PdfPrinting.h"
#include "printing/PicturePages.h"
#include "printing/PrintLayout.h"
#include "printing/PrintRun.h"

#include "StepTiming.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <cstdio>

namespace {
// The preview lays its pages out in the printer's units; the window shows them at the screen's.
constexpr int PreviewResolution = TPdfPrinting::Resolution;
constexpr int ScreenResolution = 96;

int preview(const TDocumentTree &tree, const TPrintOptions &options)
{
    const TPageGeometry geometry(TPdfPrinting::Page(), PreviewResolution, options.leftMargin, options.topMargin);
    TPicturePages pages(options, geometry);
    TPrintLayout::Render(tree, options, geometry, pages);
    return int(pages.finish().size());
}

// Lays the preview out until its first page is complete.
void previewFirstPage(const TDocumentTree &tree, const TPrintOptions &options)
{
    const TPageGeometry geometry(TPdfPrinting::Page(), PreviewResolution, options.leftMargin, options.topMargin);
    TPicturePages pages(options, geometry);
    TPrintRun run(tree, options, geometry, pages);
    while (pages.completed().isEmpty() && run.step(8)) {
    }
}

// Paints the first preview page at 200 %, as the page panel does.
void paintPage(const QPicture &page, QImage &image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(double(image.width()) / page.boundingRect().width(), double(image.height()) / page.boundingRect().height());
    painter.drawPicture(0, 0, page);
}

int pdf(const TDocumentTree &tree, const TPrintOptions &options, qint64 *bytes = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(TPdfPrinting::Resolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    TDevicePages pages(options, TPdfPrinting::Resolution, &writer);
    const TPageGeometry geometry(TPdfPrinting::Page(), TPdfPrinting::Resolution, options.leftMargin, options.topMargin);
    const int count = TPrintLayout::Render(tree, options, geometry, pages);
    pages.finish();
    if (bytes)
        *bytes = buffer.size();
    return count;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    const QStringList args = app.arguments();
    const QString path = args.size() > 1 ? args[1] : QStringLiteral("../shared/corpus/debian-reference-ja.utf8.txt");
    const int runs = args.size() > 2 ? args[2].toInt() : 5;

    TDocumentTree book;
    if (path.endsWith(QLatin1String(".olvx"))) {
        const TFileResult opened = TDocumentStorage::readDocumentFile(path, book);
        if (!opened.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(opened.error));
            return 1;
        }
    } else {
        QStringList lines;
        const QString error = TImportFile::Read(path, lines);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        book.createRootFolders();
        TImportFile::Apply(book, book.MainTitleNode(), TImportFile::Mode::NewDocument, lines);
    }
    const TPrintOptions options;
    qint64 bytes = 0;
    const int pdfPages = pdf(book, options, &bytes);
    std::printf("%s: %d items, %d preview pages, %d PDF pages (%lld bytes); median of %d runs\n", qPrintable(path),
                book.count(), preview(book, options), pdfPages, static_cast<long long>(bytes), runs);
    TStepTiming::report("document, preview pages", TStepTiming::measure(runs, [&] { preview(book, options); }));
    TStepTiming::report("document, preview's first page", TStepTiming::measure(runs, [&] { previewFirstPage(book, options); }));
    {
        const TPageGeometry geometry(TPdfPrinting::Page(), PreviewResolution, options.leftMargin, options.topMargin);
        TPicturePages pages(options, geometry);
        TPrintLayout::Render(book, options, geometry, pages);
        const QList<QPicture> pictures = pages.finish();
        const double zoom = 2.0 * ScreenResolution / PreviewResolution;
        QImage image(int(geometry.pageWidth() * zoom), int(geometry.pageHeight() * zoom), QImage::Format_RGB32);
        TStepTiming::report("document, paint page 1 at 200 %", TStepTiming::measure(runs, [&] { paintPage(pictures.first(), image); }));
    }
    TStepTiming::report("document, PDF pages", TStepTiming::measure(runs, [&] { pdf(book, options); }));

    // One body line of 10,000 and of 100,000 characters: the time grows with the length (each
    // printed line costs the measuring of a few prefixes no longer than itself).
    const QString kana = QStringLiteral("あいうえおかきくけこ日本語の文章、。");
    for (const qsizetype length : {qsizetype(10000), qsizetype(100000)}) {
        TDocumentTree line;
        line.createRootFolders();
        line.MainTitleNode()->setTitle(QStringLiteral("長い行"));
        QString text;
        while (text.size() < length)
            text += kana;
        text.truncate(length);
        line.MainTitleNode()->data()->Lines = QStringList{text};
        std::printf("one body line of %lld characters: %d preview pages, %d PDF pages\n", static_cast<long long>(length),
                    preview(line, options), pdf(line, options));
        const QByteArray name = QByteArray::number(length);
        TStepTiming::report(name + "-character line, preview pages", TStepTiming::measure(runs, [&] { preview(line, options); }));
        TStepTiming::report(name + "-character line, PDF pages", TStepTiming::measure(runs, [&] { pdf(line, options); }));
    }
    return 0;
}
