#include "EditorSettings.h"

#include "OlvekCompo.h"
#include "desktop/SettingColor.h"
#include "app/Settings.h"

#include <QPalette>

void applyEditorSettings(TOlvekEditor *editor, const TSettings &settings, const QPalette &palette)
{
    using namespace SettingKeys;
    editor->setCanTab(settings.value(EditorCanTab));
    editor->setTabCount(settings.value(EditorTabCount));
    editor->setRightEdge(settings.value(EditorWrapByte));
    editor->setFreeCaret(settings.value(EditorFreeCaret));
    editor->setSpecialCharsVisible(settings.value(EditorRetVisible) || settings.value(EditorEofVisible));
    editor->setLineMargin(settings.value(EditorLineMargin));
    editor->setWordWrap(settings.value(EditorWordWrap));
    if (settings.contains(EditorFontName))
        editor->setFontName(settings.value(EditorFontName));
    if (settings.contains(EditorFontSize)) {
        editor->setFontSize(settings.value(EditorFontSize));
        editor->setLineNumberFontSize(settings.value(EditorFontSize));
    }
    if (const auto color = settingColor(settings, EditorBkColor, palette))
        editor->setBackgroundColor(*color);
    if (settings.contains(EditorSelectBkColor)) {
        if (const auto color = settingColor(settings, EditorSelectBkColor, palette))
            editor->setSelectionBackgroundColor(*color);
    }
    if (const auto color = settingColor(settings, EditorLineNoBkColor, palette))
        editor->setLineNumberBackgroundColor(*color);
    if (settings.contains(EditorFontColor)) {
        if (const auto color = settingColor(settings, EditorFontColor, palette))
            editor->setFontColor(*color);
    }
    if (settings.contains(EditorSelectColor)) {
        if (const auto color = settingColor(settings, EditorSelectColor, palette))
            editor->setSelectionColor(*color);
    }
    editor->setShowLineNumbers(settings.value(EditorShowLineNo));
}
