#pragma once

class QPalette;
class TOlvekEditor;
class TSettings;

// Applies the settings file's EDITOR section to an editor: the body editor at start-up and after
// the options dialog, and the options dialog's sample editor. A font or colour key that is absent
// keeps the editor's current value. Throws std::runtime_error naming the key when a colour is
// neither a colour name nor a number.
void applyEditorSettings(TOlvekEditor *editor, const TSettings &settings, const QPalette &palette);
