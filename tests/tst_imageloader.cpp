#include "app/ImageLoader.h"
#include "document/DocumentTree.h"
#include "document/TreeNode.h"

#include <QAction>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <stdexcept>

using namespace ImageLayout;

namespace {

const QRgb Key = qRgb(255, 0, 255);
const QRgb Ink = qRgb(10, 20, 30);

// An image file of the required size: every pixel is ink except the ones the test paints.
QImage blankFile()
{
    QImage image(MinWidth, MinHeight, QImage::Format_RGB32);
    image.fill(Ink);
    return image;
}

QString save(const QTemporaryDir &dir, const QImage &image)
{
    const QString path = dir.filePath(QStringLiteral("olvek.bmp"));
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

bool isTransparent(const QPixmap &pixmap, QPoint at)
{
    return qAlpha(pixmap.toImage().convertToFormat(QImage::Format_ARGB32).pixel(at)) == 0;
}

QString loadError(const QString &path)
{
    try {
        TOlvekImageLoader loader(path);
    } catch (const std::runtime_error &e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(ImageLayout::TPicture)

class TestImageLoader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void builtFileCutsEveryPicture();
    void builtFileDisabledPicturesAreGreyed();
    void transparentColour_data();
    void transparentColour();
    void unusableFileFails_data();
    void unusableFileFails();
    void toolImageIndexFollowsTheTable();
    void toolIconHoldsBothSizes_data();
    void toolIconHoldsBothSizes();
    void toolBarSize();
    void titleBarPieces();
    void titleBarsAtTwiceTheSizeJoin_data();
    void titleBarsAtTwiceTheSizeJoin();
    void naviImageIndex_data();
    void naviImageIndex();
    void rulerText_data();
    void rulerText();
};

void TestImageLoader::builtFileCutsEveryPicture()
{
    const TOlvekImageLoader loader(QStringLiteral(OLVEK_IMAGE_FILE));
    for (const QList<QPixmap> *list : {&loader.LargeImages(), &loader.LargeDisabledImages()}) {
        QCOMPARE(list->size(), 31);
        for (const QPixmap &p : *list)
            QCOMPARE(p.size(), QSize(24, 24));
    }
    for (const QList<QPixmap> *list : {&loader.SmallImages(), &loader.SmallDisabledImages()}) {
        QCOMPARE(list->size(), 31);
        for (const QPixmap &p : *list)
            QCOMPARE(p.size(), QSize(16, 16));
    }
    QCOMPARE(loader.NaviImages().size(), 22);
    for (const QPixmap &p : loader.NaviImages()) {
        QCOMPARE(p.size(), QSize(16, 16));
        // Every icon shows something and is transparent at its edge.
        QVERIFY(isTransparent(p, QPoint(0, 15)));
        QVERIFY(!isTransparent(p, QPoint(8, 8)));
    }
    QCOMPARE(loader.Picture(TPicture::Expander1).size(), QSize(9, 9));
    QCOMPARE(loader.Picture(TPicture::NaviBarTile).size(), QSize(6, 12));
    QCOMPARE(loader.Picture(TPicture::Viewer).size(), QSize(16, 16));
    // The drawn tool-bar pictures mark their background with their bottom-left pixel.
    for (const QPixmap &p : loader.LargeImages())
        QVERIFY(isTransparent(p, QPoint(0, 23)));
}

void TestImageLoader::builtFileDisabledPicturesAreGreyed()
{
    const TOlvekImageLoader loader(QStringLiteral(OLVEK_IMAGE_FILE));
    for (int i = 0; i < ToolImageCount; ++i) {
        const QImage large = loader.LargeImages()[i].toImage();
        const QImage largeOff = loader.LargeDisabledImages()[i].toImage();
        const QImage small = loader.SmallImages()[i].toImage();
        const QImage smallOff = loader.SmallDisabledImages()[i].toImage();
        QVERIFY2(large != largeOff, ToolImageSlots[std::size_t(i)].action.data());
        QVERIFY2(small != smallOff, ToolImageSlots[std::size_t(i)].action.data());
        // Greyed: no opaque pixel of the disabled picture has colour.
        for (const QImage *off : {&largeOff, &smallOff}) {
            const QImage argb = off->convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < argb.height(); ++y) {
                for (int x = 0; x < argb.width(); ++x) {
                    const QRgb c = argb.pixel(x, y);
                    if (qAlpha(c))
                        QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
                }
            }
        }
    }
}

void TestImageLoader::transparentColour_data()
{
    // Where a picture lies in the file, its key colour, and which of the loader's lists holds it.
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<int>("height");
    QTest::addColumn<QRgb>("key");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");

    const TToolImageSlot save = ToolImageSlots[std::size_t(TToolImage::FileSave1)];
    QTest::newRow("large enabled, own bottom-left colour")
        << QPoint(save.largeLeft, save.largeTop) << 24 << qRgb(0, 200, 0) << QStringLiteral("large") << 1;
    QTest::newRow("large disabled, right half of the pair")
        << QPoint(save.largeLeft + 24, save.largeTop) << 24 << Key << QStringLiteral("large disabled") << 1;
    const TToolImageSlot last = ToolImageSlots[std::size_t(TToolImage::OptionPlugin)];
    QTest::newRow("small enabled") << QPoint(last.smallLeft, last.smallTop) << 16 << Key << QStringLiteral("small") << 30;
    QTest::newRow("small disabled")
        << QPoint(last.smallLeft + 16, last.smallTop) << 16 << qRgb(1, 2, 3) << QStringLiteral("small disabled") << 30;
    QTest::newRow("navigator icon 21, always white")
        << QPoint(NaviIconLeft(21), NaviIconTop(21)) << 16 << qRgb(255, 255, 255) << QStringLiteral("navi") << 21;
    const TPictureRect expander = PictureRect(TPicture::Expander0);
    QTest::newRow("expander image 0")
        << QPoint(expander.left, expander.top) << 9 << Key << QStringLiteral("picture") << int(TPicture::Expander0);
}

void TestImageLoader::transparentColour()
{
    QFETCH(QPoint, origin);
    QFETCH(int, height);
    QFETCH(QRgb, key);
    QFETCH(QString, list);
    QFETCH(int, index);

    // The key at the picture's bottom-left corner and once more inside; the rest is ink.
    QImage file = blankFile();
    file.setPixel(origin + QPoint(0, height - 1), key);
    file.setPixel(origin + QPoint(3, 2), key);
    QTemporaryDir dir;
    const TOlvekImageLoader loader(save(dir, file));
    const QPixmap pixmap = list == u"large"            ? loader.LargeImages()[index]
                           : list == u"large disabled" ? loader.LargeDisabledImages()[index]
                           : list == u"small"          ? loader.SmallImages()[index]
                           : list == u"small disabled" ? loader.SmallDisabledImages()[index]
                           : list == u"navi"           ? loader.NaviImages()[index]
                                                       : loader.Picture(TPicture(index));
    QCOMPARE(pixmap.height(), height);
    QVERIFY(isTransparent(pixmap, QPoint(0, height - 1)));
    QVERIFY(isTransparent(pixmap, QPoint(3, 2)));
    QVERIFY(!isTransparent(pixmap, QPoint(1, height - 1)));
    QCOMPARE(pixmap.toImage().pixel(2, 2) & 0xffffff, Ink & 0xffffff);
}

void TestImageLoader::unusableFileFails_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing") << QByteArray() << QSize() << QStringLiteral("見つかりません");
    QTest::newRow("not an image") << QByteArray("BM not really a bitmap") << QSize()
                                  << QStringLiteral("読み込めません");
    QTest::newRow("one pixel too narrow") << QByteArray() << QSize(431, 240)
                                          << QStringLiteral("小さすぎます");
    QTest::newRow("one pixel too low") << QByteArray() << QSize(432, 239)
                                       << QStringLiteral("小さすぎます");
}

void TestImageLoader::unusableFileFails()
{
    QFETCH(QByteArray, content);
    QFETCH(QSize, imageSize);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("olvek.bmp"));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else if (imageSize.isValid()) {
        QImage image(imageSize, QImage::Format_RGB32);
        image.fill(Ink);
        QVERIFY(image.save(path, "BMP"));
    }
    const QString error = loadError(path);
    QVERIFY2(error.contains(expected), qPrintable(error));
    // The message names the file so that the user knows what to put back.
    QVERIFY(error.contains(path));
}

