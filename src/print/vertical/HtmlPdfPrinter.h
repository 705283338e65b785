#pragma once

#include <QObject>
#include <QPageLayout>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class QWebEnginePage;

// Prints HTML files to PDF files with the web engine: each file in a page of its own (a new
// renderer each time, so that memory stays bounded by the largest file), Parallel of them at a
// time. The margins are the layout's (the engine ignores CSS page margins; the CSS page size wins
// over the layout's). A file that neither prints nor fails within Watchdog ends the run as a
// failure: the engine never answers an impossible layout.
class THtmlPdfPrinter : public QObject
{
    Q_OBJECT

public:
    static constexpr int Parallel = 2;
    static constexpr int WatchdogMs = 300'000;

    THtmlPdfPrinter(QStringList htmlFiles, QStringList pdfFiles, const QPageLayout &layout, QObject *parent = nullptr);
    ~THtmlPdfPrinter() override;

    void start();
    // Stops at once; finished follows with ok false.
    void cancel();

Q_SIGNALS:
    void progress(int done, int total);
    void finished(bool ok, const QString &error);

private:
    struct TWorker;
    void next(TWorker &worker);
    void fail(const QString &error);

    QStringList m_html;
    QStringList m_pdf;
    QPageLayout m_layout;
    std::vector<std::unique_ptr<TWorker>> m_workers;
    int m_next = 0;
    int m_done = 0;
    bool m_over = false;
};
