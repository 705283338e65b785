#pragma once

#include <QList>
#include <QObject>

class QAction;
class TEditingSession;
class TMain;
class TMainForm;
class TTextViewer;

// The viewer list: the open viewer windows in the order of their entries in the window menu
// W1. Owns the viewers; they close with the main window.
class TViewerCommands : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; all outlive the commands.
    TViewerCommands(TEditingSession &session, TMain &main, TMainForm &form);
    ~TViewerCommands() override;

    // A viewer of what the editor shows now, titled with the selected item.
    TTextViewer *ViewViewerOpen();
    const QList<TTextViewer *> &viewers() const { return m_viewers; }

private:
    void viewerClosing(TTextViewer *viewer);

    TEditingSession &m_session;
    TMain &m_main;
    TMainForm &m_form;
    QList<TTextViewer *> m_viewers;
};
