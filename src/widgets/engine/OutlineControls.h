#pragma once

class QLineEdit;
class QMenu;
class QTabWidget;
class QWidget;
class TColumnRuler;
class TOlvekEditor;

// The main-window controls, besides the body editor and the tree, that the outline engine reads
// and writes. None is owned; the tests build the same set without a main window.
struct TOutlineControls
{
    QLineEdit *eTitle = nullptr;
    TColumnRuler *Ruler = nullptr;
    TOlvekEditor *Editor2 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    // Its first four entries are the fixed jumps and a separator; the history follows them.
    QMenu *pmJump = nullptr;
    QWidget *pnlEditor = nullptr;
};
