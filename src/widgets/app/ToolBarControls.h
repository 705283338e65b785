#pragma once

#include <QAbstractButton>
#include <QPointer>
#include <QToolBar>
#include <QWidget>

// The controls that follow the tool-bar size; none is owned, and any may be missing.
struct TToolBarControls
{
    QPointer<QToolBar> tbarFile;
    QPointer<QToolBar> tbarEdit;
    QPointer<QToolBar> tbarTree;
    QPointer<QToolBar> tbarTreeEdit;
    QPointer<QToolBar> tbarDisplay;
    QPointer<QWidget> cbarMain;
    QPointer<QWidget> cbarNavi;
    QPointer<QAbstractButton> sbJump;
};
