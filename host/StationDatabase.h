#pragma once

#include "app/HostStationRecord.h"
#include "host/AprsDecoder.h"
#include "host/Tnc2.h"

#include <QHash>
#include <QString>
#include <vector>

// Every station, object and item the host has heard, found by name through a
// hash index so that a frame costs the same with a hundred or a hundred
// thousand stations known.
class StationDatabase
{
public:
    struct Entry
    {
        HostStationRecord record;
        bool hasPosition = false;
        bool isObject = false;  // an object or item: owner is the station that sent it
        QString owner;
        quint32 frames = 0;
        quint32 touched = 0;  // generation of the last change, for redraws
    };

    struct Result
    {
        QString source;       // the station whose frame it was
        QString positioned;   // the record that got a position from it, or empty
        AprsReport report;
    };

    // Decodes one frame and updates the records it speaks of. timeText is the
    // local time of hearing as the records carry it.
    Result applyFrame(const Tnc2Frame &frame, const QString &timeText);

    // The host's own station: in the database from the start, with a position.
    void setOwnStation(const QString &callsign, double latitudeMinutes, double longitudeMinutes,
                       QChar symbolTable, QChar symbolCode);

    const Entry *find(const QString &name) const;
    bool contains(const QString &name) const { return m_index.contains(name); }
    int size() const { return int(m_entries.size()); }
    const Entry &at(int index) const { return m_entries[size_t(index)]; }
    bool remove(const QString &name);
    void clear();
    quint32 generation() const { return m_generation; }
    void reserve(int count);

private:
    Entry &upsert(const QString &name);
    void applyReport(Entry &entry, const AprsReport &report);
    Result applyFrame(const Tnc2Frame &frame, const QString &timeText, int depth);

    std::vector<Entry> m_entries;
    QHash<QString, int> m_index;
    quint32 m_generation = 0;
};

// "DDMM.mmH" (latitude) or "DDDMM.mmH" (longitude) as the host's INI file
// writes them, in minutes of arc; false when the text is not in that form.
bool parseIniPosition(const QString &text, bool longitude, double *minutes);
