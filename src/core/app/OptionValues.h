#pragma once

#include "ColorNames.h"

#include <QString>

class TSettings;

// Every setting the options dialog edits, read from the settings file with the ranges the
// dialog allows and written back as one burst. A value missing from the file, or not readable
// in its form, takes the key's default; a number outside its range is brought to the nearest
// end, so that the dialog always opens on valid values and OK writes valid ones.
struct TOptionValues
{
    // The dialog's ranges.
    static constexpr int MinAutoSave = 0, MaxAutoSave = 60;
    static constexpr int MinBackup = 1, MaxBackup = 99;
    static constexpr int MinTabCount = 0, MaxTabCount = 24;
    static constexpr int MinWrapByte = 20, MaxWrapByte = 250;
    static constexpr int MinFontSize = 6, MaxFontSize = 32;
    static constexpr int MinLineMargin = 0, MaxLineMargin = 16;
    static constexpr int MinFocusColumns = 10, MaxFocusColumns = 200;
    // The navigator's and the item editor's fonts come from a font dialog; beyond this the
    // windows become unusable.
    static constexpr int MinPaneFontSize = 6, MaxPaneFontSize = 72;

    // How long lines wrap: at the right edge (RightWrap and WordWrap on), not at all (both
    // off), or at the fixed column chosen in the dialog (RightWrap off, WordWrap on).
    enum class Wrap { RightEdge, None, Fixed };

    // General page.
    bool formRestore = true;
    bool autoLoad = false;
    // The character counts in the editor's status bar and on the document information page.
    bool showCharCount = false;
    int autoSaveTime = 0;
    int backupDepth = 1;
    bool smallButtons = false;
    bool directEdit = false;
    bool enableIJKL = true;
    bool imeOpen = true;
    bool htmlExtShort = false; // ".htm" instead of ".html"
    bool htmlFileDivide = false;
    bool htmlRuby = false;
    QString treeFontName;
    int treeFontSize = 10;
    TColor treeFontColor = clWindowText;
    QString nodeFontName;
    int nodeFontSize = 11;
    TColor nodeFontColor = clWindowText;
    TColor nodeBkColor = clWindow;
    // Editor page.
    bool canTab = false;
    int tabCount = 8;
    bool tabToSpace = true;
    Wrap wrap = Wrap::RightEdge;
    int wrapByte = 80;
    bool freeCaret = false;
    QString fontName;
    int fontSize = 10;
    int lineMargin = 0;
    bool specialChars = false; // line ends and the end of the text marked
    bool showLineNo = false;
    bool lineNoEditorStyle = true; // only preset from the file, never written
    bool showRuler = false;
    int rulerRange = 10; // 8 or 10
    int focusColumns = 40; // the distraction-free view's column, in full-width characters
    TColor fontColor = clWindowText;
    TColor bkColor = clWindow;
    TColor selectColor = clHighlightText;
    TColor selectBkColor = clHighlight;
    TColor lineNoBkColor = clBtnFace;

    static TOptionValues read(const TSettings &settings);
    // Every key above except the line-number style, in one write of the file.
    void write(TSettings &settings) const;
};
