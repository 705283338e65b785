// olvek-imagegen THEME_DIR OUTPUT.bmp [OUTPUT@2x.png]
// Draws the program's image file: every tool-bar picture (enabled and greyed, at 24 and 16
// pixels), the navigator icons, the speed-button pictures, the expander boxes and the pieces of
// the pane title bars, each at the place the loader cuts it from. The second file holds the same
// pictures drawn at twice the size, every place doubled, for screens of twice the density.

#include "Flatten.h"
#include "Glyphs.h"
#include "IconSource.h"
#include "app/ImageLayout.h"

#include <QGuiApplication>
#include <QPainter>
#include <functional>
#include <iostream>

using namespace ImageLayout;

namespace {

using TPainterFn = std::function<QImage(int size)>;

// One picture per tool-bar image index, drawn at the asked size.
std::array<TPainterFn, ToolImageCount> toolPictures(const TIconSource &icons)
{
    auto theme = [&icons](const char *name) { return [&icons, name](int s) { return icons.Icon(QLatin1String(name), s); }; };
    auto badged = [&icons](const char *name, const char *badge, Qt::Corner corner) {
        return [&icons, name, badge, corner](int s) {
            return icons.WithBadge(icons.Icon(QLatin1String(name), s), QLatin1String(badge), corner);
        };
    };
    using namespace Glyphs;
    std::array<TPainterFn, ToolImageCount> pictures;
    auto set = [&pictures](TToolImage image, TPainterFn fn) { pictures[std::size_t(image)] = std::move(fn); };
    set(TToolImage::FileNew1, theme("document-new"));
    set(TToolImage::FileSave1, theme("document-save"));
    set(TToolImage::FileOpen1, theme("document-open"));
    set(TToolImage::FilePrint, theme("document-print"));
    set(TToolImage::FileExportToText, badged("text-x-generic", "go-next", Qt::BottomRightCorner));
    set(TToolImage::FileExportToHTML, badged("text-html", "go-next", Qt::BottomRightCorner));
    set(TToolImage::EditUndo1, theme("edit-undo"));
    set(TToolImage::EditCut1, theme("edit-cut"));
    set(TToolImage::EditCopy1, theme("edit-copy"));
    set(TToolImage::EditPaste1, theme("edit-paste"));
    set(TToolImage::Find, theme("edit-find"));
    set(TToolImage::FindNext, badged("edit-find", "go-down", Qt::BottomRightCorner));
    set(TToolImage::FindPrev, badged("edit-find", "go-up", Qt::BottomRightCorner));
    set(TToolImage::FindReplace, theme("edit-find-replace"));
    set(TToolImage::TreeInsertNode, [](int s) { return RowEdit(TRowEdit::InsertBefore, s); });
    set(TToolImage::TreeAddNode, [](int s) { return RowEdit(TRowEdit::AddAfter, s); });
    set(TToolImage::TreeAddChildNode, [](int s) { return RowEdit(TRowEdit::AddChild, s); });
    set(TToolImage::TreeDeleteNode, [](int s) { return RowEdit(TRowEdit::Delete, s); });
    set(TToolImage::TreeNodeMoveLeft, theme("go-previous"));
    set(TToolImage::TreeNodeMoveRight, theme("go-next"));
    set(TToolImage::TreeNodeMoveUp, theme("go-up"));
    set(TToolImage::TreeNodeMoveDown, theme("go-down"));
    set(TToolImage::TreeAllNodeOpen, [](int s) { return Tree(true, s); });
    set(TToolImage::TreeAllNodeClose, [](int s) { return Tree(false, s); });
    set(TToolImage::HelpTopic, theme("help-browser"));
    set(TToolImage::ViewChangeDisplayMode, [](int s) { return Window(TPanes::SwitchDisplay, s); });
    set(TToolImage::ViewShowNavigator, [](int s) { return Window(TPanes::NavigatorOnly, s); });
    set(TToolImage::ViewShowEditor, [](int s) { return Window(TPanes::EditorOnly, s); });
    set(TToolImage::OptionSetting, theme("preferences-system"));
    set(TToolImage::FilePlugin, [](int s) { return PuzzlePiece(s); });
    set(TToolImage::OptionPlugin, [&icons](int s) {
        return icons.WithBadge(PuzzlePiece(s), QStringLiteral("preferences-system"), Qt::BottomRightCorner);
    });
    return pictures;
}

// The navigator icons in index order: a normal picture, then the selected item's picture.
std::array<QImage, NaviIconCount> naviIcons(const TIconSource &icons, int scale)
{
    const int s = NaviIconSize * scale;
    auto folder = [&icons, s](const char *name, const QColor &tint) {
        QImage image = icons.Icon(QLatin1String(name), s);
        if (tint.isValid()) {
            // The main title's folder is tinted so that the document stands apart from the work folder.
            QPainter p(&image);
            p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            p.fillRect(image.rect(), tint);
        }
        return image;
    };
    const QColor mainTint(0xcc, 0x44, 0x22, 110);
    const QImage mainClosed = folder("folder", mainTint);
    const QImage mainOpen = folder("folder-open", mainTint);
    const QImage workClosed = folder("folder", {});
    const QImage workOpen = folder("folder-open", {});
    const QImage trashEmpty = icons.Icon(QStringLiteral("user-trash"), s);
    const QImage trashFull = icons.Icon(QStringLiteral("user-trash-full"), s);
    const QImage level1 = Glyphs::Page(QColor(0x34, 0x65, 0xa4), s);
    const QImage level2 = Glyphs::Page(QColor(0x4e, 0x9a, 0x06), s);
    const QImage level3 = Glyphs::Page(QColor(0xf5, 0x79, 0x00), s);
    QImage clipEmpty = icons.Icon(QStringLiteral("edit-paste"), s);
    const QImage clipFull = icons.WithBadge(clipEmpty, QStringLiteral("text-x-generic"), Qt::BottomRightCorner, 0.7);
    {
        // An empty clipboard is drawn faded.
        QPainter p(&clipEmpty);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.fillRect(clipEmpty.rect(), QColor(0, 0, 0, 150));
    }
    const QImage normals[] = {mainClosed, mainOpen, workClosed, workOpen, trashEmpty, trashFull,
                              level1, level2, level3, clipEmpty, clipFull};
    std::array<QImage, NaviIconCount> result;
    for (int i = 0; i < NaviIconCount / 2; ++i) {
        result[2 * i] = normals[i];
        result[2 * i + 1] = Glyphs::WithPencil(normals[i]);
    }
    return result;
}

QImage singlePicture(TPicture picture, const TIconSource &icons, int scale)
{
    using namespace Glyphs;
    const int s16 = 16 * scale;
    // The navigator's bar is blue, the editor's green.
    const QColor editorLight(0xb5, 0xe8, 0x7a), editorDark(0x4e, 0x9a, 0x06);
    const QColor naviLight(0xa9, 0xc6, 0xea), naviDark(0x34, 0x65, 0xa4);
    switch (picture) {
    case TPicture::Jump: return icons.Icon(QStringLiteral("go-jump"), s16);
    case TPicture::MakeNodes: return WithPlus(icons.Icon(QStringLiteral("text-x-generic"), s16));
    case TPicture::OutlineMode: return OutlineMode(s16);
    case TPicture::TextMode: return TextMode(s16);
    case TPicture::NaviHidden: return Window(TPanes::NavigatorHidden, s16);
    case TPicture::NaviShown: return Window(TPanes::NavigatorShown, s16);
    case TPicture::ViewerShaded: return ViewerButton(TViewerButton::Shaded, s16);
    case TPicture::ViewerShade: return ViewerButton(TViewerButton::Shade, s16);
    case TPicture::ViewerOnTop: return ViewerButton(TViewerButton::OnTop, s16);
    case TPicture::Viewer: return icons.Icon(QStringLiteral("document-print-preview"), s16);
    case TPicture::Expander0: return Expander(false, scale);
    case TPicture::Expander1: return Expander(true, scale);
    case TPicture::EditorBarLeft: return TitleBarPiece(TBarPiece::Left, editorLight, editorDark, scale);
    case TPicture::EditorBarTile: return TitleBarPiece(TBarPiece::Tile, editorLight, editorDark, scale);
    case TPicture::EditorBarRight: return TitleBarPiece(TBarPiece::Right, editorLight, editorDark, scale);
    case TPicture::NaviBarLeft: return TitleBarPiece(TBarPiece::Left, naviLight, naviDark, scale);
    case TPicture::NaviBarTile: return TitleBarPiece(TBarPiece::Tile, naviLight, naviDark, scale);
    case TPicture::NaviBarRight: return TitleBarPiece(TBarPiece::Right, naviLight, naviDark, scale);
    }
    return {};
}

// The sheet at scale times the size: every picture drawn at that size, every place multiplied.
QImage drawImageFile(const TIconSource &icons, int scale)
{
    QImage sheet(MinWidth * scale, MinHeight * scale, QImage::Format_RGB32);
    sheet.fill(Flatten::Magenta);
    QPainter p(&sheet);

    const auto tools = toolPictures(icons);
    for (int i = 0; i < ToolImageCount; ++i) {
        const TToolImageSlot &slot = ToolImageSlots[std::size_t(i)];
        for (int size : {LargeSize, SmallSize}) {
            const QImage enabled =
                Flatten::OnKey(tools[std::size_t(i)](size * scale), Flatten::Magenta, Flatten::ToolFace);
            const QPoint at = size == LargeSize ? QPoint(slot.largeLeft, slot.largeTop) : QPoint(slot.smallLeft, slot.smallTop);
            p.drawImage(at * scale, enabled);
            p.drawImage((at + QPoint(size, 0)) * scale, Flatten::Disabled(enabled, Flatten::Magenta));
        }
    }

    const auto navi = naviIcons(icons, scale);
    for (int k = 0; k < NaviIconCount; ++k)
        p.drawImage(NaviIconLeft(k) * scale, NaviIconTop(k) * scale,
                    Flatten::OnKey(navi[std::size_t(k)], Flatten::White, Flatten::TreeFace));

    for (int i = 0; i < PictureCount; ++i) {
        const auto picture = TPicture(i);
        const TPictureRect r = PictureRects[std::size_t(i)];
        const QImage drawn = singlePicture(picture, icons, scale);
        p.drawImage(r.left * scale, r.top * scale,
                    IsTitleBarPiece(picture) ? drawn : Flatten::OnKey(drawn, Flatten::Magenta, Flatten::ToolFace));
    }
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: olvek-imagegen THEME_DIR OUTPUT.bmp [OUTPUT@2x.png]\n";
        return 2;
    }
    try {
        const TIconSource icons(QString::fromLocal8Bit(argv[1]));
        if (!drawImageFile(icons, 1).save(QString::fromLocal8Bit(argv[2]), "BMP")) {
            std::cerr << "olvek-imagegen: cannot write " << argv[2] << '\n';
            return 1;
        }
        if (argc == 4 && !drawImageFile(icons, HighResolutionScale).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
            std::cerr << "olvek-imagegen: cannot write " << argv[3] << '\n';
            return 1;
        }
    } catch (const std::exception &e) {
        std::cerr << "olvek-imagegen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
