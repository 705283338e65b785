// What the main window keeps in the settings file: its placement and the current folder.
#include "MainFormU1.h"

#include "app/SettingKeys.h"
#include "app/Settings.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

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

// The user's documents folder, or the home folder when there is none.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
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
    // The dialogs start in the folder used last. Before any was used, or when it is gone, they
    // start in the user's documents folder: an installed program's own folder holds no documents
    // and may not be written.
    const QString documents = documentsFolder();
    if (!QDir::setCurrent(settings.lastOpened(documents)))
        QDir::setCurrent(documents);
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
