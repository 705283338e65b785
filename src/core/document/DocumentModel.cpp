#include "DocumentModel.h"

#include "DocumentTree.h"

TDocumentModel::TDocumentModel(TDocumentTree *tree, QObject *parent)
    : QAbstractItemModel(parent), m_tree(tree)
{
    m_tree->setObserver(this);
}

TDocumentModel::~TDocumentModel()
{
    if (m_tree->observer() == this)
        m_tree->setObserver(nullptr);
}

QModelIndex TDocumentModel::indexOf(const TTreeNode *node) const
{
    if (!node)
        return {};
    return createIndex(node->index(), 0, const_cast<TTreeNode *>(node));
}

TTreeNode *TDocumentModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TTreeNode *>(index.internalPointer()) : nullptr;
}

QModelIndex TDocumentModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0)
        return {};
    TTreeNode *node = m_tree->childAt(nodeOf(parent), row);
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex TDocumentModel::parent(const QModelIndex &child) const
{
    const TTreeNode *node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int TDocumentModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return m_tree->childCount(nodeOf(parent));
}

int TDocumentModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool TDocumentModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant TDocumentModel::data(const QModelIndex &index, int role) const
{
    const TTreeNode *node = nodeOf(index);
    if (!node)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return node->title();
    return {};
}

bool TDocumentModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TTreeNode *node = nodeOf(index);
    if (!node || role != Qt::EditRole)
        return false;
    node->setTitle(value.toString());
    return true;
}

Qt::ItemFlags TDocumentModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
        | Qt::ItemIsDropEnabled;
}

void TDocumentModel::beginInsertNodes(TTreeNode *parent, int first, int last)
{
    beginInsertRows(indexOf(parent), first, last);
}

void TDocumentModel::endInsertNodes()
{
    endInsertRows();
}

void TDocumentModel::beginRemoveNodes(TTreeNode *parent, int first, int last)
{
    beginRemoveRows(indexOf(parent), first, last);
}

void TDocumentModel::endRemoveNodes()
{
    endRemoveRows();
}

void TDocumentModel::beginMoveNode(TTreeNode *sourceParent, int sourceRow, TTreeNode *destinationParent,
                                   int destinationRow)
{
    beginMoveRows(indexOf(sourceParent), sourceRow, sourceRow, indexOf(destinationParent), destinationRow);
}

void TDocumentModel::endMoveNode()
{
    endMoveRows();
}

void TDocumentModel::beginResetTree()
{
    beginResetModel();
}

void TDocumentModel::endResetTree()
{
    endResetModel();
}

void TDocumentModel::titleChanged(TTreeNode *node)
{
    const QModelIndex index = indexOf(node);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
}

void TDocumentModel::expandedChanged(TTreeNode *node, bool expanded)
{
    Q_EMIT nodeExpandedChanged(indexOf(node), expanded);
}
