#include "Flatten.h"

namespace Flatten {

QImage OnKey(const QImage &picture, QRgb key, QRgb face)
{
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = src.pixel(x, y);
            const int a = qAlpha(c);
            if (a < 128) {
                out.setPixel(x, y, key);
                continue;
            }
            auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a)) / 255; };
            QRgb v = qRgb(mix(qRed(c), qRed(face)), mix(qGreen(c), qGreen(face)), mix(qBlue(c), qBlue(face)));
            if ((v & 0xffffff) == (key & 0xffffff))
                v = qRgb(qMax(qRed(v) - 1, 0), qMax(qGreen(v) - 1, 0), qMax(qBlue(v) - 1, 0));
            out.setPixel(x, y, v);
        }
    }
    out.setPixel(0, out.height() - 1, key);
    return out;
}

QImage Disabled(const QImage &flat, QRgb key)
{
    QImage out = flat;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = out.pixel(x, y);
            if ((c & 0xffffff) == (key & 0xffffff))
                continue;
            // Grey by luminance, lifted towards the face so the picture reads as inactive.
            const int grey = qGray(c);
            const int v = 120 + grey * 110 / 255;
            out.setPixel(x, y, qRgb(v, v, v));
        }
    }
    return out;
}

} // namespace Flatten
