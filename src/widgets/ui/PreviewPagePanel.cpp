#include "PreviewPagePanel.h"

#include <QPainter>

TPreviewPagePanel::TPreviewPagePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlPage"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void TPreviewPagePanel::setPage(const QPicture &picture, const QRect &pictureRect, const QSize &pictureSize)
{
    m_picture = picture;
    m_pictureRect = pictureRect;
    m_pictureSize = pictureSize;
    update();
}

void TPreviewPagePanel::clearPage()
{
    m_picture = QPicture();
    update();
}

void TPreviewPagePanel::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull() || m_pictureSize.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(m_pictureRect.topLeft());
    painter.scale(double(m_pictureRect.width()) / m_pictureSize.width(),
                  double(m_pictureRect.height()) / m_pictureSize.height());
    painter.drawPicture(0, 0, m_picture);
}
