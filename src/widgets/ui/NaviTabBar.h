#pragma once

#include <QTabBar>

// The navigator's page tabs, each filled with its own colour, the caption drawn 5 pixels in from
// the tab's left edge and 3 pixels down from its top.
class TNaviTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit TNaviTabBar(QWidget *parent = nullptr);

    static QColor tabColor(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    QSize tabSizeHint(int index) const override;
};
