#include "DocInfoGrid.h"

#include "document/TreeCount.h"

#include <QHeaderView>
#include <QResizeEvent>

#include <algorithm>

namespace {
constexpr int RowHeight = 20;
// The rows shown whether or not counts are given.
constexpr int InformationRows = 3;
} // namespace

TDocInfoGrid::TDocInfoGrid(QWidget *parent)
    : QTableWidget(3, 2, parent)
{
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    // The fixed top row of the grid, which stays empty.
    horizontalHeader()->setFixedHeight(RowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    // Column 1 gets whatever column 0 leaves, however little.
    horizontalHeader()->setMinimumSectionSize(0);
    setHorizontalHeaderLabels({QStringLiteral("情報"), QStringLiteral("内容")});
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);

    const QString labels[] = {QStringLiteral("メインタイトル"), QStringLiteral("ファイル名"),
                              QStringLiteral("項目数")};
    for (int row = 0; row < 3; ++row) {
        setItem(row, 0, new QTableWidgetItem(labels[row]));
        setItem(row, 1, new QTableWidgetItem);
    }
    // Column 0 starts wide enough for its labels in the font in use, grid line included.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int labelWidth = 0;
    for (int row = 0; row < 3; ++row)
        labelWidth = std::max(labelWidth, itemDelegate()->sizeHint(option, model()->index(row, 0)).width() + 1);
    setColumnWidth(0, std::max(113, labelWidth));
    setColumnWidth(1, 147);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section) {
                if (section == 0)
                    fitColumns();
            });
}

void TDocInfoGrid::setInformation(const QString &mainTitle, const QString &fileName, int itemCount)
{
    item(0, 1)->setText(mainTitle);
    item(1, 1)->setText(fileName);
    item(2, 1)->setText(QString::number(itemCount));
}

void TDocInfoGrid::setCounts(const TTreeCount *counts)
{
    if (!counts) {
        setRowCount(InformationRows);
        return;
    }
    const QString labels[] = {QStringLiteral("文字数"), QStringLiteral("行数"), QStringLiteral("本文の項目数"),
                              QStringLiteral("原稿用紙 (20×20)")};
    const QString values[] = {QString::number(counts->text.characters), QString::number(counts->text.lines),
                              QString::number(counts->bodies),
                              QStringLiteral("%1枚 (%2行)").arg(counts->text.pages()).arg(counts->text.rows)};
    setRowCount(InformationRows + 4);
    for (int i = 0; i < 4; ++i) {
        setItem(InformationRows + i, 0, new QTableWidgetItem(labels[i]));
        setItem(InformationRows + i, 1, new QTableWidgetItem(values[i]));
    }
}

void TDocInfoGrid::fitColumns()
{
    // Setting the widths resizes the sections again.
    if (m_fitting)
        return;
    m_fitting = true;
    const int w = viewport()->width();
    const int first = std::max(30, std::min(columnWidth(0), w - 30));
    setColumnWidth(0, first);
    setColumnWidth(1, std::max(0, w - first - 5));
    m_fitting = false;
}

void TDocInfoGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    fitColumns();
}

void TDocInfoGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    fitColumns();
}
