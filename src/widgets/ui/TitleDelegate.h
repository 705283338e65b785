#pragma once

#include <QStyledItemDelegate>
#include <functional>

class TTreeNode;

// Draws the tree's items with the icons the application chooses per item, and lets F2 end an
// in-place title edit keeping the typed text.
class TTitleDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using IconProvider = std::function<QIcon(const TTreeNode *node)>;

    using QStyledItemDelegate::QStyledItemDelegate;

    void setIconProvider(IconProvider provider) { m_iconProvider = std::move(provider); }
    QIcon iconFor(const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    IconProvider m_iconProvider;
};