void TestImageLoader::toolImageIndexFollowsTheTable()
{
    QCOMPARE(TOlvekImageLoader::ToolImageIndex(QStringLiteral("FileNew1")), 0);
    QCOMPARE(TOlvekImageLoader::ToolImageIndex(QStringLiteral("TreeAllNodeClose")), int(TToolImage::TreeAllNodeClose));
    QCOMPARE(TOlvekImageLoader::ToolImageIndex(QStringLiteral("OptionPlugin")), 30);
    QCOMPARE(TOlvekImageLoader::ToolImageIndex(QStringLiteral("FileSaveAs1")), -1);

    // TreeAllNodeClose sits out of order in the file, below FilePlugin's neighbours.
    QImage file = blankFile();
    const QRgb marker = qRgb(200, 100, 50);
    file.setPixel(96 + 5, 192 + 5, marker);
    file.setPixel(304 + 5, 128 + 5, marker);
    QTemporaryDir dir;
    const TOlvekImageLoader loader(save(dir, file));
    const int i = int(TToolImage::TreeAllNodeClose);
    QCOMPARE(loader.LargeImages()[i].toImage().pixel(5, 5) & 0xffffff, marker & 0xffffff);
    QCOMPARE(loader.SmallImages()[i].toImage().pixel(5, 5) & 0xffffff, marker & 0xffffff);
}

