#include "HtmlPdfPrinter.h"

#include <QFileInfo>
#include <QUrl>
#include <QWebEnginePage>

struct THtmlPdfPrinter::TWorker
{
    std::unique_ptr<QWebEnginePage> page;
    QTimer watchdog;
    int index = -1;
};

THtmlPdfPrinter::THtmlPdfPrinter(QStringList htmlFiles, QStringList pdfFiles, const QPageLayout &layout, QObject *parent)
    : QObject(parent), m_html(std::move(htmlFiles)), m_pdf(std::move(pdfFiles)), m_layout(layout)
{
}

// The pages go before the engine's profile, which the application owns.
THtmlPdfPrinter::~THtmlPdfPrinter() = default;

void THtmlPdfPrinter::start()
{
    if (m_html.isEmpty()) {
        QMetaObject::invokeMethod(this, [this] { Q_EMIT finished(true, QString()); }, Qt::QueuedConnection);
        return;
    }
    for (int i = 0; i < Parallel && i < m_html.size(); ++i) {
        m_workers.push_back(std::make_unique<TWorker>());
        TWorker &worker = *m_workers.back();
        worker.watchdog.setSingleShot(true);
        worker.watchdog.setInterval(WatchdogMs);
        connect(&worker.watchdog, &QTimer::timeout, this,
                [this] { fail(QStringLiteral("the engine did not answer in time")); });
        next(worker);
    }
}

void THtmlPdfPrinter::cancel()
{
    fail(QString());
}

void THtmlPdfPrinter::next(TWorker &worker)
{
    worker.page.reset();
    if (m_over)
        return;
    if (m_next >= m_html.size()) {
        worker.watchdog.stop();
        return;
    }
    worker.index = m_next++;
    worker.page = std::make_unique<QWebEnginePage>();
    QWebEnginePage *page = worker.page.get();
    connect(page, &QWebEnginePage::loadFinished, this, [this, &worker, page](bool ok) {
        if (m_over || worker.page.get() != page)
            return;
        if (!ok) {
            fail(QStringLiteral("the engine could not load %1").arg(QFileInfo(m_html[worker.index]).fileName()));
            return;
        }
        page->printToPdf(m_pdf[worker.index], m_layout);
    });
    connect(page, &QWebEnginePage::pdfPrintingFinished, this, [this, &worker, page](const QString &, bool ok) {
        if (m_over || worker.page.get() != page)
            return;
        if (!ok) {
            fail(QStringLiteral("the engine could not print %1").arg(QFileInfo(m_pdf[worker.index]).fileName()));
            return;
        }
        ++m_done;
        Q_EMIT progress(m_done, int(m_html.size()));
        if (m_done == m_html.size()) {
            m_over = true;
            for (auto &w : m_workers)
                w->watchdog.stop();
            // The page that called is deleted once its signal has returned.
            QMetaObject::invokeMethod(this, [this] {
                m_workers.clear();
                Q_EMIT finished(true, QString());
            }, Qt::QueuedConnection);
            return;
        }
        QMetaObject::invokeMethod(this, [this, &worker] { next(worker); }, Qt::QueuedConnection);
    });
    worker.watchdog.start();
    page->load(QUrl::fromLocalFile(QFileInfo(m_html[worker.index]).absoluteFilePath()));
}

void THtmlPdfPrinter::fail(const QString &error)
{
    if (m_over)
        return;
    m_over = true;
    for (auto &worker : m_workers)
        worker->watchdog.stop();
    QMetaObject::invokeMethod(this, [this, error] {
        m_workers.clear();
        Q_EMIT finished(false, error);
    }, Qt::QueuedConnection);
}
