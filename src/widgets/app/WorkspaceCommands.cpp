#include "WorkspaceCommands.h"

#include "CountCommands.h"
#include "EditingSession.h"
#include "FileDrop.h"
#include "MainUnit.h"
#include "ThemeCommands.h"
#include "app/OptionValues.h"
#include "app/Settings.h"
#include "ui/FocusMode.h"
#include "ui/MainFormU1.h"

#include <algorithm>

void createWorkspaceCommands(TEditingSession &session, TMain &main, TMainForm &form, TExportCommands &exports)
{
    new TThemeCommands(main, form, &session);
    auto *counts = new TCountCommands(session, main, form);
    auto *focus = new TFocusMode(form, session.panes(), main.ViewFocusMode, main.actions(), &session);
    QObject::connect(counts, &TCountCommands::textChanged, focus, &TFocusMode::setCountText);
    QObject::connect(focus, &TFocusMode::activeChanged, counts, [counts, focus](bool active) {
        // The view shows the count whether or not the status bar does.
        counts->setCountingWanted(active);
        focus->setCountText(counts->text());
    });
    QObject::connect(&main, &TMain::settingsApplied, focus, [focus, &form] {
        const int columns = TSettings(form.settingsFile()).value(SettingKeys::EditorFocusColumns);
        focus->setColumns(std::clamp(columns, TOptionValues::MinFocusColumns, TOptionValues::MaxFocusColumns));
    });
    new TFileDrop(session, form, exports, &session);
}
