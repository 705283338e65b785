// Writes a document's vertical book and 原稿用紙 as single HTML files, for a browser to print the
// same pages as olvek-cli print-vertical does (the benchmark's comparison), and times writing them.
//
//     bench_vertical_html DOC.olvx OUTDIR
//
// OUTDIR/book.html: every chunk of the book in one file, each from a new page, the page margins
// in CSS (a browser honours them; the print library passes them to the engine instead).
// OUTDIR/genko.html: every sheet of the 20 × 20 原稿用紙 in one file.
#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"
#include "vertical/GenkoHtmlWriter.h"
#include "vertical/GenkoLayout.h"
#include "vertical/VerticalBookWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {
QString bodyOf(const QString &html)
{
    const qsizetype start = html.indexOf(QLatin1String("<body>")) + 6;
    return html.mid(start, html.lastIndexOf(QLatin1String("</body>")) - start);
}

bool write(const QString &path, const QString &html)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(html.toUtf8()) >= 0;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bench_vertical_html DOC.olvx OUTDIR\n");
        return 1;
    }
    TDocumentTree tree;
    if (!TDocumentStorage::readDocumentFile(args[1], tree).ok)
        return 2;
    const QDir out(args[2]);
    const TVerticalPageStyle style;

    QElapsedTimer timer;
    timer.start();
    const QList<TVerticalChunk> chunks = TVerticalBookWriter(style).write(tree.MainTitleNode());
    const qint64 bookMs = timer.elapsed();
    const QMarginsF m = style.marginMillimetres();
    QString css = TVerticalBookWriter(style).css();
    css.replace(QLatin1String("margin: 0; }"), QStringLiteral("margin: %1mm %2mm %3mm %4mm; }")
                                                  .arg(m.top()).arg(m.right()).arg(m.bottom()).arg(m.left()));
    QString book = QLatin1String("<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><style>\n") + css
        + QLatin1String("section + section { break-before: page; }\n</style></head><body>\n");
    for (const TVerticalChunk &chunk : chunks)
        book += QLatin1String("<section>") + bodyOf(chunk.html) + QLatin1String("</section>\n");
    book += QLatin1String("</body></html>\n");

    timer.restart();
    TGenkoLayout layout;
    layout.addItems(tree.MainTitleNode(), true, QString());
    const QStringList sheets = TGenkoHtmlWriter(layout, style.fontFamily, true).chunks();
    const qint64 genkoMs = timer.elapsed();
    QString genko = sheets.value(0);
    genko.chop(QStringLiteral("</body></html>\n").size());
    for (qsizetype i = 1; i < sheets.size(); ++i)
        genko += bodyOf(sheets[i]);
    genko += QLatin1String("</body></html>\n");

    if (!write(out.filePath(QStringLiteral("book.html")), book) || !write(out.filePath(QStringLiteral("genko.html")), genko))
        return 4;
    std::printf("book: %lld chunks, HTML in %lld ms; genko: %d sheets, HTML in %lld ms\n", (long long)chunks.size(),
                (long long)bookMs, layout.pageCount(), (long long)genkoMs);
    return 0;
}
