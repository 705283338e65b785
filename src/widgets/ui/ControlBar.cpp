#include "ControlBar.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QToolBar>

#include <algorithm>

namespace {
// Room between bands and around the edges, as the grips of a control bar leave it.
constexpr int BandGap = 4;

// The width a band asks for: the one it was fixed to, or its size hint.
int preferredWidth(const QWidget *band)
{
    return band->maximumWidth() < QWIDGETSIZE_MAX ? band->maximumWidth() : band->sizeHint().width();
}

// The least width a band can do with: a tool bar moves the buttons it has no room for into its
// extension menu; other bands keep their fixed or minimum width.
int leastWidth(const QWidget *band)
{
    if (qobject_cast<const QToolBar *>(band))
        return std::min(band->minimumSizeHint().width(), preferredWidth(band));
    return std::max(band->minimumSizeHint().width(), band->minimumWidth());
}
} // namespace

TControlBar::TControlBar(int rowSize, QWidget *parent)
    : QWidget(parent)
    , m_rowSize(rowSize)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(rowSize);
}

void TControlBar::addBand(QWidget *band)
{
    band->setParent(this);
    band->installEventFilter(this);
    m_bands.append(band);
    updateGeometry();
}

void TControlBar::setRowSize(int rowSize)
{
    m_rowSize = rowSize;
    updateGeometry();
    placeBands(width(), true);
}

QSize TControlBar::sizeHint() const
{
    int w = BandGap;
    for (QWidget *band : m_bands) {
        if (!band->isHidden())
            w += preferredWidth(band) + BandGap;
    }
    return {w, m_rowSize};
}

QSize TControlBar::minimumSizeHint() const
{
    // As narrow as its widest band can become.
    int widest = 0;
    for (QWidget *band : m_bands) {
        if (!band->isHidden())
            widest = std::max(widest, leastWidth(band));
    }
    return {widest + 2 * BandGap, heightForWidth(width())};
}

int TControlBar::heightForWidth(int width) const
{
    return const_cast<TControlBar *>(this)->placeBands(width, false) * m_rowSize;
}

bool TControlBar::event(QEvent *event)
{
    // A band shown, hidden or resized changes how many rows are needed.
    if (event->type() == QEvent::LayoutRequest) {
        placeBands(width(), true);
        updateGeometry();
    }
    return QWidget::event(event);
}

bool TControlBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        placeBands(width(), true);
    return QWidget::eventFilter(watched, event);
}

void TControlBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    const QColor face = palette().color(QPalette::Button);
    g.setColorAt(0, face.lighter(112));
    g.setColorAt(1, face.darker(108));
    p.fillRect(rect(), g);
    p.setPen(palette().color(QPalette::Mid));
    for (int row = 1; row <= m_rowCount; ++row)
        p.drawLine(0, row * m_rowSize - 1, width(), row * m_rowSize - 1);
}

void TControlBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeBands(width(), true);
}

int TControlBar::placeBands(int width, bool move)
{
    int x = BandGap;
    int row = 0;
    for (QWidget *band : m_bands) {
        if (band->isHidden())
            continue;
        // A band wider than a whole row gets the row, or as little as it can do with.
        const int bandWidth = std::min(preferredWidth(band), std::max(leastWidth(band), width - 2 * BandGap));
        const QSize size(bandWidth, std::min(band->sizeHint().height(), m_rowSize));
        if (x > BandGap && x + size.width() > width) {
            ++row;
            x = BandGap;
        }
        if (move && band->minimumWidth() > size.width())
            band->setMinimumWidth(size.width());
        if (move)
            band->setGeometry(x, row * m_rowSize + (m_rowSize - size.height()) / 2, size.width(),
                              size.height());
        x += size.width() + BandGap;
    }
    if (move && (row + 1 != m_rowCount || height() != m_rowCount * m_rowSize)) {
        m_rowCount = row + 1;
        setFixedHeight(m_rowCount * m_rowSize);
    }
    return row + 1;
}
