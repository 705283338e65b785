#include "NaviTabBar.h"

#include "desktop/ThemeColors.h"

#include <QPainter>

TNaviTabBar::TNaviTabBar(QWidget *parent)
    : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
}

QColor TNaviTabBar::tabColor(int index)
{
    const auto &tabs = TThemeColors::current().tabs;
    switch (index) {
    case 0:
    case 1:
    case 2:
        return tabs[size_t(index)];
    default:
        return {192, 192, 192};
    }
}

QSize TNaviTabBar::tabSizeHint(int index) const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(tabText(index)) + 14, fm.height() + 8};
}

void TNaviTabBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int i = 0; i < count(); ++i) {
        QRect r = tabRect(i);
        // The current tab stands out by reaching the page below it.
        if (i != currentIndex())
            r.adjust(0, 2, 0, 0);
        p.fillRect(r, tabColor(i));
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(TThemeColors::current().tabText);
        const QFontMetrics fm(font());
        p.drawText(r.left() + 5, r.top() + 3 + fm.ascent(), tabText(i));
    }
}
