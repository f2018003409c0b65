#pragma once

#include "core/HostStationRecord.h"
#include "host/aprs/AprsDecoder.h"
#include "host/HugePageAllocator.h"
#include "host/aprs/Telemetry.h"
#include "host/aprs/Tnc2.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

// Every station, object and item the host has heard, found by name through a
// hash index so that a frame costs about the same with a hundred or a hundred
// thousand stations known. Entries are kept compact (the last frame is held
// once, as heard) because at that size each cache line touched per frame
// shows in the frame rate.
class StationDatabase
{
public:
    // Laid out so that what every frame touches shares the first cache lines.
    struct alignas(64) Entry
    {
        quint64 key[2] = {0, 0};  // the name packed for quick comparison
        QString line;       // the last frame, SRC>DST,PATH:payload; empty when none
        QString timeHeard;
        qint64 heardAt = 0;  // seconds since the epoch; 0 for the own station
        int payloadAt = 0;
        quint32 frames = 0;
        float latitude = 0;   // minutes of arc
        float longitude = 0;
        float speed = HostStationRecord::NoSpeed;
        qint16 course = HostStationRecord::NoCourse;
        qint32 height = HostStationRecord::NoHeight;
        QChar symbolTable;
        QChar symbolCode;
        bool heardDirect = false;
        bool hasPosition = false;
        bool isObject = false;
        QString name;
        QString status;
        QString owner;     // objects and items: the station that sent it
        QString message;   // the Mic-E message type of the last position report

        // The record as the host reports it: header in monitor form, payload
        // as information text.
        HostStationRecord record() const;
    };

    struct Result
    {
        QString source;       // the station whose frame it was
        QString positioned;   // the record that got a position from it, or empty
        AprsReport report;
        bool dropped = false;  // the database was full of stations it must keep
    };

    // Decodes one frame and updates the records it speaks of. timeText is the
    // local time of hearing as the records carry it, heardAt the same moment
    // in seconds since the epoch (what ageing goes by).
    Result applyFrame(const Tnc2Frame &frame, const QString &timeText, qint64 heardAt = 0);

    // The host's own station: in the database from the start, with a position.
    void setOwnStation(const QString &callsign, double latitudeMinutes, double longitudeMinutes,
                       QChar symbolTable, QChar symbolCode);

    const Entry *find(const QString &name) const;
    bool contains(const QString &name) const { return find(name) != nullptr; }
    int size() const { return int(m_entries.size()); }
    const Entry &at(int index) const { return m_entries[size_t(index)]; }
    bool remove(const QString &name);
    void clear();
    quint32 generation() const { return m_generation; }
    void reserve(int count);
    static constexpr size_t MaxEntries = 0xFFFFFE;

    // Names that are never forgotten besides the own station: those of the
    // objects placed on the map through the host.
    void setKept(const QSet<QString> &names) { m_keep = names; }
    // Forgets every record last heard before the cutoff (seconds since the
    // epoch), except the kept ones. Returns how many went.
    int ageOut(qint64 cutoff);
    // At most this many records: when a new one would pass it, the tenth
    // heard longest ago goes first, kept ones never. Capped at MaxEntries.
    void setCapacity(size_t records);
    size_t capacity() const { return m_capacity; }

    // The telemetry a station has sent, or null.
    const telemetry::Station *telemetryOf(const QString &name) const;

    // A copy of every record, for saving on another thread: the texts are
    // shared, so it costs little more than the entries' own bytes.
    struct Snapshot
    {
        std::vector<Entry> entries;
        QHash<QString, telemetry::Station> telemetry;
    };
    Snapshot snapshot() const;
    // Puts back a record kept from an earlier run under its name; false when
    // the name is empty or the database is full.
    bool restore(const Entry &entry);
    void restoreTelemetry(const QString &name, const telemetry::Station &station);

private:
    // Four bytes a slot, so that the index of 100,000 stations stays in the
    // processor's second-level cache: the entry's index + 1 in the low 24
    // bits (0: empty) and 8 bits of the name's hash above them.
    struct Slot
    {
        quint32 value = 0;
        bool empty() const { return value == 0; }
        int index() const { return int(value & 0xFFFFFF) - 1; }
        quint32 tag() const { return value >> 24; }
        static Slot make(int index, quint32 hash) { return {quint32(index + 1) | (hash & 0xFF000000u)}; }
    };

    struct Key
    {
        quint64 packed[2] = {0, 0};
        bool exact = false;  // the packed form holds the whole name
    };
    static Key makeKey(const QString &name);
    bool matches(const Entry &entry, const Key &key, const QString &name) const;

    // Null when the database is full and nothing can make room.
    Entry *upsert(const QString &name);
    bool makeRoom();
    int removeWhere(const std::function<bool(const Entry &)> &expired, const QSet<QString> &keep);
    void applyTelemetry(const Tnc2Frame &frame, const AprsReport &report, const QString &timeText);
    qsizetype findSlot(const QString &name, quint32 hash) const;
    qsizetype findSlot(const QString &name, const Key &key, quint32 hash) const;
    // Starts loading the entry a name probably lives in, so that decoding
    // the frame overlaps the memory latency.
    void prefetch(const QString &name) const;
    void grow();
    void applyReport(Entry &entry, const AprsReport &report);
    Result applyFrame(const Tnc2Frame &frame, const QString &timeText, qint64 heardAt, int depth);

    std::vector<Entry, HugePageAllocator<Entry>> m_entries;
    std::vector<Slot, HugePageAllocator<Slot>> m_slots;  // open addressing, linear probing, at most 3/4 full
    quint32 m_generation = 0;
    size_t m_capacity = MaxEntries;
    QString m_ownName;
    QSet<QString> m_keep;
    // Few stations send telemetry, so it lives beside the entries.
    QHash<QString, telemetry::Station> m_telemetry;
};

// "DDMM.mmH" (latitude) or "DDDMM.mmH" (longitude) as the host's INI file
// writes them, in minutes of arc; false when the text is not in that form.
bool parseIniPosition(const QString &text, bool longitude, double *minutes);
