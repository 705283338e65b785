#pragma once

#include <QPixmap>
#include <QWidget>

// The thin title bar over a pane, painted from a left cap, a repeated tile and a right cap.
// Until the pictures are set it draws a plain gradient with its caption.
class TPaneTitleBar : public QWidget
{
    Q_OBJECT
public:
    explicit TPaneTitleBar(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setPictures(const QPixmap &leftCap, const QPixmap &tile, const QPixmap &rightCap);

Q_SIGNALS:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_caption;
    QPixmap m_leftCap;
    QPixmap m_tile;
    QPixmap m_rightCap;
};
