// Drag and drop of items inside the navigator's tree.
#include "OlvekTreeView.h"

#include "TitleDelegate.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "engine/TreeHistory.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

namespace {

const QString NodeMimeType = QStringLiteral("application/x-olvek-tree-node");

QColor dropColour(TOlvekTreeView::DropMode mode)
{
    switch (mode) {
    case TOlvekTreeView::DropMode::Before: return QColor(0, 0, 255);
    case TOlvekTreeView::DropMode::After: return QColor(0, 128, 0);
    case TOlvekTreeView::DropMode::Into: return QColor(255, 0, 0);
    }
    return {};
}

} // namespace

TOlvekTreeView::DropMode TOlvekTreeView::dropModeForOffset(int yOffset, int rowHeight, bool besideAllowed)
{
    if (besideAllowed) {
        const int band = rowHeight / 4;
        if (yOffset < band)
            return DropMode::Before;
        if (yOffset >= rowHeight - band)
            return DropMode::After;
    }
    return DropMode::Into;
}

QString TOlvekTreeView::dropStatusText(DropMode mode)
{
    switch (mode) {
    case DropMode::Before: return QStringLiteral("この項目の前に移動");
    case DropMode::After: return QStringLiteral("この項目の後に移動");
    case DropMode::Into: return QStringLiteral("この項目の中に移動");
    }
    return {};
}

bool TOlvekTreeView::canDrop(const TTreeNode *dragged, const TTreeNode *target, DropMode mode) const
{
    // A top-level item (a root) never moves, and nothing goes into its own subtree.
    if (!dragged || !target || !dragged->parent() || target->isInSubtreeOf(dragged))
        return false;
    // Before and after only beside an ordinary item, so no item becomes top-level.
    if (mode != DropMode::Into)
        return target->parent() != nullptr;
    return true;
}

std::optional<TOlvekTreeView::DropTarget> TOlvekTreeView::dropTargetAt(const TTreeNode *dragged,
                                                                      const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    TTreeNode *target = m_model->nodeOf(index);
    if (!target)
        return std::nullopt;
    const QRect row = visualRect(index);
    // Top-level items are the roots: the main title allows nothing beside it, nor do the folders.
    const bool besideAllowed = target->parent() != nullptr;
    const DropMode mode = dropModeForOffset(viewportPos.y() - row.top(), row.height(), besideAllowed);
    if (!canDrop(dragged, target, mode))
        return std::nullopt;
    return DropTarget{target, mode};
}

bool TOlvekTreeView::dropNode(TTreeNode *dragged, TTreeNode *target, DropMode mode)
{
    if (!canDrop(dragged, target, mode))
        return false;
    TTreeHistory::Step step(m_history.get(), QStringLiteral("ドラッグ＆ドロップ"));
    switch (mode) {
    case DropMode::Before:
        m_tree->move(dragged, target, TDocumentTree::MoveMode::Insert);
        break;
    case DropMode::After:
        // After the target's whole subtree: before its next sibling, or last of its parent.
        if (TTreeNode *next = target->nextSibling(); next && next != dragged)
            m_tree->move(dragged, next, TDocumentTree::MoveMode::Insert);
        else if (!next)
            m_tree->move(dragged, target, TDocumentTree::MoveMode::Add);
        break;
    case DropMode::Into:
        m_tree->move(dragged, target, TDocumentTree::MoveMode::AddChild);
        break;
    }
    dragged->setExpanded(true);
    if (target == m_tree->TrashNode()) {
        target->setExpanded(false);
        setSelectedNode(target);
    } else if (mode == DropMode::Into) {
        // The dragged item stays selected: its new parent shows it.
        target->setExpanded(true);
        scrollTo(m_model->indexOf(dragged));
    }
    Q_EMIT nodeDropped(dragged);
    return true;
}

std::optional<TOlvekTreeView::DropTarget> TOlvekTreeView::currentDropTarget() const
{
    return m_dropTarget;
}

QMimeData *TOlvekTreeView::createDragData(const TTreeNode *node) const
{
    // Names the process, this view and the item's absolute index, so an item only ever drops
    // into the tree it was dragged from.
    auto *mime = new QMimeData;
    mime->setData(NodeMimeType, QByteArray::number(QCoreApplication::applicationPid()) + ':'
                                    + QByteArray::number(quintptr(this)) + ':'
                                    + QByteArray::number(node->absoluteIndex()));
    return mime;
}

