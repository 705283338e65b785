// olvek-contactsheet IMAGE.bmp OUTPUT.png
// Cuts the image file as the program does and lays every picture out on one sheet, on a light
// and (below) on a coloured background so that the transparent parts show, enlarged twice.

#include "app/ImageLoader.h"

#include <QApplication>
#include <QPainter>
#include <iostream>

using namespace ImageLayout;

namespace {

QImage sheet(const TOlvekImageLoader &loader, const QColor &background)
{
    // Sixteen pictures to a row; each list starts on a new row.
    const int cell = 28;
    const int perRow = 16;
    QImage image(cell * perRow + 8, cell * 14 + 8, QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    int row = 0;
    auto rows = [&](const QList<QPixmap> &pixmaps) {
        for (int i = 0; i < pixmaps.size(); ++i)
            p.drawPixmap(4 + cell * (i % perRow), 4 + cell * (row + i / perRow), pixmaps[i]);
        row += (int(pixmaps.size()) + perRow - 1) / perRow;
    };
    rows(loader.LargeImages());
    rows(loader.LargeDisabledImages());
    rows(loader.SmallImages());
    rows(loader.SmallDisabledImages());
    rows(loader.NaviImages());
    QList<QPixmap> singles;
    for (int i = 0; i < PictureCount; ++i)
        singles << loader.Picture(TPicture(i));
    rows(singles);
    p.translate(4, 4 + cell * row);
    loader.PaintTitleBar(p, TOlvekImageLoader::TTitleBar::Navigator, 200);
    p.translate(0, cell);
    loader.PaintTitleBar(p, TOlvekImageLoader::TTitleBar::Editor, 203);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: olvek-contactsheet IMAGE.bmp OUTPUT.png\n";
        return 2;
    }
    try {
        const TOlvekImageLoader loader(QString::fromLocal8Bit(argv[1]));
        const QImage light = sheet(loader, QColor(0xef, 0xef, 0xef));
        const QImage coloured = sheet(loader, QColor(0x9f, 0xc0, 0xe8));
        QImage both(light.width(), light.height() * 2, QImage::Format_RGB32);
        QPainter p(&both);
        p.drawImage(0, 0, light);
        p.drawImage(0, light.height(), coloured);
        p.end();
        if (!both.scaled(both.size() * 2).save(QString::fromLocal8Bit(argv[2])))
            return 1;
    } catch (const std::exception &e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
