#include "BenchWindow.h"

#include <QApplication>

TBenchWindow::TBenchWindow(const QString &imageFile)
    : m_form(m_settingsDir.filePath(QStringLiteral("olvek.ini")))
    , m_main(&m_form, imageFile)
{
    m_form.resize(1200, 800);
    m_form.show();
    QApplication::processEvents();
}