void TestImageLoader::toolIconHoldsBothSizes_data()
{
    QTest::addColumn<bool>("twice");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::newRow("the image file alone") << false << QList<QSize>{QSize(24, 24), QSize(16, 16)};
    // The pictures at twice the size are there for screens of twice the density; on this one
    // the icon still draws the image file's.
    QTest::newRow("with the pictures at twice the size")
        << true << QList<QSize>{QSize(24, 24), QSize(16, 16), QSize(48, 48), QSize(32, 32)};
}

void TestImageLoader::toolIconHoldsBothSizes()
{
    QFETCH(bool, twice);
    QFETCH(QList<QSize>, sizes);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("olvek.bmp"));
    QVERIFY(QFile::copy(QStringLiteral(OLVEK_IMAGE_FILE), file));
    if (twice) {
        QVERIFY(QFile::copy(TOlvekImageLoader::HighResolutionFile(QStringLiteral(OLVEK_IMAGE_FILE)),
                            TOlvekImageLoader::HighResolutionFile(file)));
    }
    const TOlvekImageLoader loader(file);
    QCOMPARE(loader.HasHighResolution(), twice);
    const QIcon icon = loader.ToolIcon(TToolImage::EditCopy1);
    QCOMPARE(icon.availableSizes(QIcon::Normal), sizes);
    QCOMPARE(icon.pixmap(16, QIcon::Normal).toImage(), loader.SmallImages()[8].toImage());
    QCOMPARE(icon.pixmap(24, QIcon::Disabled).toImage(), loader.LargeDisabledImages()[8].toImage());
    QVERIFY(loader.ToolIcon(31).isNull());
}

void TestImageLoader::toolBarSize()
{
    TOlvekImageLoader loader(QStringLiteral(OLVEK_IMAGE_FILE));
    QWidget window;
    QToolBar tbarFile(&window), tbarEdit(&window), tbarTree(&window), tbarTreeEdit(&window), tbarDisplay(&window);
    for (QToolBar *bar : {&tbarFile, &tbarEdit, &tbarTree, &tbarTreeEdit, &tbarDisplay}) {
        bar->addAction(loader.ToolIcon(TToolImage::FileNew1), QStringLiteral("a"));
        bar->addAction(loader.ToolIcon(TToolImage::FileOpen1), QStringLiteral("b"));
    }
    QWidget cbarMain(&window), cbarNavi(&window);
    QToolButton sbJump(&window);
    loader.AttachToolBars({&tbarFile, &tbarEdit, &tbarTree, &tbarTreeEdit, &tbarDisplay, &cbarMain, &cbarNavi, &sbJump});

    auto buttonSizes = [](QToolBar &bar) {
        QList<QSize> sizes;
        for (QToolButton *b : bar.findChildren<QToolButton *>(Qt::FindDirectChildrenOnly)) {
            if (b->objectName() != QLatin1String("qt_toolbar_ext_button"))
                sizes << b->size();
        }
        return sizes;
    };

    loader.SetToolBarSize(false);
    QCOMPARE(tbarEdit.iconSize(), QSize(24, 24));
    QCOMPARE(buttonSizes(tbarEdit), (QList<QSize>{QSize(31, 31), QSize(31, 31)}));
    QCOMPARE(tbarEdit.height(), 31);
    QCOMPARE(tbarFile.width(), 7 * 31 + 14);
    QCOMPARE(tbarTree.width(), 2 * 31 + 6);
    QCOMPARE(cbarMain.minimumHeight(), 35);
    QCOMPARE(sbJump.size(), QSize(80, 31));

    // Going small keeps the bars 31 pixels high while the buttons shrink to 23.
    loader.SetToolBarSize(true);
    QVERIFY(loader.SmallButtons());
    QCOMPARE(tbarEdit.iconSize(), QSize(16, 16));
    QCOMPARE(buttonSizes(tbarEdit), (QList<QSize>{QSize(23, 23), QSize(23, 23)}));
    QCOMPARE(tbarEdit.height(), 31);
    QCOMPARE(tbarFile.width(), 7 * 23 + 14);
    QCOMPARE(tbarEdit.width(), 8 * 23 + 14);
    QCOMPARE(tbarDisplay.width(), 7 * 23 + 6);
    QCOMPARE(tbarTreeEdit.width(), 8 * 23 + 14);
    QCOMPARE(tbarTree.width(), 2 * 23 + 6);
    QCOMPARE(cbarNavi.minimumHeight(), 27);
    QCOMPARE(sbJump.size(), QSize(80, 23));
}

