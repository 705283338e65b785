#include "FindGridModel.h"

#include "document/DocumentTree.h"
#include "search/FindRecordList.h"

TFindGridModel::TFindGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void TFindGridModel::fill(const TFindRecordList *hits, const TDocumentTree *tree)
{
    beginResetModel();
    m_hits = hits;
    m_titles.clear();
    if (hits && tree) {
        m_titles.reserve(hits->count());
        for (const TFindRecord &hit : hits->records()) {
            const TTreeNode *node = tree->nodeAt(hit.ItemIndex);
            m_titles.append(node ? node->title() : QString());
        }
    }
    endResetModel();
}

int TFindGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    // The rows of the last fill: the list may be emptied before the grid is filled again.
    return qMax(1, int(m_titles.size()));
}

int TFindGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TFindGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !m_hits || index.row() >= m_titles.size() || index.row() >= m_hits->count())
        return {};
    const TFindRecord &hit = m_hits->at(index.row());
    switch (index.column()) {
    case CountColumn:
        return index.row() + 1;
    case TitleColumn:
        return m_titles[index.row()];
    case PositionColumn:
        return hit.Position;
    case DetailColumn: {
        // A cell holds one line: a line break shows as a mark, as it does in the editor.
        QString shown = hit.Detail;
        shown.replace(QLatin1String("\r\n"), QStringLiteral("↵")).replace(u'\r', u'↵').replace(u'\n', u'↵');
        return shown;
    }
    default:
        return {};
    }
}

QVariant TFindGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const headers[] = {"発見数", "項目名", "位置", "詳細"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(headers[section]) : QVariant();
}
