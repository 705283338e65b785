#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TFindGridModel;
class TStatusPanels;

// The find dialog: a search string with its history, the case option, the grid of hits and the
// buttons to search and to step through the hits. It only shows and asks; the find commands
// (TFindCommands) do the work on its signals. Created once at start-up and kept until the end;
// showing and hiding keep its grid, its row and its check box.
class TFindForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFindForm(QWidget *parent = nullptr);

    QString searchText() const;
    bool caseSensitive() const;
    // The drop-down list of the search box; the box keeps text.
    void setHistory(const QStringList &entries, const QString &text);
    void setStatus(const QString &text);
    QString status() const;
    TFindGridModel *gridModel() const { return m_model; }
    // The grid's current row, from 1.
    int currentRow() const;
    void setCurrentRow(int row);
    void focusSearchBox();
    void focusGrid();

    QLabel *Label1;
    QComboBox *cbFindString;
    QCheckBox *ckbCheckUpperOrLower;
    QPushButton *btnFind;
    QPushButton *btnFindPrev;
    QPushButton *btnFindNext;
    QPushButton *btnClose;
    QPushButton *btnHelp;
    QTableView *StringGrid1;
    TStatusPanels *StatusBar1;

Q_SIGNALS:
    void searchRequested();
    void jumpRequested();
    void nextRequested();
    void previousRequested();
    void helpRequested();
    // The user moved the grid's current row (mouse or keys).
    void currentRowChanged(int row);
    // The focus left the search box.
    void searchBoxLeft(const QString &text);
    void shown();
    void hidden();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    TFindGridModel *m_model;
    bool m_settingRow = false;
};