void TestImageLoader::titleBarPieces()
{
    // Distinct colours for the navigator bar's left cap, tile and right cap.
    QImage file = blankFile();
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const TPicture pieces[] = {TPicture::NaviBarLeft, TPicture::NaviBarTile, TPicture::NaviBarRight};
    for (int i = 0; i < 3; ++i) {
        const TPictureRect r = PictureRect(pieces[i]);
        for (int y = r.top; y < r.top + r.height; ++y) {
            for (int x = r.left; x < r.left + r.width; ++x)
                file.setPixel(x, y, colours[i]);
        }
    }
    QTemporaryDir dir;
    const TOlvekImageLoader loader(save(dir, file));

    // Width 20: left cap 0-5, tiles from 6, the right cap over 14-19.
    QImage bar(20, 12, QImage::Format_RGB32);
    bar.fill(Qt::black);
    QPainter painter(&bar);
    loader.PaintTitleBar(painter, TOlvekImageLoader::TTitleBar::Navigator, 20);
    painter.end();
    QString row;
    for (int x = 0; x < 20; ++x) {
        const QRgb c = bar.pixel(x, 6);
        row += c == colours[0] ? u'L' : c == colours[1] ? u'T' : c == colours[2] ? u'R' : u'?';
    }
    QCOMPARE(row, QStringLiteral("LLLLLLTTTTTTTTRRRRRR"));
}

void TestImageLoader::titleBarsAtTwiceTheSizeJoin_data()
{
    QTest::addColumn<TPicture>("tile");
    QTest::addColumn<TPicture>("leftCap");
    QTest::addColumn<TPicture>("rightCap");
    QTest::newRow("navigator") << TPicture::NaviBarTile << TPicture::NaviBarLeft << TPicture::NaviBarRight;
    QTest::newRow("editor") << TPicture::EditorBarTile << TPicture::EditorBarLeft << TPicture::EditorBarRight;
}

void TestImageLoader::titleBarsAtTwiceTheSizeJoin()
{
    // The bar repeats its tile across the pane: at twice the size, as at the image file's size,
    // each row of the tile is one colour, or the repeated tiles show a seam at every one; the
    // caps match the tile but for their outer edge.
    QFETCH(TPicture, tile);
    QFETCH(TPicture, leftCap);
    QFETCH(TPicture, rightCap);
    const QImage file = QImage(TOlvekImageLoader::HighResolutionFile(QStringLiteral(OLVEK_IMAGE_FILE)))
                            .convertToFormat(QImage::Format_RGB32);
    QVERIFY(!file.isNull());
    const int s = HighResolutionScale;
    const auto piece = [&](TPicture p) {
        const TPictureRect r = PictureRect(p);
        return file.copy(r.left * s, r.top * s, r.width * s, r.height * s);
    };
    const QImage t = piece(tile);
    const QImage left = piece(leftCap);
    const QImage right = piece(rightCap);
    for (int y = 0; y < t.height(); ++y) {
        for (int x = 0; x < t.width(); ++x) {
            QVERIFY2(t.pixel(x, y) == t.pixel(0, y), qPrintable(QStringLiteral("tile %1,%2").arg(x).arg(y)));
            if (x >= s)
                QVERIFY2(left.pixel(x, y) == t.pixel(0, y), qPrintable(QStringLiteral("left cap %1,%2").arg(x).arg(y)));
            if (x < t.width() - s)
                QVERIFY2(right.pixel(x, y) == t.pixel(0, y), qPrintable(QStringLiteral("right cap %1,%2").arg(x).arg(y)));
        }
    }
}

