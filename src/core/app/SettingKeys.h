#pragma once

#include "ColorNames.h"

#include <QLatin1String>
#include <QStringView>

// A key of the settings file with its type and the value used when the key is absent.
struct TBoolSetting {
    QLatin1String section;
    QLatin1String key;
    bool defaultValue;
};
struct TIntSetting {
    QLatin1String section;
    QLatin1String key;
    int defaultValue;
};
struct TStringSetting {
    QLatin1String section;
    QLatin1String key;
    QStringView defaultValue;
};
struct TColorSetting {
    QLatin1String section;
    QLatin1String key;
    TColor defaultValue;
};

// Every key of the settings file whose default does not depend on the screen or the program's
// folder (see TSettings for Form/Width, Left, Top, Height, Path/LastOpened and FileRireki).
namespace SettingKeys {
inline constexpr QLatin1String Form("Form");
inline constexpr QLatin1String Path("Path");
inline constexpr QLatin1String File("FILE");
inline constexpr QLatin1String FileRireki("FileRireki");
inline constexpr QLatin1String ToolBar("ToolBar");
inline constexpr QLatin1String Tree("TREE");
inline constexpr QLatin1String NodeEditor("NODE_EDITOR");
inline constexpr QLatin1String Editor("EDITOR");
inline constexpr QLatin1String Html("HTML");
inline constexpr QLatin1String Epub("EPUB");
// Sections whose keys belong to the print preview, the plug-in dialog and the find dialog.
inline constexpr QLatin1String PrintOption("PRINT_OPTION");
inline constexpr QLatin1String Plugin("PLUGIN");
inline constexpr QLatin1String FindRireki("FindRireki");

inline constexpr char16_t DefaultFontName[] = u"ＭＳ ゴシック";

inline constexpr TBoolSetting FormRestore{Form, QLatin1String("Restore"), true};
inline constexpr TIntSetting FormNaviWidth{Form, QLatin1String("NaviWidth"), 250};
inline constexpr TIntSetting FormLumenoTreeWidth{Form, QLatin1String("LumenoTreeWidth"), 240};
inline constexpr TBoolSetting FormShowNaviWhenLumeno{Form, QLatin1String("ShowNaviWhenLumeno"), false};
// Qt's own dialogs and buttons in Japanese even when the system language is not Japanese
// (they always are when it is).
inline constexpr TBoolSetting FormJapaneseDialogs{Form, QLatin1String("JapaneseDialogs"), false};
// The colours of every window: "light", "dark", or "system" to follow the desktop (ThemeChoice).
inline constexpr TStringSetting FormTheme{Form, QLatin1String("Theme"), u"system"};
// The main document's count in the editor's status bar. Without the key the panel shows while
// the open document has a target (DocumentTarget).
inline constexpr TBoolSetting FormDocumentCount{Form, QLatin1String("DocumentCount"), false};

inline constexpr TBoolSetting FileAutoLoad{File, QLatin1String("AutoLoad"), false};
inline constexpr TIntSetting FileAutoSaveTime{File, QLatin1String("AutoSaveTime"), 0};
inline constexpr TIntSetting FileBackupDepth{File, QLatin1String("BackupDepth"), 1};

inline constexpr TBoolSetting ToolBarSmallButtons{ToolBar, QLatin1String("SmallButtons"), false};

inline constexpr TStringSetting TreeFontName{Tree, QLatin1String("FontName"), DefaultFontName};
inline constexpr TIntSetting TreeFontSize{Tree, QLatin1String("FontSize"), 10};
inline constexpr TColorSetting TreeFontColor{Tree, QLatin1String("FontColor"), clWindowText};
inline constexpr TBoolSetting TreeDirectEdit{Tree, QLatin1String("DirectEdit"), false};
inline constexpr TBoolSetting TreeEnableIJKL{Tree, QLatin1String("EnableIJKL"), true};

inline constexpr TColorSetting NodeEditorBkColor{NodeEditor, QLatin1String("BkColor"), clWindow};
inline constexpr TStringSetting NodeEditorFontName{NodeEditor, QLatin1String("FontName"), DefaultFontName};
inline constexpr TIntSetting NodeEditorFontSize{NodeEditor, QLatin1String("FontSize"), 11};
inline constexpr TColorSetting NodeEditorFontColor{NodeEditor, QLatin1String("FontColor"), clWindowText};

inline constexpr TBoolSetting EditorCanTab{Editor, QLatin1String("CanTab"), false};
inline constexpr TIntSetting EditorTabCount{Editor, QLatin1String("TabCount"), 8};
inline constexpr TIntSetting EditorWrapByte{Editor, QLatin1String("WrapByte"), 80};
inline constexpr TBoolSetting EditorFreeCaret{Editor, QLatin1String("FreeCaret"), false};
inline constexpr TBoolSetting EditorRetVisible{Editor, QLatin1String("RetVisible"), false};
inline constexpr TBoolSetting EditorEofVisible{Editor, QLatin1String("EofVisible"), false};
inline constexpr TIntSetting EditorLineMargin{Editor, QLatin1String("LineMargin"), 0};
inline constexpr TBoolSetting EditorWordWrap{Editor, QLatin1String("WordWrap"), true};
// Kept in the file but without effect: neither Qt nor the Linux input methods let a program
// switch the input method to hiragana; the manual says how to set that in the input method.
inline constexpr TBoolSetting EditorIMEOpen{Editor, QLatin1String("IMEOpen"), true};
inline constexpr TStringSetting EditorFontName{Editor, QLatin1String("FontName"), DefaultFontName};
inline constexpr TIntSetting EditorFontSize{Editor, QLatin1String("FontSize"), 10};
inline constexpr TColorSetting EditorFontColor{Editor, QLatin1String("FontColor"), clWindowText};
inline constexpr TColorSetting EditorBkColor{Editor, QLatin1String("BkColor"), clWindow};
inline constexpr TColorSetting EditorSelectColor{Editor, QLatin1String("SelectColor"), clHighlightText};
inline constexpr TColorSetting EditorSelectBkColor{Editor, QLatin1String("SelectBkColor"), clHighlight};
inline constexpr TColorSetting EditorLineNoBkColor{Editor, QLatin1String("LineNoBkColor"), clBtnFace};
inline constexpr TBoolSetting EditorShowLineNo{Editor, QLatin1String("ShowLineNo"), false};
inline constexpr TBoolSetting EditorTabToSpace{Editor, QLatin1String("TabToSpace"), true};
inline constexpr TBoolSetting EditorRightWrap{Editor, QLatin1String("RightWrap"), true};
inline constexpr TBoolSetting EditorShowRuler{Editor, QLatin1String("ShowRuler"), false};
inline constexpr TIntSetting EditorRulerRange{Editor, QLatin1String("RulerRange"), 10};
inline constexpr TIntSetting EditorLineNoMode{Editor, QLatin1String("LineNoMode"), 1};
// The character count in the editor's status bar and the counts of the main document on the
// document information page.
inline constexpr TBoolSetting EditorShowCharCount{Editor, QLatin1String("ShowCharCount"), false};
// The width of the text column in the distraction-free view, in full-width characters.
inline constexpr TIntSetting EditorFocusColumns{Editor, QLatin1String("FocusColumns"), 40};

inline constexpr TStringSetting HtmlExtType{Html, QLatin1String("ExtType"), u".html"};
inline constexpr TBoolSetting HtmlFileDivide{Html, QLatin1String("FileDivide"), false};
// The ruby and emphasis notation written as markup; off keeps the pages as they always were.
inline constexpr TBoolSetting HtmlRuby{Html, QLatin1String("Ruby"), false};
// The EPUB export's last author and direction.
inline constexpr TStringSetting EpubAuthor{Epub, QLatin1String("Author"), u""};
inline constexpr TBoolSetting EpubHorizontal{Epub, QLatin1String("Horizontal"), false};
} // namespace SettingKeys

