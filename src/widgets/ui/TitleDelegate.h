#pragma once

#include <QStyledItemDelegate>
#include <functional>

class TNulValidator;
class TTreeNode;

// Draws the tree's items with the icons the application chooses per item, and lets F2 end an
// in-place title edit keeping the typed text. Its title editors take no NUL character.
class TTitleDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using IconProvider = std::function<QIcon(const TTreeNode *node)>;

    explicit TTitleDelegate(QObject *parent = nullptr);

    void setIconProvider(IconProvider provider) { m_iconProvider = std::move(provider); }
    QIcon iconFor(const QModelIndex &index) const;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

Q_SIGNALS:
    // A title editor got NUL characters (a paste), which went in as U+FFFD.
    void nulCharactersReplaced(qsizetype count);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    IconProvider m_iconProvider;
    TNulValidator *m_validator; // a child of the delegate, shared by its editors
};
