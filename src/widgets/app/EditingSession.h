#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <memory>

class QAction;
class TCommandRefresh;
class TDisplayMode;
class TDocumentFiles;
class THelpCommands;
class TMain;
class TMainForm;
class TModeController;
class TNavigatorController;
class TOlvekEngine;
class TOutlineCommands;
class TPaneController;
class TSettings;
class TTreeExpander;
class TTreeNode;

// The working parts of the data module for one main window: the outline engine with the
// navigator's handling, the file lifecycle, the command handlers and the command refresh, the
// tree expander and the pane controller, wired to the window's controls and the actions.
class TEditingSession : public QObject
{
    Q_OBJECT
public:
    // Neither is owned; both outlive the session.
    TEditingSession(TMain &main, TMainForm &form);
    ~TEditingSession() override;

    TOlvekEngine *engine() const { return m_engine; }
    TDocumentFiles *files() const { return m_files; }
    TPaneController &panes() const { return *m_panes; }
    TTreeExpander &expander() const { return *m_expander; }
    TDisplayMode &displayMode() const { return *m_displayMode; }
    TModeController &modes() const { return *m_modes; }
    void refresh();

    // The start-up reads of the data module: the recent files and the pane widths.
    void readStartupSettings(const TSettings &settings);
    // Opens the document named on the command line or, with AutoLoad, the newest recent file;
    // a name that cannot be opened leaves the recent files.
    void openStartupDocument(const QString &commandLineFile, const TSettings &settings);

protected:
    // Asks before the window closes and writes the recent files when it does; keeps the body
    // editor's caret and scroll position when its area is resized; a double-click in the title
    // box selects the whole title.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectActions();
    void connectViewActions();
    void connectControls();
    void rebuildRecentFiles();
    void expanderClicked(int level);
    // The navigator's picture for an item, by its level and state.
    QIcon itemIcon(const TTreeNode *node);

    TMain &m_main;
    TMainForm &m_form;
    TOlvekEngine *m_engine;
    TNavigatorController *m_navigator;
    TDocumentFiles *m_files;
    std::unique_ptr<TCommandRefresh> m_refresh;
    std::unique_ptr<TOutlineCommands> m_commands;
    std::unique_ptr<TTreeExpander> m_expander;
    std::unique_ptr<TPaneController> m_panes;
    TDisplayMode *m_displayMode;
    TModeController *m_modes;
    THelpCommands *m_help;
    QList<QAction *> m_recentEntries;
    QList<QIcon> m_itemIcons;
};
