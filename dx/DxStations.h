#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// One spot: a spotted station as one spotter reported it.
struct DxStations
{
    QString Callsign;
    QString Frequency;  // kHz, as reported
    QString DxSpot;     // the whole cluster line
    qint16 Latitude = 0;   // whole degrees, north positive
    qint16 Longitude = 0;  // whole degrees, east positive
    qint16 Bearing = 0;
    qint16 Distance = 0;
    QString Band;
    QString DxFrom;  // the spotter, or "???"
    QString dxTime;  // the last five characters of the line, 1234Z
    QString dxText;  // the comment
    QDateTime TimeHeard;
};

// The spots, one per callsign and spotter (letter case ignored), in the order
// they first arrived. A repeated spot overwrites its record in place.
class DxSpotCollection
{
public:
    DxStations *find(const QString &callsign, const QString &spotter);
    // Adds the record, or overwrites the one of the same callsign and spotter.
    // True when it was added.
    bool put(const DxStations &record);
    // Removes every record whose age has reached the given number of minutes,
    // counted in minute boundaries of the clock (10:00:59 to 11:00:00 is 60),
    // and returns them in collection order.
    QList<DxStations> expire(const QDateTime &now, int minutes);
    void clear();
    // Every record's distance from one unit into the other.
    void rescaleDistances(bool fromMiles, bool toMiles);

    const QList<DxStations> &records() const { return m_records; }
    int count() const { return int(m_records.size()); }
    // Records on the band of exactly this name (letter case counts).
    int countInBand(const QString &band) const { return m_bandCounts.value(band); }
    bool hasCallsign(const QString &callsign) const { return m_callsignCounts.value(callsign) > 0; }

    // Minute boundaries passed from one local clock time to another.
    static qint64 minuteBoundaries(const QDateTime &from, const QDateTime &to);

private:
    using Key = QPair<QString, QString>;
    static Key keyOf(const QString &callsign, const QString &spotter);
    void count(const DxStations &record, int delta);

    QList<DxStations> m_records;
    QHash<Key, qsizetype> m_positions;
    QHash<QString, int> m_bandCounts;
    QHash<QString, int> m_callsignCounts;
};
