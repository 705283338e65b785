#include "PageStampOverlay.h"

#include "vertical/VerticalInline.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

bool TPageStampOverlay::write(const QString &path, QSizeF pageSize, const QList<TPageMarks> &marks,
                              const QString &fontFamily, bool kanjiNumbers, double bottomMarginPt, double leftMarginPt)
{
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(pageSize, QPageSize::Point), QPageLayout::Portrait, QMarginsF(),
                                     QPageLayout::Point));
    writer.setResolution(72); // a device unit is a point
    writer.setCreator(QStringLiteral("OLVEK"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    QFont font(fontFamily);
    font.setPixelSize(8);
    painter.setFont(font);
    const double step = QFontMetricsF(font).height() * 0.95;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        if (i > 0 && !writer.newPage())
            return false;
        if (!marks[i].numbered)
            continue;
        const int number = int(i) + 1;
        painter.drawText(QRectF(0, pageSize.height() - bottomMarginPt / 2 - 6, pageSize.width(), 12), Qt::AlignCenter,
                         TVerticalInline::pageNumber(number, kanjiNumbers));
        if (number % 2 == 0 && !marks[i].head.isEmpty()) {
            double y = 0.6 * bottomMarginPt + 4;
            for (const QChar c : marks[i].head) {
                if (y + step > pageSize.height() / 2)
                    break;
                painter.drawText(QRectF(leftMarginPt / 2 - 5, y, 10, step), Qt::AlignCenter, QString(c));
                y += step;
            }
        }
    }
    return painter.end();
}
