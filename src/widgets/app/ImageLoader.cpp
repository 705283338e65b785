#include "app/ImageLoader.h"

#include "document/DocumentTree.h"
#include "document/TreeNode.h"

#include <QGuiApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QToolButton>
#include <optional>
#include <stdexcept>

using namespace ImageLayout;

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

// Copies a rectangle out of the image file and makes one colour of it transparent, as an image
// list with a transparent colour does: the given colour, or else that of its bottom-left pixel.
QPixmap cut(const QImage &file, const QRect &rect, std::optional<QRgb> transparent = std::nullopt, int scale = 1)
{
    QImage image = file.copy(rect).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = (transparent ? *transparent : image.pixel(0, image.height() - 1)) & 0xffffff;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xffffff) == key)
                line[x] = 0;
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QRect scaled(int left, int top, int width, int height, int scale)
{
    return QRect(left * scale, top * scale, width * scale, height * scale);
}

} // namespace

TOlvekImageLoader::TOlvekImageLoader(const QString &imageFile)
{
    if (!QFileInfo::exists(imageFile))
        fail(QStringLiteral("画像ファイルが見つかりません: %1").arg(imageFile));
    QImageReader reader(imageFile);
    const QImage file = reader.read().convertToFormat(QImage::Format_RGB32);
    if (file.isNull())
        fail(QStringLiteral("画像ファイルを読み込めません: %1 (%2)").arg(imageFile, reader.errorString()));
    // Every rectangle must lie inside the bitmap; a smaller file would give pictures of nothing.
    if (file.width() < MinWidth || file.height() < MinHeight)
        fail(QStringLiteral("画像ファイルが小さすぎます (%1 × %2 ピクセル以上が必要です): %3")
                 .arg(MinWidth).arg(MinHeight).arg(imageFile));

    for (const TToolImageSlot &slot : ToolImageSlots) {
        m_largeImages << cut(file, QRect(slot.largeLeft, slot.largeTop, LargeSize, LargeSize));
        m_largeDisabled << cut(file, QRect(slot.largeLeft + LargeSize, slot.largeTop, LargeSize, LargeSize));
        m_smallImages << cut(file, QRect(slot.smallLeft, slot.smallTop, SmallSize, SmallSize));
        m_smallDisabled << cut(file, QRect(slot.smallLeft + SmallSize, slot.smallTop, SmallSize, SmallSize));
    }
    for (int k = 0; k < NaviIconCount; ++k)
        m_naviImages << cut(file, QRect(NaviIconLeft(k), NaviIconTop(k), NaviIconSize, NaviIconSize), qRgb(255, 255, 255));
    for (int i = 0; i < PictureCount; ++i) {
        const TPictureRect r = PictureRects[std::size_t(i)];
        const QRect rect(r.left, r.top, r.width, r.height);
        m_pictures[std::size_t(i)] = IsTitleBarPiece(TPicture(i)) ? QPixmap::fromImage(file.copy(rect)) : cut(file, rect);
    }
    readHighResolution(HighResolutionFile(imageFile));
}

