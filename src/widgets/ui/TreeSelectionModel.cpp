#include "TreeSelectionModel.h"

void TTreeSelectionModel::setCurrentIndex(const QModelIndex &index, QItemSelectionModel::SelectionFlags command)
{
    if (index == currentIndex()) {
        QItemSelectionModel::setCurrentIndex(index, command);
        return;
    }
    // Whoever hears of the change may rebuild part of the tree (the text mode writes the item
    // being left back into its subtree), so the target is held as a persistent index.
    const QPersistentModelIndex target(index);
    Q_EMIT currentAboutToChange(currentIndex(), index);
    if (index.isValid() && !target.isValid())
        return; // the item to be reached went away meanwhile: the selection stays as it is now
    QItemSelectionModel::setCurrentIndex(target, command);
}
