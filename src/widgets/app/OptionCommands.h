#pragma once

#include <QObject>

class TEditingSession;
class TMain;
class TMainForm;

// The options dialog command: shows TOptionForm1 on the settings file's values and, on OK,
// writes them all and applies the file to the running program. Cancel writes nothing.
class TOptionCommands : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; all outlive the commands.
    TOptionCommands(TEditingSession &session, TMain &main, TMainForm &form);

    void OptionSetting();

private:
    TEditingSession &m_session;
    TMain &m_main;
    TMainForm &m_form;
};