void TestImageLoader::naviImageIndex_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("expanded");
    QTest::addColumn<int>("expected");

    QTest::newRow("main title collapsed") << QStringLiteral("0") << false << 0;
    QTest::newRow("main title expanded") << QStringLiteral("0") << true << 2;
    QTest::newRow("work folder collapsed") << QStringLiteral("1") << false << 4;
    QTest::newRow("work folder expanded") << QStringLiteral("1") << true << 6;
    QTest::newRow("trash empty") << QStringLiteral("2") << true << 8;
    QTest::newRow("trash with items") << QStringLiteral("2*") << false << 10;
    QTest::newRow("clip storage empty") << QStringLiteral("3") << false << 18;
    QTest::newRow("clip storage with items") << QStringLiteral("3*") << false << 20;
    QTest::newRow("level 1") << QStringLiteral("0/a") << false << 12;
    QTest::newRow("level 2") << QStringLiteral("0/a/b") << true << 14;
    QTest::newRow("level 3") << QStringLiteral("0/a/b/c") << false << 16;
    QTest::newRow("level 5") << QStringLiteral("0/a/b/c/d/e") << false << 16;
    QTest::newRow("level 1 in the trash") << QStringLiteral("2/a") << false << 12;
    QTest::newRow("other top-level item keeps its image") << QStringLiteral("extra") << false << -1;
}

void TestImageLoader::naviImageIndex()
{
    QFETCH(QString, path);
    QFETCH(bool, expanded);
    QFETCH(int, expected);

    // path: a root's number ("*" gives it a child) and child titles below it, or a new top-level title.
    TDocumentTree tree;
    tree.createRootFolders();
    QStringList parts = path.split(u'/');
    TTreeNode *node = nullptr;
    QString head = parts.takeFirst();
    const bool withChild = head.endsWith(u'*');
    head.chop(withChild ? 1 : 0);
    bool isRoot = false;
    const int root = head.toInt(&isRoot);
    node = isRoot ? tree.topLevel(root) : tree.add(nullptr, head);
    if (withChild)
        tree.addChild(node, QStringLiteral("child"));
    for (const QString &title : parts)
        node = tree.addChild(node, title);
    QCOMPARE(TOlvekImageLoader::NaviImageIndex(node, expanded), expected);
}

void TestImageLoader::rulerText_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("column");
    QTest::addColumn<QChar>("expected");

    QTest::newRow("10: column 1") << 10 << 1 << QChar(u'-');
    QTest::newRow("10: column 5") << 10 << 5 << QChar(u'+');
    QTest::newRow("10: column 10") << 10 << 10 << QChar(u'1');
    QTest::newRow("10: column 15") << 10 << 15 << QChar(u'+');
    QTest::newRow("10: column 90") << 10 << 90 << QChar(u'9');
    QTest::newRow("10: column 100") << 10 << 100 << QChar(u'0');
    QTest::newRow("10: column 110") << 10 << 110 << QChar(u'1');
    QTest::newRow("10: last column") << 10 << 3200 << QChar(u'0');
    QTest::newRow("8: column 4") << 8 << 4 << QChar(u'+');
    QTest::newRow("8: column 8") << 8 << 8 << QChar(u'|');
    QTest::newRow("8: column 9") << 8 << 9 << QChar(u'-');
    QTest::newRow("8: last column") << 8 << 2304 << QChar(u'|');
}

void TestImageLoader::rulerText()
{
    QFETCH(int, range);
    QFETCH(int, column);
    QFETCH(QChar, expected);

    const QString ruler = TOlvekImageLoader::BuildRulerText(range);
    QCOMPARE(ruler.size(), range == 10 ? 3200 : 2304);
    QCOMPARE(ruler.at(column - 1), expected);
    if (range == 10)
        QVERIFY(ruler.startsWith(QStringLiteral("----+----1----+----2----+----3")));
    else
        QVERIFY(ruler.startsWith(QStringLiteral("---+---|---+---|")));
}

QTEST_MAIN(TestImageLoader)
#include "tst_imageloader.moc"