void TOlvekImageLoader::readHighResolution(const QString &fileName)
{
    const int s = HighResolutionScale;
    const QImage file = QImageReader(fileName).read().convertToFormat(QImage::Format_RGB32);
    if (file.isNull() || file.width() < MinWidth * s || file.height() < MinHeight * s)
        return;
    for (const TToolImageSlot &slot : ToolImageSlots) {
        m_largeImages2x << cut(file, scaled(slot.largeLeft, slot.largeTop, LargeSize, LargeSize, s), {}, s);
        m_largeDisabled2x << cut(file, scaled(slot.largeLeft + LargeSize, slot.largeTop, LargeSize, LargeSize, s), {}, s);
        m_smallImages2x << cut(file, scaled(slot.smallLeft, slot.smallTop, SmallSize, SmallSize, s), {}, s);
        m_smallDisabled2x << cut(file, scaled(slot.smallLeft + SmallSize, slot.smallTop, SmallSize, SmallSize, s), {}, s);
    }
    // On a screen of 1x the image file's own pictures stay: a picture drawn at half its size
    // is blurred, the 1x one is drawn for that size.
    if (qApp->devicePixelRatio() <= 1)
        return;
    for (int k = 0; k < NaviIconCount; ++k) {
        m_naviImages[k] = cut(file, scaled(NaviIconLeft(k), NaviIconTop(k), NaviIconSize, NaviIconSize, s),
                              qRgb(255, 255, 255), s);
    }
    for (int i = 0; i < PictureCount; ++i) {
        const TPictureRect r = PictureRects[std::size_t(i)];
        const QRect rect = scaled(r.left, r.top, r.width, r.height, s);
        QPixmap picture = IsTitleBarPiece(TPicture(i)) ? QPixmap::fromImage(file.copy(rect)) : cut(file, rect, {}, s);
        picture.setDevicePixelRatio(s);
        m_pictures[std::size_t(i)] = picture;
    }
}

QString TOlvekImageLoader::HighResolutionFile(const QString &imageFile)
{
    const QFileInfo info(imageFile);
    return info.path() + u'/' + info.completeBaseName() + QStringLiteral("@2x.png");
}

QString TOlvekImageLoader::DefaultImageFile()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString beside = program.path() + u'/' + program.completeBaseName() + QStringLiteral(".bmp");
    if (QFileInfo::exists(beside))
        return beside;
    // An installed program moved to another prefix finds its data relative to itself.
    const QString relative = program.path() + QStringLiteral("/../share/olvek/olvek.bmp");
    if (QFileInfo::exists(relative))
        return QFileInfo(relative).canonicalFilePath();
    const QString installed = QStringLiteral(OLVEK_DATA_DIR "/olvek.bmp");
    return QFileInfo::exists(installed) ? installed : beside;
}

int TOlvekImageLoader::ToolImageIndex(const QString &actionName)
{
    for (int i = 0; i < ToolImageCount; ++i) {
        const std::string_view action = ToolImageSlots[std::size_t(i)].action;
        if (actionName == QLatin1String(action.data(), qsizetype(action.size())))
            return i;
    }
    return -1;
}

QIcon TOlvekImageLoader::ToolIcon(TToolImage image) const
{
    return ToolIcon(int(image));
}

QIcon TOlvekImageLoader::ToolIcon(int index) const
{
    QIcon icon;
    if (index < 0 || index >= ToolImageCount)
        return icon;
    icon.addPixmap(m_largeImages[index], QIcon::Normal);
    icon.addPixmap(m_smallImages[index], QIcon::Normal);
    icon.addPixmap(m_largeDisabled[index], QIcon::Disabled);
    icon.addPixmap(m_smallDisabled[index], QIcon::Disabled);
    if (HasHighResolution()) {
        icon.addPixmap(m_largeImages2x[index], QIcon::Normal);
        icon.addPixmap(m_smallImages2x[index], QIcon::Normal);
        icon.addPixmap(m_largeDisabled2x[index], QIcon::Disabled);
        icon.addPixmap(m_smallDisabled2x[index], QIcon::Disabled);
    }
    return icon;
}

void TOlvekImageLoader::AttachToolBars(const TToolBarControls &controls)
{
    m_controls = controls;
    applyToolBarSize();
}

void TOlvekImageLoader::SetToolBarSize(bool small)
{
    m_small = small;
    applyToolBarSize();
}

TToolBarMetrics TOlvekImageLoader::ToolBarMetrics(bool small)
{
    const int b = small ? 23 : 31;
    return TToolBarMetrics{
        .iconSize = small ? SmallSize : LargeSize,
        .rowSize = small ? 27 : 35,
        .buttonSize = b,
        .toolBarHeight = small ? std::nullopt : std::optional<int>(31),
        .fileWidth = 7 * b + 14,
        .editWidth = 8 * b + 14,
        .displayWidth = 7 * b + 6,
        .treeEditWidth = 8 * b + 14,
        .treeWidth = 2 * b + 6,
        .jumpWidth = 80,
        .jumpHeight = b,
    };
}

