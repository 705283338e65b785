#include "VerticalPdfExport.h"

#include "HtmlPdfPrinter.h"
#include "PageStampOverlay.h"
#include "PdfJoiner.h"
#include "files/SavedFile.h"
#include "vertical/GenkoHtmlWriter.h"
#include "vertical/GenkoLayout.h"
#include "vertical/VerticalBookWriter.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QPageSize>

namespace {
constexpr double PointsPerMillimetre = 72 / 25.4;
}

TVerticalPdfExport::TVerticalPdfExport(const TVerticalPdfOptions &options, QString target, QObject *parent)
    : QObject(parent), m_options(options), m_target(std::move(target))
{
}

TVerticalPdfExport::~TVerticalPdfExport() = default;

void TVerticalPdfExport::start(const TTreeNode *root)
{
    if (!m_folder.isValid()) {
        fail(QStringLiteral("no temporary folder: ") + m_folder.errorString());
        return;
    }
    QStringList documents;
    QPageLayout layout;
    if (m_options.genko) {
        TGenkoLayout genko(m_options.genkoLength, m_options.genkoColumns);
        genko.addItems(root, m_options.style.titlePage, m_options.name);
        documents = TGenkoHtmlWriter(genko, m_options.style.fontFamily, m_options.style.kanjiNumbers).chunks();
        layout = QPageLayout(QPageSize(QSizeF(TGenkoHtmlWriter::PageWidth, TGenkoHtmlWriter::PageHeight),
                                       QPageSize::Millimeter),
                             QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    } else {
        for (const TVerticalChunk &chunk : TVerticalBookWriter(m_options.style).write(root)) {
            documents.append(chunk.html);
            m_numbered.append(chunk.numbered);
            m_heads.append(m_options.style.runningHead ? chunk.head : QString());
        }
        layout = QPageLayout(QPageSize(m_options.style.pageMillimetres(), QPageSize::Millimeter), QPageLayout::Portrait,
                             m_options.style.marginMillimetres(), QPageLayout::Millimeter);
    }
    if (documents.isEmpty()) {
        fail(QStringLiteral("nothing to print"));
        return;
    }
    QStringList html;
    const QDir folder(m_folder.path());
    for (qsizetype i = 0; i < documents.size(); ++i) {
        html.append(folder.filePath(QStringLiteral("chunk%1.html").arg(i, 4, 10, QChar(u'0'))));
        m_parts.append(folder.filePath(QStringLiteral("part%1.pdf").arg(i, 4, 10, QChar(u'0'))));
        QFile file(html.back());
        if (!file.open(QIODevice::WriteOnly) || file.write(documents[i].toUtf8()) < 0 || !file.flush()) {
            fail(file.errorString());
            return;
        }
    }
    documents.clear();
    const int steps = int(html.size()) + 1;
    m_printer = std::make_unique<THtmlPdfPrinter>(html, m_parts, layout);
    connect(m_printer.get(), &THtmlPdfPrinter::progress, this, [this, steps](int done, int) { Q_EMIT progress(done, steps); });
    connect(m_printer.get(), &THtmlPdfPrinter::finished, this, &TVerticalPdfExport::printed);
    Q_EMIT progress(0, steps);
    m_printer->start();
}

void TVerticalPdfExport::cancel()
{
    m_canceled = true;
    if (m_printer)
        m_printer->cancel();
}

void TVerticalPdfExport::printed(bool ok, const QString &error)
{
    // It is the sender: deleted once its signal has returned.
    m_printer.release()->deleteLater();
    if (!ok) {
        fail(error);
        return;
    }
    QString overlay;
    QString problem;
    QList<TPageStampOverlay::TPageMarks> marks;
    QSizeF pageSize;
    for (qsizetype i = 0; i < m_parts.size(); ++i) {
        const int pages = TPdfJoiner::pageCount(m_parts[i], i == 0 ? &pageSize : nullptr, problem);
        if (pages < 0) {
            fail(problem);
            return;
        }
        for (int p = 0; p < pages; ++p)
            marks.append({m_numbered.value(i, false), m_heads.value(i)});
    }
    m_pages = int(marks.size());
    if (!m_options.genko) {
        overlay = QDir(m_folder.path()).filePath(QStringLiteral("marks.pdf"));
        const QMarginsF margins = m_options.style.marginMillimetres();
        if (!TPageStampOverlay::write(overlay, pageSize, marks, m_options.style.fontFamily, m_options.style.kanjiNumbers,
                                      margins.bottom() * PointsPerMillimetre, margins.left() * PointsPerMillimetre)) {
            fail(QStringLiteral("the page numbers could not be drawn"));
            return;
        }
    }
    const QByteArray pdf = TPdfJoiner::join(m_parts, overlay, problem);
    if (pdf.isEmpty()) {
        fail(problem);
        return;
    }
    const TFileResult saved = TSavedFile::save(m_target, [&pdf](QIODevice &device) {
        return device.write(pdf) == pdf.size();
    }, 0);
    Q_EMIT progress(int(m_parts.size()) + 1, int(m_parts.size()) + 1);
    m_result = saved;
    Q_EMIT finished(m_result);
}

void TVerticalPdfExport::fail(const QString &error)
{
    // Reported once control is back in the event loop, as a successful run is.
    QMetaObject::invokeMethod(this, [this, error] {
        m_result = TFileResult::failure(m_canceled ? QString() : error);
        Q_EMIT finished(m_result);
    }, Qt::QueuedConnection);
}
