#pragma once

#include <QPicture>
#include <QWidget>

// The white paper of the preview: shows one page picture stretched into the printable area.
class TPreviewPagePanel : public QWidget
{
    Q_OBJECT
public:
    explicit TPreviewPagePanel(QWidget *parent = nullptr);

    // pictureRect: where the picture goes inside the panel, in the panel's pixels; pictureSize:
    // the picture's own size, stretched to fill pictureRect.
    void setPage(const QPicture &picture, const QRect &pictureRect, const QSize &pictureSize);
    void clearPage();
    bool hasPage() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPicture m_picture;
    QRect m_pictureRect;
    QSize m_pictureSize;
};
