#include "FindHistory.h"

void TFindHistory::setEntries(const QStringList &entries)
{
    m_entries.clear();
    for (const QString &entry : entries) {
        if (m_entries.size() == MaxEntries)
            break;
        if (!entry.isEmpty() && !m_entries.contains(entry))
            m_entries.append(entry);
    }
}

void TFindHistory::add(const QString &text)
{
    if (text.isEmpty())
        return;
    m_entries.removeAll(text);
    m_entries.prepend(text);
    while (m_entries.size() > MaxEntries)
        m_entries.removeLast();
}
