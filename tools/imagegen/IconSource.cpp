#include "IconSource.h"

#include <QPainter>
#include <stdexcept>

TIconSource::TIconSource(const QString &themeDir)
    : m_dir(themeDir)
{
}

QImage TIconSource::Icon(const QString &name, int size) const
{
    QImage image(find(name, size));
    if (image.isNull())
        throw std::runtime_error("icon not found: " + name.toStdString());
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
    static const char *const contexts[] = {"actions", "apps", "categories", "mimetypes", "places", "status", "emblems"};
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
