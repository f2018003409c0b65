#include "core/SharedState.h"

bool AutoRecordList::add(const cAutoRecord &entry)
{
    if (find(entry.Callsign))
        return false;
    m_entries.append(entry);
    return true;
}

bool AutoRecordList::remove(const QString &callsign)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].Callsign.compare(callsign, Qt::CaseInsensitive) == 0) {
            m_entries.removeAt(i);
            return true;
        }
    return false;
}

cAutoRecord *AutoRecordList::find(const QString &callsign)
{
    for (cAutoRecord &entry : m_entries)
        if (entry.Callsign.compare(callsign, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

SharedState &shared()
{
    static SharedState state;
    return state;
}
