#include "IconSource.h"

#include <QPainter>
#include <QSvgRenderer>
#include <stdexcept>

namespace {
const char *const contexts[] = {"actions", "apps", "categories", "mimetypes", "places", "status", "emblems"};
}

TIconSource::TIconSource(const QString &themeDir)
    : m_dir(themeDir)
{
}

QImage TIconSource::Icon(const QString &name, int size) const
{
    const QString drawn = find(name, size);
    QImage image = drawn.isEmpty() ? QImage() : QImage(drawn);
    if (image.isNull()) {
        // Larger than any drawing of the theme: its vector form.
        QSvgRenderer svg(findScalable(name));
        if (!svg.isValid())
            throw std::runtime_error("icon not found: " + name.toStdString());
        image = QImage(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        svg.render(&p, QRectF(0, 0, size, size));
    }
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.width() != size)
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage TIconSource::WithBadge(const QImage &base, const QString &name, Qt::Corner corner, qreal fraction) const
{
    const int size = base.width();
    const int badgeSize = qRound(size * fraction);
    const QImage badge = Icon(name, badgeSize);
    const int x = (corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner) ? size - badgeSize : 0;
    const int y = (corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner) ? size - badgeSize : 0;
    QImage result = base;
    QPainter p(&result);
    p.drawImage(x, y, badge);
    return result;
}

QString TIconSource::find(const QString &name, int size) const
{
    // Prefer the theme's own drawing at this size; otherwise scale down from the next larger one.
    static const int sizes[] = {16, 22, 24, 32};
    for (int pass = 0; pass < 2; ++pass) {
        for (int available : sizes) {
            if (pass == 0 ? available != size : available < size)
                continue;
            for (const char *context : contexts) {
                const QString path = m_dir.filePath(QStringLiteral("%1x%1/%2/%3.png").arg(available).arg(QLatin1String(context), name));
                if (QFileInfo::exists(path))
                    return path;
            }
        }
    }
    return {};
}

QString TIconSource::findScalable(const QString &name) const
{
    for (const char *context : contexts) {
        const QString path = m_dir.filePath(QStringLiteral("scalable/%1/%2.svg").arg(QLatin1String(context), name));
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}
