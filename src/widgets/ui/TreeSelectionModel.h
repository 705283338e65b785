#pragma once

#include <QItemSelectionModel>

// A selection model that announces a change of the current item before it happens, while the
// item being left is still current. A change to an item that the announcement removed is
// dropped.
class TTreeSelectionModel : public QItemSelectionModel
{
    Q_OBJECT
public:
    using QItemSelectionModel::QItemSelectionModel;

    void setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command) override;

Q_SIGNALS:
    void currentAboutToChange(const QModelIndex &current, const QModelIndex &next);
};
