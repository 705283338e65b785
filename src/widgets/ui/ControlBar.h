#pragma once

#include <QList>
#include <QWidget>

// A strip of bands (tool bars and buttons) laid out left to right on a gradient; bands that do
// not fit on a row wrap to the next one, and the strip grows by one row height for each.
class TControlBar : public QWidget
{
    Q_OBJECT
public:
    explicit TControlBar(int rowSize, QWidget *parent = nullptr);

    // The band becomes a child of the bar.
    void addBand(QWidget *band);
    int rowSize() const { return m_rowSize; }
    void setRowSize(int rowSize);
    int rowCount() const { return m_rowCount; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int placeBands(int width, bool move);

    QList<QWidget *> m_bands;
    int m_rowSize;
    int m_rowCount = 1;
};
