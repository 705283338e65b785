#pragma once

class TEditingSession;
class TExportCommands;
class TMain;
class TMainForm;

// The parts of the writer's workspace, each a child of the session: the main document's count
// with its target (TCountCommands), the look of the windows (TThemeCommands), the
// distraction-free view (TFocusMode, showing the count) and files dropped on the window
// (TFileDrop).
void createWorkspaceCommands(TEditingSession &session, TMain &main, TMainForm &form, TExportCommands &exports);
