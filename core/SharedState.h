#pragma once

#include <QList>
#include <QString>

class HostApplication;

// One entry of the auto-record list: a station logged automatically.
struct cAutoRecord
{
    QString Callsign;
    bool Recording = true;
};

// An ordered, keyed collection: the key of each entry is its callsign,
// compared without regard to letter case.
class AutoRecordList
{
public:
    // False (and nothing added) when the callsign is already a key.
    bool add(const cAutoRecord &entry);
    bool remove(const QString &callsign);
    cAutoRecord *find(const QString &callsign);
    void clear() { m_entries.clear(); }
    int count() const { return int(m_entries.size()); }
    const QList<cAutoRecord> &entries() const { return m_entries; }

private:
    QList<cAutoRecord> m_entries;
};

// The home station, read from the host's configuration file at start.
struct HomeStation
{
    double latitude = 0;   // minutes of arc, north positive
    double longitude = 0;  // minutes of arc, east positive
    QString callsign;
};

// Program-wide state shared between windows.
struct SharedState
{
    HomeStation home;
    AutoRecordList autoRecords;
    bool hostClosing = false;
    // The host program's application object while it is held (loading step
    // 12 to shutdown), else null.
    HostApplication *host = nullptr;
    // The station the weather and station information windows open on.
    QString currentStation;
    // A weather window opened from a file reads that file (not the
    // station's own in the data folder) when this is set.
    QString currentWeatherFile;
    // A station list window opened with a file reads the name from here.
    QString stationListFile;
    // The station whose path is drawn on the host map; "Clear Map" forgets it.
    QString plottedPathStation;
};

SharedState &shared();
