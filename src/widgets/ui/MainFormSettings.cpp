// What the main window keeps in the settings file: its placement and the current folder.
#include "MainFormU1.h"

#include "app/SettingKeys.h"
#include "app/Settings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace {
QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

// Where a restored window may lie: the screens' area without panels and task bars.
QRect availableArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableVirtualGeometry() : QRect(QPoint(0, 0), screenSize());
}
} // namespace

void TMainForm::closeEvent(QCloseEvent *event)
{
    saveToSettings();
    QMainWindow::closeEvent(event);
}

void TMainForm::restoreFromSettings()
{
    const TSettings settings(m_settingsFile);
    setGeometry(settings.formGeometry(screenSize(), availableArea()));
    QDir::setCurrent(settings.lastOpened(QCoreApplication::applicationDirPath()));
}

void TMainForm::saveToSettings()
{
    TSettings settings(m_settingsFile);
    TIniFile::UpdateScope update(settings.ini());
    if (settings.value(SettingKeys::FormRestore)
        && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        settings.setValue(SettingKeys::FormRestore, true);
        settings.setFormGeometry(geometry());
    }
    settings.setLastOpened(QDir::currentPath());
}
