#pragma once

#include "document/NodeData.h"

#include <QString>

// One heading of a dotted text: what the heading list shows for it and what the tree/text bridge
// turns into an item. The record owns its body; a parse creates all records afresh, so a record
// is valid only until the next parse of the list that holds it.
class TLumenoTreeListData
{
public:
    TLumenoTreeListData() = default;
    TLumenoTreeListData(const TLumenoTreeListData &) = delete;
    TLumenoTreeListData &operator=(const TLumenoTreeListData &) = delete;

    // 0 is the item the text was made from, 1 its children, and so on.
    qint32 Level() const { return m_level; }
    void setLevel(qint32 level) { m_level = level; }

    // The heading line after its dot run, every tab replaced by one space.
    const QString &Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // The heading list's row: two spaces per level from 0 to Level, the number ("1.2."), Title.
    const QString &ListText() const { return m_listText; }
    void setListText(const QString &listText) { m_listText = listText; }

    // The lines after the heading line up to the next heading; only Lines is used.
    TNodeData Body;
    // 0-based index of the heading line in the text the parse produced.
    qint32 LineIndex = 0;
    // Scratch flags of the heading move; meaningless outside it.
    bool Picked = false;
    bool DropMark = false;

private:
    qint32 m_level = 0;
    QString m_title;
    QString m_listText;
};
