#include "dx/DxMonitor.h"

#include "dx/BandTable.h"
#include "dx/DxSpotText.h"

#include <QRegularExpression>

DxMonitor::DxMonitor(const BandTable &bands) : m_bands(bands) {}

SpotOutcome DxMonitor::addSpot(const QString &spotText, const QString &callsign, const QString &frequency,
                               qint16 latitude, qint16 longitude, qint16 bearing, qint16 distance,
                               const QDateTime &now, bool notify)
{
    SpotOutcome outcome;
    const QString spotter = DxSpotText::spotter(spotText);
    outcome.spotter = spotter;
    outcome.band = m_bands.GetBand(frequency);
    if (!m_bands.IsBandEnabled(outcome.band)) {
        outcome.ignored = true;
        return outcome;
    }

    DxStations record;
    record.Bearing = bearing;
    record.Callsign = callsign;
    record.Distance = distance;
    record.DxSpot = spotText;
    record.Frequency = frequency;
    record.Latitude = latitude;
    record.Longitude = longitude;
    record.Band = outcome.band;
    record.DxFrom = spotter;
    record.dxTime = DxSpotText::time(spotText);
    record.dxText = DxSpotText::comment(spotText, DxSpotText::RecordCommentColumn);
    record.TimeHeard = now;
    if (const DxStations *earlier = m_spots.find(callsign, spotter))
        outcome.previousBand = earlier->Band;
    outcome.added = m_spots.put(record);

    if (notify && notifyingCountry(callsign)) {
        outcome.notified = true;
        outcome.notifiedSpot = {spotText, callsign, frequency, spotter, latitude, longitude, bearing, distance};
    }
    return outcome;
}

const DxCountries *DxMonitor::notifyingCountry(const QString &callsign) const
{
    const DxCountries *hit = m_index.lookUp(callsign);
    return hit && m_prefixList.isTicked(hit->FullPrefix) ? hit : nullptr;
}

PrefixFile::LineKind DxMonitor::addPrefixLine(const QString &line, bool ticked)
{
    PrefixLine parsed;
    const PrefixFile::LineKind kind = PrefixFile::parseLine(line, &parsed);
    if (kind != PrefixFile::LineKind::Data)
        return kind;
    m_prefixList.addRow(parsed, ticked);
    if (m_indexComplete && !m_index.add(parsed))
        m_indexComplete = false;
    return kind;
}

int DxMonitor::addPrefixText(const QString &text, bool ticked)
{
    int malformed = 0;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString &line : text.split(lineEnd)) {
        if (addPrefixLine(line, ticked) == PrefixFile::LineKind::Malformed)
            ++malformed;
    }
    return malformed;
}

void DxMonitor::clearPrefixes()
{
    m_prefixList.clear();
    m_index.clear();
    m_indexComplete = true;
}
