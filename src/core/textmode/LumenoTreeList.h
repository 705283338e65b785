#pragma once

#include "LumenoTreeListData.h"

#include <memory>
#include <vector>

// The headings of a dotted text in text order; position k is row k of the heading list box.
// The list owns its records.
class TLumenoTreeList
{
public:
    TLumenoTreeList() = default;
    TLumenoTreeList(const TLumenoTreeList &) = delete;
    TLumenoTreeList &operator=(const TLumenoTreeList &) = delete;
    ~TLumenoTreeList();

    // Appends a new record (level 0, empty texts and body) and returns it; the list owns it.
    TLumenoTreeListData *AddHeading();

    TLumenoTreeListData *item(int index) const { return m_records.at(size_t(index)).get(); }
    int count() const { return int(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }
    // Destroys every record, last first.
    void clear();

    // For the heading move: take a record out of the list (the caller owns it then) and put
    // it back at another position; a position past the end appends.
    std::unique_ptr<TLumenoTreeListData> take(int index);
    void insert(int index, std::unique_ptr<TLumenoTreeListData> record);

    // Every heading one level deeper, so that several top headings fit under one item.
    void ShiftLevels();
    int CountTopHeadings() const;

private:
    std::vector<std::unique_ptr<TLumenoTreeListData>> m_records;
};