// The print preview's options (section PRINT_OPTION).
namespace SettingKeys {
inline constexpr char16_t PrintGothicFontName[] = u"ＭＳ Ｐゴシック";
inline constexpr char16_t PrintMinchoFontName[] = u"ＭＳ Ｐ明朝";

inline constexpr TBoolSetting PrintIsPrintMainTitle{PrintOption, QLatin1String("isPrintMainTitle"), true};
inline constexpr TBoolSetting PrintIsPrintCaptions{PrintOption, QLatin1String("isPrintCaptions"), true};
inline constexpr TBoolSetting PrintIsPrintNumber{PrintOption, QLatin1String("isPrintNumber"), true};
inline constexpr TBoolSetting PrintIsPrintHonbun{PrintOption, QLatin1String("isPrintHonbun"), true};
inline constexpr TBoolSetting PrintIsPrintPageNumber{PrintOption, QLatin1String("isPrintPageNumber"), true};
inline constexpr TBoolSetting PrintIsKaiPage{PrintOption, QLatin1String("isKaiPage"), false};
inline constexpr TBoolSetting PrintIsIndent{PrintOption, QLatin1String("isIndent"), false};
inline constexpr TIntSetting PrintIndentWidth{PrintOption, QLatin1String("indentwidth"), 5};
inline constexpr TIntSetting PrintTopMargin{PrintOption, QLatin1String("TopMargin"), 25};
inline constexpr TIntSetting PrintLeftMargin{PrintOption, QLatin1String("LeftMargin"), 20};
inline constexpr TIntSetting PrintGyokan{PrintOption, QLatin1String("Gyokan"), 100};

inline constexpr TStringSetting PrintMainFontName{PrintOption, QLatin1String("MainFontName"), PrintGothicFontName};
inline constexpr TIntSetting PrintMainFontSize{PrintOption, QLatin1String("MainFontSize"), 18};
inline constexpr TColorSetting PrintMainFontColor{PrintOption, QLatin1String("MainFontColor"), clWindowText};
inline constexpr TStringSetting PrintTitle1FontName{PrintOption, QLatin1String("Title1FontName"), PrintGothicFontName};
inline constexpr TIntSetting PrintTitle1FontSize{PrintOption, QLatin1String("Title1FontSize"), 14};
inline constexpr TColorSetting PrintTitle1FontColor{PrintOption, QLatin1String("Title1FontColor"), clWindowText};
inline constexpr TStringSetting PrintTitle2FontName{PrintOption, QLatin1String("Title2FontName"), PrintGothicFontName};
inline constexpr TIntSetting PrintTitle2FontSize{PrintOption, QLatin1String("Title2FontSize"), 12};
inline constexpr TColorSetting PrintTitle2FontColor{PrintOption, QLatin1String("Title2FontColor"), clWindowText};
inline constexpr TStringSetting PrintDetailFontName{PrintOption, QLatin1String("DetailFontName"), PrintMinchoFontName};
inline constexpr TIntSetting PrintDetailFontSize{PrintOption, QLatin1String("DetailFontSize"), 10};
inline constexpr TColorSetting PrintDetailFontColor{PrintOption, QLatin1String("DetailFontColor"), clWindowText};
} // namespace SettingKeys

