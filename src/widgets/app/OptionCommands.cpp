#include "OptionCommands.h"

#include "EditingSession.h"
#include "MainUnit.h"
#include "app/OptionValues.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "TreeCurrentScope.h"
#include "ui/MainFormU1.h"
#include "ui/OptionForm1.h"
#include "vertical/VerticalOptionsPage.h"
#include "vertical/VerticalSettings.h"

#include <QAction>

#include <stdexcept>

TOptionCommands::TOptionCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session), m_session(session), m_main(main), m_form(form)
{
    connect(main.OptionSetting, &QAction::triggered, this, &TOptionCommands::OptionSetting);
}

void TOptionCommands::OptionSetting()
{
    TSettings settings(m_form.settingsFile());
    TOptionForm1 dialog(&m_form);
    dialog.load(TOptionValues::read(settings));
    dialog.tsVertical->load(TVerticalSettings::read(settings));
    connect(&dialog, &TOptionForm1::helpRequested, m_main.HelpTopic, &QAction::trigger);
    if (TPrompt::current().runDialog(dialog) != TPrompt::Answer::Ok)
        return;
    // The editor's pending changes go into the document first: applying the settings clears
    // the editor's modified mark.
    TTreeCurrentScope current(m_session);
    dialog.values().write(settings);
    dialog.tsVertical->values().write(settings);
    try {
        m_main.applySettings();
    } catch (const std::exception &error) {
        TPrompt::current().showError(QString::fromUtf8(error.what()));
    }
}
