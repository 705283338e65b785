#include "HeadingListBox.h"

#include <QDropEvent>
#include <QKeyEvent>

THeadingListBox::THeadingListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A drag ending as a move would let the view delete the dragged rows itself.
    setDefaultDropAction(Qt::CopyAction);
}

void THeadingListBox::setRows(const QStringList &texts)
{
    setUpdatesEnabled(false);
    clear();
    for (const QString &text : texts) {
        auto *row = new QListWidgetItem(text);
        row->setSizeHint(QSize(0, RowHeight));
        row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
        addItem(row);
    }
    setUpdatesEnabled(true);
}

void THeadingListBox::setFocusRow(int row)
{
    if (row >= 0 && row < count())
        selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
}

// Only rows dragged within the list move sections: text dragged from the editor (or from another
// program) is no heading and is refused.
void THeadingListBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void THeadingListBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    QListWidget::dragMoveEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void THeadingListBox::dropEvent(QDropEvent *event)
{
    if (event->source() != this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (count() == 0)
        return;
    Q_EMIT rowDropped(dropRowAt(event->position().toPoint()));
}

int THeadingListBox::dropRowAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : count() - 1;
}

void THeadingListBox::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    Q_EMIT focusEntered();
}

void THeadingListBox::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    Q_EMIT focusExited();
}

void THeadingListBox::keyPressEvent(QKeyEvent *event)
{
    if (m_letterNavigation && (event->key() == Qt::Key_I || event->key() == Qt::Key_K)) {
        if (event->modifiers() == Qt::NoModifier) {
            QKeyEvent arrow(QEvent::KeyPress, event->key() == Qt::Key_I ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
            QListWidget::keyPressEvent(&arrow);
        }
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}