// The vertical preview and the vertical and 原稿用紙 PDFs (section VERTICAL).
namespace SettingKeys {
inline constexpr QLatin1String Vertical("VERTICAL");

// a6 (文庫), shinsho (新書), b6 or a5.
inline constexpr TStringSetting VerticalPageSize{Vertical, QLatin1String("PageSize"), u"a6"};
inline constexpr TIntSetting VerticalCharacters{Vertical, QLatin1String("Characters"), 42};
inline constexpr TIntSetting VerticalLines{Vertical, QLatin1String("Lines"), 18};
inline constexpr TStringSetting VerticalPreviewFont{Vertical, QLatin1String("PreviewFont"), u"Noto Serif CJK JP"};
// A TrueType font: the PDF embeds a subset of it, and its text can be searched.
inline constexpr TStringSetting VerticalPdfFont{Vertical, QLatin1String("PdfFont"), u"IPAMincho"};
inline constexpr TBoolSetting VerticalKanjiNumbers{Vertical, QLatin1String("KanjiNumbers"), true};
inline constexpr TBoolSetting VerticalRunningHead{Vertical, QLatin1String("RunningHead"), true};
// 原稿用紙 of 40 × 30 instead of 20 × 20.
inline constexpr TBoolSetting VerticalGenkoLarge{Vertical, QLatin1String("GenkoLarge"), false};
inline constexpr TStringSetting VerticalAuthorName{Vertical, QLatin1String("AuthorName"), u""};
inline constexpr TBoolSetting VerticalShowPreview{Vertical, QLatin1String("ShowPreview"), false};
} // namespace SettingKeys
