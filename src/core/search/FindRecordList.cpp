#include "FindRecordList.h"

#include <QtGlobal>

void TFindRecordList::clear()
{
    // Freed, not only emptied: a search of a large document may have left millions of records.
    std::vector<TFindRecord>().swap(m_records);
}

void TFindRecordList::setCurrentRow(int row)
{
    m_currentRow = qBound(1, row, lastRow());
}

const TFindRecord *TFindRecordList::current() const
{
    return m_records.empty() ? nullptr : &m_records[size_t(m_currentRow - 1)];
}
