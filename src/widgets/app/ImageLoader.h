#pragma once

#include "app/ImageLayout.h"
#include "app/ToolBarControls.h"
#include "app/ToolBarMetrics.h"

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>
#include <array>

class QPainter;
class TTreeNode;

// Reads the program's image file once and cuts it into every picture of the user interface: the
// tool-bar images at 24 and 16 pixels with their greyed versions, the navigator's item icons, the
// speed-button pictures, the expander boxes and the pieces of the pane title bars. It also owns
// the switch between large and small tool-bar buttons and the column ruler's text.
class TOlvekImageLoader
{
public:
    // Throws std::runtime_error (with a message for the user, UTF-8) when the file is missing,
    // unreadable or too small to hold every picture.
    explicit TOlvekImageLoader(const QString &imageFile);

    // The image file of this program: its own path with ".bmp", or failing that the copy in the
    // installed data folder. The path beside the program is returned when neither exists, so that
    // the error names the file the user is expected to supply.
    static QString DefaultImageFile();
    // The file of the same pictures at twice the size beside an image file: "olvek@2x.png" for
    // "olvek.bmp". It is optional; without it (or when it cannot be read) every picture is the
    // image file's.
    static QString HighResolutionFile(const QString &imageFile);
    // The pictures at twice the size were read: the icons carry them beside the 1x ones (as
    // pixmaps of device pixel ratio 2), and on a screen of more than 1x the single pictures and
    // the navigator's icons are them.
    bool HasHighResolution() const { return !m_largeImages2x.isEmpty(); }

    // Tool-bar images: index i belongs to the action ImageLayout::ToolImageSlots[i].
    static int ToolImageIndex(const QString &actionName);
    const QList<QPixmap> &LargeImages() const { return m_largeImages; }
    const QList<QPixmap> &LargeDisabledImages() const { return m_largeDisabled; }
    const QList<QPixmap> &SmallImages() const { return m_smallImages; }
    const QList<QPixmap> &SmallDisabledImages() const { return m_smallDisabled; }
    // Both sizes, enabled (normal mode) and greyed (disabled mode), for an action or a button.
    QIcon ToolIcon(ImageLayout::TToolImage image) const;
    QIcon ToolIcon(int index) const;

    // Tool-bar size (setting ToolBar/SmallButtons). Controls attached later are sized at once.
    void AttachToolBars(const TToolBarControls &controls);
    void SetToolBarSize(bool small);
    bool SmallButtons() const { return m_small; }
    static TToolBarMetrics ToolBarMetrics(bool small);

    // Navigator item icons, index k from 0 to 21; white is transparent.
    const QList<QPixmap> &NaviImages() const { return m_naviImages; }
    QIcon NaviIcon(int index) const;
    // The first image of node's pair (the normal picture; first + 1 is the selected one), or -1
    // for a top-level node that keeps whatever image it has.
    static int NaviImageIndex(const TTreeNode *node, bool expanded);

    // A single picture with its bottom-left colour made transparent (title-bar pieces as drawn).
    const QPixmap &Picture(ImageLayout::TPicture picture) const { return m_pictures[std::size_t(picture)]; }
    // Image 0 (a closed level) and image 1 (an opened level) of the expander buttons.
    QIcon ExpanderIcon(int state) const;

    // Paints a pane title bar of width pixels at the painter's origin: left cap, tiles, right cap.
    enum class TTitleBar { Navigator, Editor };
    void PaintTitleBar(QPainter &painter, TTitleBar bar, int width) const;

    // The column ruler: range 10 marks every fifth column with "+" and every tenth with the
    // column's tens digit; any other range marks columns in groups of eight.
    static QString BuildRulerText(int range);

private:
    void applyToolBarSize() const;
    void readHighResolution(const QString &file);

    QList<QPixmap> m_largeImages;
    QList<QPixmap> m_largeDisabled;
    QList<QPixmap> m_smallImages;
    QList<QPixmap> m_smallDisabled;
    QList<QPixmap> m_largeImages2x;
    QList<QPixmap> m_largeDisabled2x;
    QList<QPixmap> m_smallImages2x;
    QList<QPixmap> m_smallDisabled2x;
    QList<QPixmap> m_naviImages;
    std::array<QPixmap, ImageLayout::PictureCount> m_pictures;
    TToolBarControls m_controls;
    bool m_small = false;
};