TTreeNode *TOlvekTreeView::draggedNode(const QMimeData *mime) const
{
    if (!mime || !mime->hasFormat(NodeMimeType))
        return nullptr;
    const QList<QByteArray> parts = mime->data(NodeMimeType).split(':');
    if (parts.size() != 3 || parts[0].toLongLong() != QCoreApplication::applicationPid()
        || parts[1].toULongLong() != quintptr(this))
        return nullptr;
    bool ok = false;
    const int index = parts[2].toInt(&ok);
    return ok ? m_tree->nodeAt(index) : nullptr;
}

void TOlvekTreeView::startDrag(Qt::DropActions)
{
    TTreeNode *node = selectedNode();
    if (!node || !node->parent())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(createDragData(node));
    // The tree moves the item itself on the drop; whatever exec() answers changes nothing more.
    drag->exec(Qt::MoveAction);
    endDrag();
}

void TOlvekTreeView::dragEnterEvent(QDragEnterEvent *event)
{
    if (draggedNode(event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    event->ignore();
}

// Replaces the item view's own handling, so its auto-scroll never starts: the tree scrolls by
// its own timer, margins and pace.
void TOlvekTreeView::dragMoveEvent(QDragMoveEvent *event)
{
    const TTreeNode *dragged = draggedNode(event->mimeData());
    if (!dragged) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    setDropTarget(dropTargetAt(dragged, pos));
    if (m_dropTarget) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }

    const int y = pos.y();
    if (y < AutoScrollMargin || y >= viewport()->height() - AutoScrollMargin) {
        m_scrollDown = y >= AutoScrollMargin;
        if (!m_autoScrollTimer.isActive())
            m_autoScrollTimer.start();
    } else {
        m_autoScrollTimer.stop();
    }
}

void TOlvekTreeView::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_autoScrollTimer.stop();
    setDropTarget(std::nullopt);
    event->accept();
}

void TOlvekTreeView::dropEvent(QDropEvent *event)
{
    TTreeNode *dragged = draggedNode(event->mimeData());
    const std::optional<DropTarget> target =
        dragged ? dropTargetAt(dragged, event->position().toPoint()) : std::nullopt;
    endDrag();
    if (!target) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // By serial: bringing the tree up to date first may replace items.
    const quint64 draggedSerial = dragged->serial();
    const quint64 targetSerial = target->node->serial();
    const DropMode mode = target->mode;
    runCommand([this, draggedSerial, targetSerial, mode] {
        TTreeNode *draggedNow = m_tree->nodeBySerial(draggedSerial);
        TTreeNode *targetNow = m_tree->nodeBySerial(targetSerial);
        if (draggedNow && targetNow)
            dropNode(draggedNow, targetNow, mode);
    });
}

void TOlvekTreeView::setDropTarget(std::optional<DropTarget> target)
{
    const bool same = target.has_value() == m_dropTarget.has_value()
        && (!target || (target->node == m_dropTarget->node && target->mode == m_dropTarget->mode));
    if (same)
        return;
    m_dropTarget = target;
    viewport()->update();
    const QString status = target ? dropStatusText(target->mode) : QString();
    if (status != m_dropStatus) {
        m_dropStatus = status;
        Q_EMIT dropStatusChanged(status);
    }
}

void TOlvekTreeView::endDrag()
{
    m_autoScrollTimer.stop();
    setDropTarget(std::nullopt);
}

void TOlvekTreeView::autoScroll()
{
    QScrollBar *bar = verticalScrollBar();
    if (m_scrollDown) {
        if (bar->value() < bar->maximum())
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (bar->value() > bar->minimum()) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }
    viewport()->update();
}

void TOlvekTreeView::paintEvent(QPaintEvent *event)
{
    QTreeView::paintEvent(event);
    if (!m_dragHighlight || !m_dropTarget)
        return;
    const QModelIndex index = m_model->indexOf(m_dropTarget->node);
    const QRect item = visualRect(index);
    if (!item.isValid())
        return;
    const QColor colour = dropColour(m_dropTarget->mode);
    QPainter painter(viewport());
    painter.setPen(colour);
    painter.drawRect(QRect(0, item.top(), viewport()->width(), item.height()).adjusted(0, 0, -1, -1));
    const QRect text = titleRect(index);
    painter.fillRect(text, colour);
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     m_dropTarget->node->title());
}

QRect TOlvekTreeView::titleRect(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = m_model->nodeOf(index)->title();
    const QIcon icon = m_delegate->iconFor(index);
    if (!icon.isNull()) {
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.icon = icon;
    }
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    text.setWidth(qMin(text.width(), option.fontMetrics.horizontalAdvance(option.text) + 4));
    return text;
}
