#include "OptionValues.h"

#include "Settings.h"

#include <algorithm>

namespace {
int ranged(const TSettings &settings, const TIntSetting &key, int low, int high)
{
    return std::clamp(settings.value(key), low, high);
}

TColor color(const TSettings &settings, const TColorSetting &key)
{
    return settings.value(key).value_or(key.defaultValue);
}

// An empty name would leave the font to chance; the key's default stands in.
QString storedFontName(const TSettings &settings, const TStringSetting &key)
{
    const QString name = settings.value(key).trimmed();
    return name.isEmpty() ? key.defaultValue.toString() : name;
}
} // namespace

TOptionValues TOptionValues::read(const TSettings &settings)
{
    using namespace SettingKeys;
    TOptionValues v;
    v.formRestore = settings.value(FormRestore);
    v.autoLoad = settings.value(FileAutoLoad);
    v.showCharCount = settings.value(EditorShowCharCount);
    v.autoSaveTime = ranged(settings, FileAutoSaveTime, MinAutoSave, MaxAutoSave);
    v.backupDepth = ranged(settings, FileBackupDepth, MinBackup, MaxBackup);
    v.smallButtons = settings.value(ToolBarSmallButtons);
    v.directEdit = settings.value(TreeDirectEdit);
    v.enableIJKL = settings.value(TreeEnableIJKL);
    v.imeOpen = settings.value(EditorIMEOpen);
    v.htmlExtShort = settings.value(HtmlExtType) != QLatin1String(".html");
    v.htmlFileDivide = settings.value(HtmlFileDivide);
    v.htmlRuby = settings.value(HtmlRuby);
    v.treeFontName = storedFontName(settings, TreeFontName);
    v.treeFontSize = ranged(settings, TreeFontSize, MinPaneFontSize, MaxPaneFontSize);
    v.treeFontColor = color(settings, TreeFontColor);
    v.nodeFontName = storedFontName(settings, NodeEditorFontName);
    v.nodeFontSize = ranged(settings, NodeEditorFontSize, MinPaneFontSize, MaxPaneFontSize);
    v.nodeFontColor = color(settings, NodeEditorFontColor);
    v.nodeBkColor = color(settings, NodeEditorBkColor);

    v.canTab = settings.value(EditorCanTab);
    v.tabCount = ranged(settings, EditorTabCount, MinTabCount, MaxTabCount);
    v.tabToSpace = true; // tabs are always converted; the dialog keeps the box checked
    if (settings.value(EditorRightWrap))
        v.wrap = Wrap::RightEdge;
    else
        v.wrap = settings.value(EditorWordWrap) ? Wrap::Fixed : Wrap::None;
    v.wrapByte = ranged(settings, EditorWrapByte, MinWrapByte, MaxWrapByte);
    v.freeCaret = settings.value(EditorFreeCaret);
    v.fontName = storedFontName(settings, EditorFontName);
    v.fontSize = ranged(settings, EditorFontSize, MinFontSize, MaxFontSize);
    v.lineMargin = ranged(settings, EditorLineMargin, MinLineMargin, MaxLineMargin);
    v.specialChars = settings.value(EditorRetVisible) || settings.value(EditorEofVisible);
    v.showLineNo = settings.value(EditorShowLineNo);
    v.lineNoEditorStyle = settings.value(EditorLineNoMode) != 0;
    v.showRuler = settings.value(EditorShowRuler);
    v.rulerRange = settings.value(EditorRulerRange) == 8 ? 8 : 10;
    v.focusColumns = ranged(settings, EditorFocusColumns, MinFocusColumns, MaxFocusColumns);
    v.fontColor = color(settings, EditorFontColor);
    v.bkColor = color(settings, EditorBkColor);
    v.selectColor = color(settings, EditorSelectColor);
    v.selectBkColor = color(settings, EditorSelectBkColor);
    v.lineNoBkColor = color(settings, EditorLineNoBkColor);
    return v;
}

void TOptionValues::write(TSettings &settings) const
{
    using namespace SettingKeys;
    TIniFile::UpdateScope burst(settings.ini());
    settings.setValue(FormRestore, formRestore);
    settings.setValue(ToolBarSmallButtons, smallButtons);
    settings.setValue(HtmlExtType, htmlExtShort ? QStringLiteral(".htm") : QStringLiteral(".html"));
    settings.setValue(HtmlFileDivide, htmlFileDivide);
    settings.setValue(HtmlRuby, htmlRuby);
    settings.setValue(FileAutoLoad, autoLoad);
    settings.setValue(EditorShowCharCount, showCharCount);
    settings.setValue(FileAutoSaveTime, std::clamp(autoSaveTime, MinAutoSave, MaxAutoSave));
    settings.setValue(FileBackupDepth, std::clamp(backupDepth, MinBackup, MaxBackup));
    settings.setValue(TreeDirectEdit, directEdit);
    settings.setValue(TreeEnableIJKL, enableIJKL);
    settings.setValue(TreeFontName, treeFontName);
    settings.setValue(TreeFontSize, std::clamp(treeFontSize, MinPaneFontSize, MaxPaneFontSize));
    settings.setValue(TreeFontColor, treeFontColor);
    settings.setValue(NodeEditorFontName, nodeFontName);
    settings.setValue(NodeEditorFontSize, std::clamp(nodeFontSize, MinPaneFontSize, MaxPaneFontSize));
    settings.setValue(NodeEditorFontColor, nodeFontColor);
    settings.setValue(NodeEditorBkColor, nodeBkColor);

    settings.setValue(EditorCanTab, canTab);
    settings.setValue(EditorTabCount, std::clamp(tabCount, MinTabCount, MaxTabCount));
    settings.setValue(EditorWrapByte, std::clamp(wrapByte, MinWrapByte, MaxWrapByte));
    settings.setValue(EditorTabToSpace, tabToSpace);
    settings.setValue(EditorWordWrap, wrap != Wrap::None);
    settings.setValue(EditorRightWrap, wrap == Wrap::RightEdge);
    settings.setValue(EditorIMEOpen, imeOpen);
    settings.setValue(EditorFreeCaret, freeCaret);
    settings.setValue(EditorFontName, fontName);
    settings.setValue(EditorFontSize, std::clamp(fontSize, MinFontSize, MaxFontSize));
    settings.setValue(EditorRetVisible, specialChars);
    settings.setValue(EditorEofVisible, specialChars);
    settings.setValue(EditorLineMargin, std::clamp(lineMargin, MinLineMargin, MaxLineMargin));
    settings.setValue(EditorShowLineNo, showLineNo);
    settings.setValue(EditorShowRuler, showRuler);
    settings.setValue(EditorRulerRange, rulerRange == 8 ? 8 : 10);
    settings.setValue(EditorFocusColumns, std::clamp(focusColumns, MinFocusColumns, MaxFocusColumns));
    settings.setValue(EditorBkColor, bkColor);
    settings.setValue(EditorFontColor, fontColor);
    settings.setValue(EditorSelectColor, selectColor);
    settings.setValue(EditorSelectBkColor, selectBkColor);
    settings.setValue(EditorLineNoBkColor, lineNoBkColor);
}
