#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find/replace dialog: the text to find, its replacement, and the buttons find next,
// replace, replace all, cancel and help. The search is always forward and exact; its one choice
// is where it reaches: from the caret on (「カーソル位置から」, the first choice) or the whole
// document (「文書全体」). It only asks; the find commands act on its signals.
class TReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TReplaceDialog(QWidget *parent = nullptr);

    QString findText() const;
    QString replaceText() const;
    bool wholeDocument() const;
    // The text to find, selected so that typing replaces it.
    void setFindText(const QString &text);

    QLineEdit *eFindText;
    QLineEdit *eReplaceText;
    QPushButton *btnFindNext;
    QPushButton *btnReplace;
    QPushButton *btnReplaceAll;
    QPushButton *btnCancel;
    QPushButton *btnHelp;
    QRadioButton *rbFromCaret;
    QRadioButton *rbWholeDocument;

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
