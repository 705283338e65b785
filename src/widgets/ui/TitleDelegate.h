#pragma once

#include <QPointer>
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
    // The in-place title editor while one is open, else null.
    QWidget *openEditor() const { return m_openEditor; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    IconProvider m_iconProvider;
    mutable QPointer<QWidget> m_openEditor;
};
