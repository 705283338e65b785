#pragma once

#include <QColor>
#include <QImage>

// The pictures that no icon theme has: tree editing, panes, modes, expander boxes and the pane
// title bars. Each returns a transparent ARGB picture of the asked size.
namespace Glyphs {

enum class TRowEdit { InsertBefore, AddAfter, AddChild, Delete };
QImage RowEdit(TRowEdit edit, int size);

// A small outline tree with its branches all opened (open) or all closed.
QImage Tree(bool open, int size);

enum class TPanes { Both, NavigatorOnly, EditorOnly, SwitchDisplay, NavigatorHidden, NavigatorShown };
QImage Window(TPanes panes, int size);

// A page of an outline item; accent marks the level.
QImage Page(const QColor &accent, int size);
// The badge of the selected item: a pencil in the bottom-right corner.
QImage WithPencil(const QImage &base);
// The badge of making something new: a green plus in the bottom-right corner.
QImage WithPlus(const QImage &base);

// A puzzle piece, the sign of the plug-ins.
QImage PuzzlePiece(int size);

QImage OutlineMode(int size);
QImage TextMode(int size);

enum class TViewerButton { Shaded, Shade, OnTop };
QImage ViewerButton(TViewerButton button, int size);

// The 9 x 9 expander boxes (times scale): open shows a minus, closed a plus.
QImage Expander(bool open, int scale = 1);

// A 6 x 12 piece of a pane title bar (times scale).
enum class TBarPiece { Left, Tile, Right };
QImage TitleBarPiece(TBarPiece piece, const QColor &light, const QColor &dark, int scale = 1);

} // namespace Glyphs
