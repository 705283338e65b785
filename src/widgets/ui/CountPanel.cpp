#include "CountPanel.h"

#include <QMouseEvent>

TCountPanel::TCountPanel(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("pnlDocumentCount"));
    setToolTip(QStringLiteral("文書全体の文字数と原稿用紙の枚数 (ダブルクリックで目標を設定)"));
    setContentsMargins(6, 0, 6, 0);
}

void TCountPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}
