#pragma once

#include <QTableWidget>

class TTreeCount;

// The document information page: a header row naming the two columns, then the main title,
// the file name and the number of items, and while counts are given the characters, lines,
// items with a body and manuscript pages of the main document, in two columns that share the
// grid's width.
// It never shows a selection.
class TDocInfoGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit TDocInfoGrid(QWidget *parent = nullptr);

    void setInformation(const QString &mainTitle, const QString &fileName, int itemCount);
    // Null takes the count rows away.
    void setCounts(const TTreeCount *counts);
    // Column 0 keeps the user's width within 30 pixels of either edge; column 1 takes the rest.
    void fitColumns();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_fitting = false;
};
