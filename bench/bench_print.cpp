// Lays a document out for printing, as the preview does (a vector picture per page at the
// screen's 96 dots per inch) and as printing to PDF does (A4 pages at 600 dots per inch, written
// into memory), and a single body line of 100,000 characters both ways. Prints the median of
// several runs for each step, in milliseconds.
//
//   bench_print [TEXT] [RUNS]     TEXT: a dotted text file imported as the document (the whole
//                                 Japanese Debian Reference by default), or an .olvx document
#include "app/FontSubstitutions.h"
#include "document/DocumentTree.h"
#include "export/ImportFile.h"
#include "files/DocumentStorage.h"
#include "printing/DevicePages.h"
#include "printing/PdfPrinting.h"
#include "printing/PicturePages.h"
#include "printing/PrintLayout.h"

#include "StepTiming.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <cstdio>

namespace {
constexpr int PreviewResolution = 96;

int preview(const TDocumentTree &tree, const TPrintOptions &options)
{
    const TPageGeometry geometry(TPdfPrinting::Page(), PreviewResolution, options.leftMargin, options.topMargin);
    TPicturePages pages(options, geometry);
    TPrintLayout::Render(tree, options, geometry, pages);
    return int(pages.finish().size());
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
    TStepTiming::report("document, PDF pages", TStepTiming::measure(runs, [&] { pdf(book, options); }));

    TDocumentTree line;
    line.createRootFolders();
    line.MainTitleNode()->setTitle(QStringLiteral("長い行"));
    QString text;
    const QString kana = QStringLiteral("あいうえおかきくけこ日本語の文章、。");
    while (text.size() < 100000)
        text += kana;
    text.truncate(100000);
    line.MainTitleNode()->data()->Lines = QStringList{text};
    std::printf("one body line of %lld characters: %d preview pages, %d PDF pages\n", static_cast<long long>(text.size()),
                preview(line, options), pdf(line, options));
    TStepTiming::report("100,000-character line, preview pages", TStepTiming::measure(runs, [&] { preview(line, options); }));
    TStepTiming::report("100,000-character line, PDF pages", TStepTiming::measure(runs, [&] { pdf(line, options); }));
    return 0;
}
