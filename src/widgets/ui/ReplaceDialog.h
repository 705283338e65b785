#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The modeless find/replace dialog: the text to find, its replacement, and the buttons find next,
// replace, replace all, cancel and help. The search is always forward and exact, so it offers no
// options. It only asks; the find commands act on its signals.
class TReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TReplaceDialog(QWidget *parent = nullptr);

    QString findText() const;
    QString replaceText() const;

    QLineEdit *eFindText;
    QLineEdit *eReplaceText;
    QPushButton *btnFindNext;
    QPushButton *btnReplace;
    QPushButton *btnReplaceAll;
    QPushButton *btnCancel;
    QPushButton *btnHelp;

Q_SIGNALS:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();
    void helpRequested();
    void shown();
    void hidden();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