void TOlvekImageLoader::applyToolBarSize() const
{
    const TToolBarMetrics m = ToolBarMetrics(m_small);
    auto size = [&m](QToolBar *bar, int width) {
        if (!bar)
            return;
        bar->setIconSize(QSize(m.iconSize, m.iconSize));
        const auto buttons = bar->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly);
        for (QToolButton *button : buttons) {
            // The overflow button is the tool bar's own.
            if (button->objectName() != QLatin1String("qt_toolbar_ext_button"))
                button->setFixedSize(m.buttonSize, m.buttonSize);
        }
        if (m.toolBarHeight)
            bar->setFixedHeight(*m.toolBarHeight);
        bar->setFixedWidth(width);
    };
    size(m_controls.tbarFile, m.fileWidth);
    size(m_controls.tbarEdit, m.editWidth);
    size(m_controls.tbarDisplay, m.displayWidth);
    size(m_controls.tbarTreeEdit, m.treeEditWidth);
    size(m_controls.tbarTree, m.treeWidth);
    for (QWidget *bar : {m_controls.cbarMain.data(), m_controls.cbarNavi.data()}) {
        if (bar)
            bar->setMinimumHeight(m.rowSize);
    }
    if (m_controls.sbJump)
        m_controls.sbJump->setFixedSize(m.jumpWidth, m.jumpHeight);
}

QIcon TOlvekImageLoader::NaviIcon(int index) const
{
    if (index < 0 || index >= m_naviImages.size())
        return {};
    return QIcon(m_naviImages[index]);
}

int TOlvekImageLoader::NaviImageIndex(const TTreeNode *node, bool expanded)
{
    const TDocumentTree *tree = node->tree();
    if (node == tree->MainTitleNode())
        return expanded ? NaviMainTitleOpen : NaviMainTitleClosed;
    if (node == tree->WorkFolderNode())
        return expanded ? NaviWorkFolderOpen : NaviWorkFolderClosed;
    if (node == tree->TrashNode())
        return node->hasChildren() ? NaviTrashFull : NaviTrashEmpty;
    if (node == tree->ClipFolderNode())
        return node->hasChildren() ? NaviClipFull : NaviClipEmpty;
    switch (node->level()) {
    case 0: return -1;
    case 1: return NaviLevel1;
    case 2: return NaviLevel2;
    default: return NaviLevel3;
    }
}

QIcon TOlvekImageLoader::ExpanderIcon(int state) const
{
    return QIcon(Picture(state ? TPicture::Expander1 : TPicture::Expander0));
}

void TOlvekImageLoader::PaintTitleBar(QPainter &painter, TTitleBar bar, int width) const
{
    const bool navi = bar == TTitleBar::Navigator;
    const QPixmap &left = Picture(navi ? TPicture::NaviBarLeft : TPicture::EditorBarLeft);
    const QPixmap &tile = Picture(navi ? TPicture::NaviBarTile : TPicture::EditorBarTile);
    const QPixmap &right = Picture(navi ? TPicture::NaviBarRight : TPicture::EditorBarRight);
    painter.drawPixmap(0, 0, left);
    for (int x = TitleBarPieceWidth; x < width; x += TitleBarPieceWidth)
        painter.drawPixmap(x, 0, tile);
    painter.drawPixmap(width - TitleBarPieceWidth, 0, right);
}

QString TOlvekImageLoader::BuildRulerText(int range)
{
    QString text;
    if (range == 10) {
        QString unit;
        for (int group = 1; group <= 10; ++group)
            unit += QStringLiteral("----+----") + QString::number(group % 10);
        text = unit.repeated(32);
    } else {
        text = QStringLiteral("---+---|").repeated(288);
    }
    return text;
}
