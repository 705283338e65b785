#pragma once

#include "FindRecord.h"

#include <vector>

// The hits of the last search, in the order they were found (tree order, then position), with
// the grid row the user is at. Owned by the data module: it outlives the find dialog's showing and
// hiding, and is emptied by every search and whenever the document is replaced. Positions stay as
// found when the document is edited afterwards.
//
// Rows count as in the grid, from 1 (row 0 is its header): row r shows hit r, and with no hits
// the grid still has one (empty) row.
class TFindRecordList
{
public:
    const std::vector<TFindRecord> &records() const { return m_records; }
    std::vector<TFindRecord> &records() { return m_records; }
    int count() const { return int(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }
    const TFindRecord &at(int index) const { return m_records[size_t(index)]; }

    // Empties the list; the row stays where it is until the grid is filled again.
    void clear();

    int currentRow() const { return m_currentRow; }
    // The grid's last row: the number of hits, and 1 with none.
    int lastRow() const { return m_records.empty() ? 1 : count(); }
    // Brought into the rows from 1 to the last.
    void setCurrentRow(int row);
    // After a search: the row is kept, limited to the grid's new last row.
    void keepRowInGrid() { setCurrentRow(m_currentRow); }

    // What the commands "next hit" and "previous hit" may do now.
    bool canStepNext() const { return !m_records.empty() && m_currentRow < lastRow(); }
    bool canStepPrevious() const { return !m_records.empty() && m_currentRow > 1; }
    // The hit of the current row, or null with no hits.
    const TFindRecord *current() const;

private:
    std::vector<TFindRecord> m_records;
    int m_currentRow = 1;
};
