#include "TreeSelectionModel.h"

void TTreeSelectionModel::setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command)
{
    if (index != currentIndex())
        Q_EMIT currentAboutToChange(currentIndex(), index);
    QItemSelectionModel::setCurrentIndex(index, command);
}
