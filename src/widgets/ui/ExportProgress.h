#pragma once

#include <QElapsedTimer>
#include <QString>

class QProgressDialog;
class QWidget;

// The progress of a long export in the window: a progress dialog with "キャンセル", modal to the
// window and shown only once the export takes longer than half a second. Between its updates
// the window repaints, and the cancel button (or Esc) takes its click; the rest of the window
// takes no input meanwhile. Lives for one export; owns its dialog.
class TExportProgress
{
public:
    TExportProgress(QWidget *window, const QString &label);
    ~TExportProgress();
    TExportProgress(const TExportProgress &) = delete;
    TExportProgress &operator=(const TExportProgress &) = delete;

    // For the export: done of total steps; false once the user has cancelled.
    bool update(int done, int total);

private:
    QProgressDialog *m_dialog;
    QElapsedTimer m_sinceEvents;
};
