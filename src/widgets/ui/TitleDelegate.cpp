#include "TitleDelegate.h"

#include "NulValidator.h"
#include "document/DocumentModel.h"

#include <QKeyEvent>
#include <QLineEdit>

TTitleDelegate::TTitleDelegate(QObject *parent) : QStyledItemDelegate(parent), m_validator(new TNulValidator(this))
{
    connect(m_validator, &TNulValidator::nulCharactersReplaced, this, &TTitleDelegate::nulCharactersReplaced);
}

QIcon TTitleDelegate::iconFor(const QModelIndex &index) const
{
    if (!m_iconProvider)
        return {};
    const auto *model = qobject_cast<const TDocumentModel *>(index.model());
    const TTreeNode *node = model ? model->nodeOf(index) : nullptr;
    return node ? m_iconProvider(node) : QIcon();
}

QWidget *TTitleDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    m_openEditor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(m_openEditor.data()))
        line->setValidator(m_validator);
    return m_openEditor;
}

void TTitleDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_openEditor)
        m_openEditor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void TTitleDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QIcon icon = iconFor(index);
    if (!icon.isNull()) {
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = icon;
    }
}

bool TTitleDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2) {
        if (auto *editor = qobject_cast<QWidget *>(object)) {
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
