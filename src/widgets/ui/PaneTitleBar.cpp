#include "PaneTitleBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int CapWidth = 6;
constexpr int BarHeight = 12;
} // namespace

TPaneTitleBar::TPaneTitleBar(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    setFixedHeight(BarHeight);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TPaneTitleBar::setPictures(const QPixmap &leftCap, const QPixmap &tile, const QPixmap &rightCap)
{
    m_leftCap = leftCap;
    m_tile = tile;
    m_rightCap = rightCap;
    update();
}

void TPaneTitleBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_tile.isNull()) {
        p.drawPixmap(0, 0, m_leftCap);
        for (int x = CapWidth; x < width(); x += CapWidth)
            p.drawPixmap(x, 0, m_tile);
        p.drawPixmap(width() - CapWidth, 0, m_rightCap);
        return;
    }
    QLinearGradient g(0, 0, 0, height());
    const QColor base = palette().color(QPalette::Highlight);
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(1, base);
    p.fillRect(rect(), g);
    QFont f = font();
    f.setPixelSize(height() - 2);
    p.setFont(f);
    p.setPen(palette().color(QPalette::HighlightedText));
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

void TPaneTitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}
