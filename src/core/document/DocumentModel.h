#pragma once

#include "TreeObserver.h"

#include <QAbstractItemModel>

class TDocumentTree;
class TTreeNode;

// The item model over a TDocumentTree: one column, the titles. The tree tells the model about
// each structural change, so views stay in step with every operation on the tree.
class TDocumentModel : public QAbstractItemModel, private TTreeObserver
{
    Q_OBJECT
public:
    // The tree is not owned and must outlive the model.
    explicit TDocumentModel(TDocumentTree *tree, QObject *parent = nullptr);
    ~TDocumentModel() override;

    TDocumentTree *tree() const { return m_tree; }
    QModelIndex indexOf(const TTreeNode *node) const;
    TTreeNode *nodeOf(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    // The tree changed an item's expanded state; a view applies it.
    void nodeExpandedChanged(const QModelIndex &index, bool expanded);

private:
    void beginInsertNodes(TTreeNode *parent, int first, int last) override;
    void endInsertNodes() override;
    void beginRemoveNodes(TTreeNode *parent, int first, int last) override;
    void endRemoveNodes() override;
    void beginMoveNode(TTreeNode *sourceParent, int sourceRow, TTreeNode *destinationParent,
                       int destinationRow) override;
    void endMoveNode() override;
    void beginResetTree() override;
    void endResetTree() override;
    void titleChanged(TTreeNode *node) override;
    void expandedChanged(TTreeNode *node, bool expanded) override;

    TDocumentTree *m_tree;
};
