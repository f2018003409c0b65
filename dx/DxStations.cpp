#include "dx/DxStations.h"

#include "core/Units.h"

DxSpotCollection::Key DxSpotCollection::keyOf(const QString &callsign, const QString &spotter)
{
    return {callsign.toUpper(), spotter.toUpper()};
}

namespace {

void addTo(QHash<QString, int> &counts, const QString &name, int delta)
{
    int &n = counts[name];
    n += delta;
    if (n <= 0)
        counts.remove(name);
}

} // namespace

void DxSpotCollection::count(const DxStations &record, int delta)
{
    addTo(m_bandCounts, record.Band, delta);
    addTo(m_callsignCounts, record.Callsign, delta);
}

DxStations *DxSpotCollection::find(const QString &callsign, const QString &spotter)
{
    const auto it = m_positions.constFind(keyOf(callsign, spotter));
    return it == m_positions.constEnd() ? nullptr : &m_records[*it];
}

bool DxSpotCollection::put(const DxStations &record)
{
    if (DxStations *existing = find(record.Callsign, record.DxFrom)) {
        count(*existing, -1);
        *existing = record;
        count(record, 1);
        return false;
    }
    m_positions.insert(keyOf(record.Callsign, record.DxFrom), m_records.size());
    m_records.append(record);
    count(record, 1);
    return true;
}

QList<DxStations> DxSpotCollection::expire(const QDateTime &now, int minutes)
{
    QList<DxStations> removed;
    QList<DxStations> kept;
    for (const DxStations &record : std::as_const(m_records)) {
        if (minuteBoundaries(record.TimeHeard, now) >= minutes)
            removed.append(record);
        else
            kept.append(record);
    }
    if (removed.isEmpty())
        return removed;
    clear();
    for (const DxStations &record : std::as_const(kept))
        put(record);
    return removed;
}

void DxSpotCollection::clear()
{
    m_records.clear();
    m_positions.clear();
    m_bandCounts.clear();
    m_callsignCounts.clear();
}

void DxSpotCollection::rescaleDistances(bool fromMiles, bool toMiles)
{
    for (DxStations &record : m_records)
        record.Distance = Units::convertWholeDistance(record.Distance, fromMiles, toMiles);
}

qint64 DxSpotCollection::minuteBoundaries(const QDateTime &from, const QDateTime &to)
{
    // The clock readings, not the seconds elapsed: a daylight-saving change
    // does not age a spot by an hour.
    auto minuteNumber = [](const QDateTime &t) {
        return t.date().toJulianDay() * 1440 + t.time().hour() * 60 + t.time().minute();
    };
    return minuteNumber(to) - minuteNumber(from);
}
