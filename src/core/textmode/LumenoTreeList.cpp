#include "LumenoTreeList.h"

#include <algorithm>

TLumenoTreeList::~TLumenoTreeList()
{
    clear();
}

TLumenoTreeListData *TLumenoTreeList::AddHeading()
{
    m_records.push_back(std::make_unique<TLumenoTreeListData>());
    return m_records.back().get();
}

void TLumenoTreeList::clear()
{
    while (!m_records.empty())
        m_records.pop_back();
}

std::unique_ptr<TLumenoTreeListData> TLumenoTreeList::take(int index)
{
    auto record = std::move(m_records.at(size_t(index)));
    m_records.erase(m_records.begin() + index);
    return record;
}

void TLumenoTreeList::insert(int index, std::unique_ptr<TLumenoTreeListData> record)
{
    m_records.insert(m_records.begin() + std::clamp(index, 0, count()), std::move(record));
}

void TLumenoTreeList::ShiftLevels()
{
    for (const auto &record : m_records)
        record->setLevel(record->Level() + 1);
}

int TLumenoTreeList::CountTopHeadings() const
{
    return int(std::count_if(m_records.begin(), m_records.end(),
                             [](const auto &record) { return record->Level() == 0; }));
}
