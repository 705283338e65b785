#pragma once

class QWidget;
class TBodyCounter;
class TColumnRuler;
class TDocumentFiles;
class TOlvekEditor;
class TOlvekEngine;
class TOlvekImageLoader;
class TOlvekTreeView;
class TSettings;

// What the settings change in the running program. None is owned; a null member is skipped.
struct TSettingsTargets
{
    TOlvekImageLoader *images = nullptr;
    TOlvekEngine *engine = nullptr;
    TOlvekTreeView *tree = nullptr;
    TOlvekEditor *editor1 = nullptr;
    // The panel framing the body editor takes the editor's background.
    QWidget *editorFrame = nullptr;
    TOlvekEditor *editor2 = nullptr;
    TColumnRuler *ruler = nullptr;
    TDocumentFiles *files = nullptr;
    TBodyCounter *bodyCounter = nullptr;
};

// Reads the settings file and applies it to the running program, at start-up and after the
// options dialog. Throws std::runtime_error when a colour cannot be read; the changes made up to
// then stay.
void ApplySettings(const TSettings &settings, const TSettingsTargets &targets);
