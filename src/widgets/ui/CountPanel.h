#pragma once

#include <QLabel>

// The main document's count at the right end of the editor's status bar; a double-click asks
// for the document's target.
class TCountPanel : public QLabel
{
    Q_OBJECT
public:
    explicit TCountPanel(QWidget *parent = nullptr);

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
