#pragma once

#include <QDialog>

class QFrame;
class QHBoxLayout;
class QPushButton;

// The plain OK/Cancel dialog form that other dialogs are built on: a framed panel for their
// controls above an "OK" (default) and a "キャンセル" (cancel) button.
class TOKBottomDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TOKBottomDlg(QWidget *parent = nullptr);

    // The framed panel; a derived dialog gives it its controls' layout.
    QFrame *Bevel1 = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    // The row of the buttons, for a derived dialog's own buttons after these.
    QHBoxLayout *buttonRow() const { return m_buttons; }

private:
    QHBoxLayout *m_buttons = nullptr;
};
