#pragma once

#include <QObject>
#include <QString>

class QMenu;
class TEditingSession;
class TMain;
class TMainForm;

// The plug-ins: the File menu's plug-in submenu and the tool button's pop-up, rebuilt from the
// settings file; the launch of a plug-in with the document exported as dotted text; and the
// plug-in settings dialog. Holds nothing but the two menus' entries: the settings file is read
// afresh each time.
class TPluginCommands : public QObject
{
    Q_OBJECT
public:
    static const QString CannotStartMessage; // "プラグインを起動できません: "

    // Nothing is owned; all outlive the commands.
    TPluginCommands(TEditingSession &session, TMain &main, TMainForm &form);

    // Both menus from the settings file: one entry per enabled slot, or "(なし)".
    void BuildMenus();
    // Starts slot n (1 to 4) without waiting for it; false when it could not be started.
    bool Launch(int n);
    // The tool button: the pop-up below it.
    void FilePlugin();
    // The settings dialog, modal through the current prompt; OK writes and rebuilds the menus.
    void OptionPlugin();

private:
    void fill(QMenu *menu);
    void cannotStart(const QString &path);

    TEditingSession &m_session;
    TMain &m_main;
    TMainForm &m_form;
};
