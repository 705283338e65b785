#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

// The Help menu: the user manual and the home page in the desktop's browser, and the version
// box.
class THelpCommands : public QObject
{
    Q_OBJECT
public:
    static const QString HomePage;
    static const QString ManualFileName;

    // The window is not owned; it is the version box's parent.
    explicit THelpCommands(QWidget *window, QObject *parent = nullptr);

    // Where the manual may lie, in the order they are looked at: beside the program (the build
    // folder), the data folder of the installation the program belongs to, the data folder it
    // was built for, then the user's and the system's data folders.
    static QStringList manualFolders();
    // The first of the folders holding the manual, as an absolute path; empty when none does.
    static QString findManual(const QStringList &folders);

    void HelpTopic();
    void HelpWeb();
    void HelpAbout();

private:
    QWidget *m_window;
};
