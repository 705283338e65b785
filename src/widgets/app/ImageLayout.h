#pragma once

// Where each picture lies in the program's image file. Both the loader and the build step that
// draws the file read this one table, so the two cannot drift apart.

#include <array>
#include <string_view>

namespace ImageLayout {

// The image file must be at least this large for every rectangle below to lie inside it.
inline constexpr int MinWidth = 432;
inline constexpr int MinHeight = 240;

// A second file beside it ("olvek@2x.png" beside "olvek.bmp") may hold every picture at twice
// the size, each rectangle below multiplied by this, for screens of twice the density.
inline constexpr int HighResolutionScale = 2;

// Tool-bar pictures come in pairs: the enabled picture on the left, the disabled one on the right.
inline constexpr int LargeSize = 24;
inline constexpr int SmallSize = 16;

// The tool-bar image index of each action; the same index is valid at both sizes.
enum class TToolImage : int {
    FileNew1,
    FileSave1,
    FileOpen1,
    FilePrint,
    FileExportToText,
    FileExportToHTML,
    EditUndo1,
    EditCut1,
    EditCopy1,
    EditPaste1,
    Find,
    FindNext,
    FindPrev,
    FindReplace,
    TreeInsertNode,
    TreeAddNode,
    TreeAddChildNode,
    TreeDeleteNode,
    TreeNodeMoveLeft,
    TreeNodeMoveRight,
    TreeNodeMoveUp,
    TreeNodeMoveDown,
    TreeAllNodeOpen,
    TreeAllNodeClose,
    HelpTopic,
    ViewChangeDisplayMode,
    ViewShowNavigator,
    ViewShowEditor,
    OptionSetting,
    FilePlugin,
    OptionPlugin,
};

struct TToolImageSlot
{
    std::string_view action;
    int largeLeft, largeTop;
    int smallLeft, smallTop;
};

inline constexpr std::array<TToolImageSlot, 31> ToolImageSlots = {{
    {"FileNew1", 0, 0, 240, 0},
    {"FileSave1", 0, 24, 240, 16},
    {"FileOpen1", 0, 48, 240, 32},
    {"FilePrint", 0, 72, 240, 48},
    {"FileExportToText", 0, 96, 240, 64},
    {"FileExportToHTML", 0, 120, 240, 80},
    {"EditUndo1", 0, 144, 240, 96},
    {"EditCut1", 0, 168, 240, 112},
    {"EditCopy1", 0, 192, 240, 128},
    {"EditPaste1", 0, 216, 240, 144},
    {"Find", 48, 0, 272, 0},
    {"FindNext", 48, 24, 272, 16},
    {"FindPrev", 48, 48, 272, 32},
    {"FindReplace", 48, 72, 272, 48},
    {"TreeInsertNode", 48, 96, 272, 64},
    {"TreeAddNode", 48, 120, 272, 80},
    {"TreeAddChildNode", 48, 144, 272, 96},
    {"TreeDeleteNode", 48, 168, 272, 112},
    {"TreeNodeMoveLeft", 48, 192, 272, 128},
    {"TreeNodeMoveRight", 48, 216, 272, 144},
    {"TreeNodeMoveUp", 96, 0, 304, 0},
    {"TreeNodeMoveDown", 96, 24, 304, 16},
    {"TreeAllNodeOpen", 96, 48, 304, 32},
    {"TreeAllNodeClose", 96, 192, 304, 128},
    {"HelpTopic", 96, 72, 304, 48},
    {"ViewChangeDisplayMode", 96, 96, 304, 64},
    {"ViewShowNavigator", 96, 120, 304, 80},
    {"ViewShowEditor", 96, 144, 304, 96},
    {"OptionSetting", 96, 168, 304, 112},
    {"FilePlugin", 96, 216, 304, 144},
    {"OptionPlugin", 144, 0, 336, 0},
}};

inline constexpr int ToolImageCount = int(ToolImageSlots.size());

// Navigator item icons: 16 x 16, white is transparent, laid out six to a row.
inline constexpr int NaviIconCount = 22;
inline constexpr int NaviIconSize = 16;
inline constexpr int NaviIconLeft(int k) { return 240 + 16 * (k % 6); }
inline constexpr int NaviIconTop(int k) { return 160 + 16 * (k / 6); }

// The navigator icon pairs: the first of each pair is the normal picture, the next one the
// picture of the selected item.
enum TNaviIcon : int {
    NaviMainTitleClosed = 0,
    NaviMainTitleOpen = 2,
    NaviWorkFolderClosed = 4,
    NaviWorkFolderOpen = 6,
    NaviTrashEmpty = 8,
    NaviTrashFull = 10,
    NaviLevel1 = 12,
    NaviLevel2 = 14,
    NaviLevel3 = 16,
    NaviClipEmpty = 18,
    NaviClipFull = 20,
};

// Single pictures, each a bitmap of its own.
enum class TPicture : int {
    Jump,
    MakeNodes,
    OutlineMode,
    TextMode,
    NaviHidden,
    NaviShown,
    ViewerShaded,
    ViewerShade,
    ViewerOnTop,
    Viewer,
    Expander0,
    Expander1,
    EditorBarLeft,
    EditorBarTile,
    EditorBarRight,
    NaviBarLeft,
    NaviBarTile,
    NaviBarRight,
};

struct TPictureRect
{
    int left, top, width, height;
};

inline constexpr std::array<TPictureRect, 18> PictureRects = {{
    {400, 0, 16, 16},
    {416, 0, 16, 16},
    {400, 16, 16, 16},
    {400, 32, 16, 16},
    {400, 48, 16, 16},
    {416, 48, 16, 16},
    {400, 64, 16, 16},
    {416, 64, 16, 16},
    {400, 80, 16, 16},
    {416, 80, 16, 16},
    {400, 160, 9, 9},
    {409, 160, 9, 9},
    {400, 169, 6, 12},
    {406, 169, 6, 12},
    {412, 169, 6, 12},
    {400, 181, 6, 12},
    {406, 181, 6, 12},
    {412, 181, 6, 12},
}};

inline constexpr int PictureCount = int(PictureRects.size());
inline constexpr TPictureRect PictureRect(TPicture p) { return PictureRects[std::size_t(p)]; }

// The pieces of the pane title bars are opaque; every other single picture takes the colour of its
// bottom-left pixel as transparent.
inline constexpr bool IsTitleBarPiece(TPicture p) { return p >= TPicture::EditorBarLeft; }

// The pane title bars are painted from a left cap, a repeated tile and a right cap of this width.
inline constexpr int TitleBarPieceWidth = 6;

} // namespace ImageLayout
