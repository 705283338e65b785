#include "ExportProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
// How often the window gets its events during the export, in milliseconds.
constexpr int EventInterval = 50;
} // namespace

TExportProgress::TExportProgress(QWidget *window, const QString &label)
    : m_dialog(new QProgressDialog(label, QStringLiteral("キャンセル"), 0, 0, window))
{
    m_dialog->setObjectName(QStringLiteral("ExportProgress"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(500);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    // The dialog's own clock starts here: it shows itself once the export has taken that long.
    m_dialog->setRange(0, 1);
    m_dialog->setValue(0);
    m_sinceEvents.start();
}

TExportProgress::~TExportProgress()
{
    delete m_dialog;
}

bool TExportProgress::update(int done, int total)
{
    if (m_sinceEvents.elapsed() < EventInterval)
        return !m_dialog->wasCanceled();
    m_dialog->setMaximum(qMax(1, total));
    // Shows the dialog once the export has taken long enough; once shown, it lets the window
    // take its events itself.
    m_dialog->setValue(done);
    // Before that, only painting and timers: a click meanwhile would act on the document that
    // is being written.
    if (!m_dialog->isVisible())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceEvents.start();
    return !m_dialog->wasCanceled();
}
