#pragma once

#include <QDateTime>
#include <QString>

#include "dx/DxRows.h"
#include "dx/DxStations.h"
#include "dx/PrefixDatabase.h"
#include "dx/PrefixListModel.h"

class BandTable;

// What became of one spot.
struct SpotOutcome
{
    bool ignored = false;  // its band is disabled (or it is on no band)
    QString band;
    QString spotter;
    bool added = false;     // a new record; otherwise an earlier one was updated
    QString previousBand;   // of the earlier record; a re-spot can move a station
    bool notified = false;  // its country is ticked; notifiedSpot holds its line's values
    NotifiedSpot notifiedSpot;
};

// The DX monitor without its window: files spots by band into the spot
// collection and decides which are notified, from the prefix index and the
// ticks of the prefix list.
class DxMonitor
{
public:
    explicit DxMonitor(const BandTable &bands);

    SpotOutcome addSpot(const QString &spotText, const QString &callsign, const QString &frequency,
                        qint16 latitude, qint16 longitude, qint16 bearing, qint16 distance,
                        const QDateTime &now, bool notify);
    // The country line that selects a callsign for notification: its longest
    // prefix's line when that line's row is ticked; null otherwise.
    const DxCountries *notifyingCountry(const QString &callsign) const;

    // One line of prefix.txt into the prefix list and the index.
    PrefixFile::LineKind addPrefixLine(const QString &line, bool ticked);
    // Every line of a whole file's text; returns the number of malformed lines.
    int addPrefixText(const QString &text, bool ticked);
    void clearPrefixes();
    // False once the index has refused prefixes for being full.
    bool prefixIndexComplete() const { return m_indexComplete; }

    DxSpotCollection &spots() { return m_spots; }
    const DxSpotCollection &spots() const { return m_spots; }
    const PrefixIndex &prefixIndex() const { return m_index; }
    PrefixListModel &prefixList() { return m_prefixList; }

private:
    const BandTable &m_bands;
    DxSpotCollection m_spots;
    PrefixIndex m_index;
    PrefixListModel m_prefixList;
    bool m_indexComplete = true;
};
