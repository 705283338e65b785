#pragma once

#include <QStringList>

// The search strings the find dialog remembers: newest first, at most MaxEntries, no two equal
// (compared exactly, case included).
class TFindHistory
{
public:
    static constexpr int MaxEntries = 10;

    const QStringList &entries() const { return m_entries; }
    // Stored entries in order; empty ones, repeats and those past MaxEntries are left out.
    void setEntries(const QStringList &entries);
    // text becomes the first entry; an equal older entry goes, and so does the eleventh. An
    // empty text changes nothing.
    void add(const QString &text);

private:
    QStringList m_entries;
};
