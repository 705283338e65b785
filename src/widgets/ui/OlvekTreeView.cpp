#include "OlvekTreeView.h"

#include "TitleDelegate.h"
#include "TreeSelectionModel.h"
#include "document/DocumentModel.h"
#include "document/DocumentTree.h"
#include "engine/TreeHistory.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <utility>
#include <vector>

TOlvekTreeView::TOlvekTreeView(QWidget *parent)
    : QTreeView(parent),
      m_tree(std::make_unique<TDocumentTree>()),
      m_model(std::make_unique<TDocumentModel>(m_tree.get())),
      m_history(std::make_unique<TTreeHistory>(
          *m_tree, TTreeHistory::Selection{[this] { return selectedNode(); },
                                           [this](TTreeNode *node) { setSelectedNode(node); }})),
      m_delegate(new TTitleDelegate(this))
{
    // The signals carry items; queued connections and signal spies need the type registered.
    qRegisterMetaType<TTreeNode *>();
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setIndentation(19);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setItemDelegate(m_delegate);
    connect(m_delegate, &TTitleDelegate::nulCharactersReplaced, this, &TOlvekTreeView::titleNulCharactersReplaced);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(DragDrop);
    setDropIndicatorShown(false);

    setModel(m_model.get());
    QItemSelectionModel *created = selectionModel();
    auto *selection = new TTreeSelectionModel(m_model.get(), this);
    setSelectionModel(selection);
    delete created;
    connect(selection, &TTreeSelectionModel::currentAboutToChange, this, &TOlvekTreeView::announceChanging);

    m_changeTimer.setSingleShot(true);
    connect(&m_changeTimer, &QTimer::timeout, this, &TOlvekTreeView::reportChange);
    m_autoScrollTimer.setInterval(AutoScrollInterval);
    connect(&m_autoScrollTimer, &QTimer::timeout, this, &TOlvekTreeView::autoScroll);

    connect(this, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        if (TTreeNode *node = m_model->nodeOf(index))
            node->setExpanded(true);
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        if (TTreeNode *node = m_model->nodeOf(index))
            node->setExpanded(false);
    });
    connect(m_model.get(), &TDocumentModel::nodeExpandedChanged, this, &TOlvekTreeView::applyNodeExpanded);
    connect(m_model.get(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_changeTimer.stop();
        forgetNodesIn(nullptr);
    });
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, [this] { syncExpandedFrom(nullptr); });
    connect(m_model.get(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    const TTreeNode *removed = m_model->nodeOf(m_model->index(row, 0, parent));
                    forgetNodesIn(removed);
                    if (selectedNode() && selectedNode()->isInSubtreeOf(removed))
                        selectInPlaceOf(parent, first, last);
                }
            });
    // An item put back by undo brings its subtree and their expanded states along.
    connect(m_model.get(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &parent, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    if (TTreeNode *inserted = m_model->nodeOf(m_model->index(row, 0, parent)))
                        syncExpandedFrom(inserted);
                }
            });
    connect(m_model.get(), &QAbstractItemModel::rowsAboutToBeMoved, this,
            [this](const QModelIndex &parent, int first) {
                m_movingNode = m_model->nodeOf(m_model->index(first, 0, parent));
            });
    connect(m_model.get(), &QAbstractItemModel::rowsMoved, this, [this] {
        if (TTreeNode *moved = std::exchange(m_movingNode, nullptr))
            syncExpandedFrom(moved);
    });
}

TOlvekTreeView::~TOlvekTreeView()
{
    // The view lets go of the model before the model and then the tree go.
    setModel(nullptr);
}

TTreeNode *TOlvekTreeView::nodeAt(const QPoint &viewportPos) const
{
    return m_model->nodeOf(indexAt(viewportPos));
}

TTreeNode *TOlvekTreeView::selectedNode() const
{
    return m_model->nodeOf(currentIndex());
}

void TOlvekTreeView::setSelectedNode(TTreeNode *node)
{
    const QModelIndex index = m_model->indexOf(node);
    if (!index.isValid()) {
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::Clear);
        return;
    }
    setCurrentIndex(index);
    scrollTo(index);
}

void TOlvekTreeView::setChangeDelay(int milliseconds)
{
    m_changeDelay = qMax(0, milliseconds);
}

void TOlvekTreeView::completePendingChange()
{
    if (!m_changeTimer.isActive())
        return;
    m_changeTimer.stop();
    reportChange();
}

TTreeNode *TOlvekTreeView::topNode() const
{
    return nodeAt(QPoint(0, 0));
}

void TOlvekTreeView::setTopNode(TTreeNode *node)
{
    while (node && !isShown(node))
        node = node->parent();
    if (node)
        scrollTo(m_model->indexOf(node), PositionAtTop);
}

void TOlvekTreeView::expandNode(TTreeNode *node, bool recursive)
{
    if (node)
        node->setExpanded(true, recursive);
}

void TOlvekTreeView::collapseNode(TTreeNode *node, bool recursive)
{
    if (node)
        node->setExpanded(false, recursive);
}

void TOlvekTreeView::beginUpdate()
{
    if (m_updateCount++ == 0)
        setUpdatesEnabled(false);
}

void TOlvekTreeView::endUpdate()
{
    Q_ASSERT(m_updateCount > 0);
    if (m_updateCount > 0 && --m_updateCount == 0)
        setUpdatesEnabled(true);
}

void TOlvekTreeView::setTitlesEditable(bool editable)
{
    m_titlesEditable = editable;
    setEditTriggers(editable ? EditKeyPressed : NoEditTriggers);
}

void TOlvekTreeView::setIconProvider(IconProvider provider)
{
    m_delegate->setIconProvider(std::move(provider));
    viewport()->update();
}

