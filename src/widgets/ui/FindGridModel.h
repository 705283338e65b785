#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class TDocumentTree;
class TFindRecordList;

// The find dialog's grid over the hit list: one row per hit ("発見数", "項目名", "位置", "詳細"),
// and one empty row when there is none. Titles are those the items have when the grid is filled.
// Rows are produced as the view asks for them, so a hundred thousand hits cost no widgets.
class TFindGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { CountColumn, TitleColumn, PositionColumn, DetailColumn, ColumnCount };

    explicit TFindGridModel(QObject *parent = nullptr);

    // Shows hits, with the titles of tree's items now. Neither is owned; hits must outlive the
    // model or be refilled before it changes.
    void fill(const TFindRecordList *hits, const TDocumentTree *tree);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TFindRecordList *m_hits = nullptr;
    QStringList m_titles;
};
