#pragma once

#include "vertical/VerticalPdfOptions.h"
#include "files/FileResult.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class THtmlPdfPrinter;
class TTreeNode;

// Writes an item and its descendants as a vertical PDF: the core writes the HTML chunks into a
// temporary folder, THtmlPdfPrinter prints them, TPdfJoiner joins them (a book with its page
// numbers and running heads stamped on) and the result replaces the target file only when it is
// complete. The item is read when start is called; nothing of the tree is kept.
class TVerticalPdfExport : public QObject
{
    Q_OBJECT

public:
    TVerticalPdfExport(const TVerticalPdfOptions &options, QString target, QObject *parent = nullptr);
    ~TVerticalPdfExport() override;

    // Writes the chunks and starts printing; finished follows (also on failure).
    void start(const TTreeNode *root);
    void cancel();
    bool wasCanceled() const { return m_canceled; }
    // What finished reported.
    const TFileResult &result() const { return m_result; }
    int pageCount() const { return m_pages; }

Q_SIGNALS:
    // done of total steps: every chunk printed, then the joining.
    void progress(int done, int total);
    void finished(const TFileResult &result);

private:
    void printed(bool ok, const QString &error);
    void fail(const QString &error);

    TVerticalPdfOptions m_options;
    QString m_target;
    QTemporaryDir m_folder;
    QStringList m_parts;
    QList<bool> m_numbered;
    QStringList m_heads;
    std::unique_ptr<THtmlPdfPrinter> m_printer;
    int m_pages = 0;
    TFileResult m_result;
    bool m_canceled = false;
};