bool TOlvekTreeView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // The folder roots' titles are fixed, whatever the flag still says.
    if (!m_titlesEditable || isEditingTitle() || m_tree->isFolderRoot(m_model->nodeOf(index)))
        return false;
    if (!QTreeView::edit(index, trigger, event))
        return false;
    m_editingNode = m_model->nodeOf(index);
    Q_EMIT titleEditStarted(m_editingNode);
    return true;
}

void TOlvekTreeView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    // A move gives the same item a new index: not a change of selection.
    if (current.internalPointer() == previous.internalPointer() && current.isValid() == previous.isValid())
        return;
    if (m_changeDelay == 0) {
        m_changeTimer.stop();
        reportChange();
    } else {
        m_changeTimer.start(m_changeDelay);
    }
}

void TOlvekTreeView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && m_titlesEditable
        && currentIndex().isValid()) {
        edit(currentIndex(), EditKeyPressed, event);
        return;
    }
    if (m_letterKeys) {
        const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        struct Letter
        {
            int key;
            Qt::Key arrow;
            MoveDirection direction;
        };
        static constexpr Letter letters[] = {
            {Qt::Key_I, Qt::Key_Up, MoveDirection::Up},
            {Qt::Key_J, Qt::Key_Left, MoveDirection::Left},
            {Qt::Key_K, Qt::Key_Down, MoveDirection::Down},
            {Qt::Key_L, Qt::Key_Right, MoveDirection::Right},
        };
        for (const Letter &letter : letters) {
            if (event->key() != letter.key)
                continue;
            if (modifiers == Qt::NoModifier) {
                QKeyEvent arrow(QEvent::KeyPress, letter.arrow, Qt::NoModifier);
                QTreeView::keyPressEvent(&arrow);
                event->accept();
                return;
            }
            if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
                Q_EMIT moveKeyPressed(letter.direction);
                event->accept();
                return;
            }
        }
    }
    // Ctrl+Shift with an arrow is the key of a move command; it reaches the view only when that
    // move cannot be done, and then does nothing rather than act as the bare arrow.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)
        && (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TOlvekTreeView::mousePressEvent(QMouseEvent *event)
{
    QTreeView::mousePressEvent(event);
    Q_EMIT mousePressed();
}

void TOlvekTreeView::commitData(QWidget *editor)
{
    runCommand([this, editor] {
        {
            TTreeHistory::Step step(m_history.get(), QStringLiteral("タイトルの変更"));
            QTreeView::commitData(editor);
        }
        if (m_editingNode)
            Q_EMIT titleEdited(m_editingNode, m_editingNode->title());
    });
}

void TOlvekTreeView::commitTitleEdit()
{
    if (QWidget *editor = m_delegate->openEditor(); editor && isEditingTitle())
        commitData(editor);
}

void TOlvekTreeView::runCommand(const std::function<void()> &command)
{
    if (m_commandRunner)
        m_commandRunner(command);
    else
        command();
}

void TOlvekTreeView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeView::closeEditor(editor, hint);
    TTreeNode *node = m_editingNode;
    m_editingNode = nullptr;
    Q_EMIT titleEditEnded(node);
}

void TOlvekTreeView::announceChanging(const QModelIndex &current, const QModelIndex &next)
{
    Q_EMIT changing(m_model->nodeOf(current), m_model->nodeOf(next));
}

void TOlvekTreeView::reportChange()
{
    Q_EMIT changed(selectedNode());
}

void TOlvekTreeView::applyNodeExpanded(const QModelIndex &index, bool expanded)
{
    if (isExpanded(index) == expanded)
        return;
    // Laid out once, later, rather than per item: a recursive change may touch every item.
    scheduleDelayedItemsLayout();
    setExpanded(index, expanded);
}

void TOlvekTreeView::syncExpandedFrom(TTreeNode *subtreeRoot)
{
    std::vector<TTreeNode *> pending;
    if (subtreeRoot) {
        pending.push_back(subtreeRoot);
    } else {
        for (int i = m_tree->topLevelCount() - 1; i >= 0; --i)
            pending.push_back(m_tree->topLevel(i));
    }
    bool scheduled = false;
    while (!pending.empty()) {
        TTreeNode *node = pending.back();
        pending.pop_back();
        if (!node->hasChildren())
            continue;
        const QModelIndex index = m_model->indexOf(node);
        if (isExpanded(index) != node->isExpanded()) {
            if (!scheduled) {
                scheduleDelayedItemsLayout();
                scheduled = true;
            }
            setExpanded(index, node->isExpanded());
        }
        for (int i = node->childCount() - 1; i >= 0; --i)
            pending.push_back(node->child(i));
    }
}

void TOlvekTreeView::selectInPlaceOf(const QModelIndex &parent, int first, int last)
{
    QModelIndex replacement = m_model->index(last + 1, 0, parent);
    if (!replacement.isValid())
        replacement = first > 0 ? m_model->index(first - 1, 0, parent) : parent;
    // The item being left is going away: nothing is committed into it, so no `changing`.
    selectionModel()->QItemSelectionModel::setCurrentIndex(replacement, QItemSelectionModel::ClearAndSelect);
}

void TOlvekTreeView::forgetNodesIn(const TTreeNode *removed)
{
    const auto goes = [removed](const TTreeNode *node) {
        return node && (!removed || node->isInSubtreeOf(removed));
    };
    if (goes(m_editingNode))
        m_editingNode = nullptr;
    if (m_dropTarget && goes(m_dropTarget->node))
        setDropTarget(std::nullopt);
}

bool TOlvekTreeView::isShown(const TTreeNode *node) const
{
    for (const TTreeNode *p = node->parent(); p; p = p->parent()) {
        if (!isExpanded(m_model->indexOf(p)))
            return false;
    }
    return true;
}
