#pragma once

#include <QPointer>
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
    // The in-place title editor while one is open, else null.
    QWidget *openEditor() const { return m_openEditor; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

Q_SIGNALS:
    // A title editor got NUL characters (a paste), which went in as U+FFFD.
    void nulCharactersReplaced(qsizetype count);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    IconProvider m_iconProvider;
    mutable QPointer<QWidget> m_openEditor;
    TNulValidator *m_validator; // a child of the delegate, shared by its editors
};
