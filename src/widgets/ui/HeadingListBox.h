#pragma once

#include <QListWidget>

// The text mode's heading list: one row per heading, several rows selectable, rows dragged
// within the list to move their sections; drags from anywhere else are refused. The list never moves its rows itself: a drop only
// names the row it fell on, and the owner rewrites the text and the rows.
class THeadingListBox : public QListWidget
{
    Q_OBJECT
public:
    static constexpr int RowHeight = 19;

    explicit THeadingListBox(QWidget *parent = nullptr);

    // Replaces every row by the texts, in order, with one redraw.
    void setRows(const QStringList &texts);
    // Moves the focus mark to row without changing the selection.
    void setFocusRow(int row);
    // The row a drop at this point names: the row under it, or the last row below the rows.
    int dropRowAt(const QPoint &viewportPos) const;

    // I and K without modifiers act as the Up and Down keys; with modifiers they do nothing.
    bool letterNavigation() const { return m_letterNavigation; }
    void setLetterNavigation(bool on) { m_letterNavigation = on; }

Q_SIGNALS:
    // Rows were dropped on row (the last row for a drop below it).
    void rowDropped(int row);
    void focusEntered();
    void focusExited();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_letterNavigation = true;
};
