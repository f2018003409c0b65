#pragma once

#include "orbiter/EarthFrames.h"
#include "orbiter/PassFinder.h"
#include "orbiter/PassSearch.h"
#include "orbiter/Sgp4.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <cstdint>
#include <optional>
#include <vector>

namespace orbiter {

struct ObserverSettings
{
    QString name;
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    double heightM = 0;

    Site site() const;
};

// The zone the operator's clock runs in. When the system knows the zone by
// its name, the zone's own rules give the offset: exact for half-hour zones
// and right on either side of a change to or from daylight time, and in the
// hour an autumn change repeats the daylight flag says which of the two is
// meant. Otherwise the hours handed over count: UTC = local + adjustment +
// (daylight offset while daylight time is on).
struct TimeZoneSettings
{
    int adjustHours = 0;
    QString name;
    bool daylight = false;
    int daylightOffsetHours = 0;

    int fixedOffsetSeconds() const { return -(adjustHours + (daylight ? daylightOffsetHours : 0)) * 3600; }
    // The named zone, or an invalid one.
    QTimeZone zone() const;
    // A wall-clock time of this zone (its fields as they read) to UTC, and back.
    double toUtc(const QDateTime &local) const;
    QDateTime toLocal(double unixSeconds) const;
};

// The point beneath a satellite, degrees.
struct TrackPoint
{
    double latitude;
    double longitude;
};

// Where a satellite stands in the observer's sky, degrees.
struct SkyPoint
{
    double azimuth;
    double elevation;
};

// One tracked satellite and what was last worked out for it.
struct TrackedSatellite
{
    QString name;
    QString line1, line2;
    bool loaded = false;  // the element set was read and the model accepted it
    QString problem;      // why not, or why the last computation failed
    Sgp4 model;

    // At the computation time.
    bool valid = false;
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees east, 0 to 360
    double heightKm = 0;
    LookAngles look;        // from the observer
    LookAngles secondLook;  // from the second observer, when in use
    double footprintKm = 0;

    // Passes, found by computePasses.
    std::optional<Pass> current;      // in progress at the computation time
    std::optional<Pass> next;         // the first to rise after it
    std::optional<Pass> nextMutual;   // the first both observers share
    double passesSearchedAt = 0;
    bool passesKnown = false;
    bool searching = false;  // a search handed out has not come back

    // Tracks as last worked out, reused while they are still wanted: the
    // ground track every trackStep seconds from trackFrom, and the sky
    // tracks of the passes shown.
    std::vector<TrackPoint> track;
    double trackFrom = 0;
    double trackStep = 0;
    struct PassTrack
    {
        double aos = 0, los = 0;
        std::vector<SkyPoint> points;
    };
    std::vector<PassTrack> passTracks;
};

// A body of the sky at the computation time, for the views.
struct SkyBody
{
    double latitude = 0;   // degrees, of the point beneath it
    double longitude = 0;  // degrees, -180 to 180
    LookAngles look;       // from the observer
};

// The model behind the tracking control: the satellites, the observers, the
// clock and everything computed from them. No widgets.
class Tracker
{
public:
    static constexpr double PassWindowSeconds = 7 * 86400.0;

    void clear();
    // Appends an empty entry; its number (1-based).
    int addEntry();
    int count() const { return int(m_satellites.size()); }
    // Entry numbers are 1-based; false (and a problem noted) for bad lines.
    bool load(int entry, const QString &name, const QString &line1, const QString &line2);
    TrackedSatellite *entry(int entry);
    const TrackedSatellite *entry(int entry) const;

    void setObserver(const ObserverSettings &observer);
    void setSecondObserver(const ObserverSettings &observer, bool inUse);
    const ObserverSettings &observer() const { return m_observer; }
    const ObserverSettings &secondObserver() const { return m_second; }
    bool secondInUse() const { return m_secondInUse; }
    void setTimeZone(const TimeZoneSettings &zone) { m_zone = zone; }
    const TimeZoneSettings &timeZone() const { return m_zone; }

    // The clock: seconds since 1970 UTC.
    void setTime(double unixSeconds) { m_time = unixSeconds; }
    double time() const { return m_time; }
    // A local wall-clock time of the operator's zone to UTC and back.
    double fromLocal(const QDateTime &local) const;
    QDateTime toLocal(double unixSeconds) const;

    // Positions and look angles of every satellite, the sun and the moon.
    void computePositions();
    // Current and next passes, looked for where they are out of date (never
    // looked for, or the next pass has begun) and, with rechecks, where the
    // search found nothing an hour ago. Kept until then or until a setting
    // changes.
    void computePasses(bool rechecks = true);
    // The searches computePasses would make, to be made elsewhere
    // (findPasses) and handed back to takePasses; each satellite's once.
    std::vector<PassSearch> passSearches();
    // False (and nothing changes) when the satellites or the observers have
    // changed meanwhile, or the passes were looked for later already.
    bool takePasses(const PassesFound &found);
    // Forgets passes in progress that have ended.
    void endPasses();
    // Forget the passes (the observers or the satellites changed).
    void invalidatePasses();

    const SkyBody &sun() const { return m_sun; }
    const SkyBody &moon() const { return m_moon; }

    using TrackPoint = orbiter::TrackPoint;
    using SkyPoint = orbiter::SkyPoint;
    // The point beneath the satellite every `step` seconds from `from`,
    // degrees, longitudes unwrapped so the line never jumps a turn. A track
    // asked for again is reused; one whose start moved on by whole steps
    // only gains its new end.
    const std::vector<TrackPoint> &groundTrack(int entry, double from, double seconds, double step);
    // Azimuth and elevation through a pass, worked out once per pass.
    const std::vector<SkyPoint> &passTrack(int entry, const Pass &pass, int points = 90);
    // Points of ground and pass tracks worked out so far: what reusing them saves.
    std::uint64_t trackPointsComputed() const { return m_trackPoints; }

private:
    std::vector<Site> passSites(bool mutual) const;
    enum class PassState { Known, Outdated, Recheck };
    PassState passState(const TrackedSatellite &sat) const;
    PassSearch passSearch(int entry) const;
    void newEpoch();

    std::vector<TrackedSatellite> m_satellites;
    ObserverSettings m_observer;
    ObserverSettings m_second;
    bool m_secondInUse = false;
    TimeZoneSettings m_zone;
    double m_time = 0;
    SkyBody m_sun;
    SkyBody m_moon;
    std::uint64_t m_trackPoints = 0;
    // Moves on whenever the satellites or the observers change, so that an
    // answer to an older search is known for what it is.
    std::uint64_t m_epoch = 0;
};

} // namespace orbiter
