#include "orbiter/Tracker.h"
#include "orbiter/Angles.h"

#include "orbiter/Footprint.h"
#include "orbiter/SatelliteFix.h"
#include "orbiter/SunMoon.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace orbiter {

namespace {

// A search that found nothing is tried again after this long, since the
// window it covered has moved on.
constexpr double kRecheckSeconds = 3600.0;

SkyBody bodyAt(const Vec3 &teme, double unixSeconds, const Site &site)
{
    const Vec3 ecef = temeToEcef(teme, gmst(unixSeconds));
    SkyBody body;
    body.latitude = std::atan2(ecef.z, std::hypot(ecef.x, ecef.y)) / kDeg;
    body.longitude = std::atan2(ecef.y, ecef.x) / kDeg;
    body.look = lookAngles(site, ecef);
    return body;
}

} // namespace

QTimeZone TimeZoneSettings::zone() const
{
    const QByteArray id = name.trimmed().toUtf8();
    if (id.isEmpty() || !QTimeZone::isTimeZoneIdAvailable(id))
        return {};
    return QTimeZone(id);
}

double TimeZoneSettings::toUtc(const QDateTime &local) const
{
    const qint64 fields = QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
    const QTimeZone named = zone();
    if (!named.isValid())
        return double(fields) / 1000.0 - fixedOffsetSeconds();
    auto offsetAt = [&named](qint64 ms) {
        return named.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
    };
    // The instants whose offset makes the clock read so lie within fifteen
    // hours of the reading taken as UTC; the offsets there are the candidates.
    constexpr qint64 kWindow = 15 * 3600 * 1000LL;
    std::optional<qint64> chosen;
    int chosenOffset = 0;
    for (const qint64 probe : {fields - kWindow, fields, fields + kWindow}) {
        const int offset = offsetAt(probe);
        const qint64 candidate = fields - qint64(offset) * 1000;
        if (offsetAt(candidate) != offset || (chosen && *chosen == candidate))
            continue;
        // Read twice: while daylight time is on, the first (the higher offset).
        if (!chosen || (daylight ? offset > chosenOffset : offset < chosenOffset)) {
            chosen = candidate;
            chosenOffset = offset;
        }
    }
    // A reading the spring change skips counts on the clock before the change.
    if (!chosen)
        chosen = fields - qint64(offsetAt(fields - kWindow)) * 1000;
    return double(*chosen) / 1000.0;
}

QDateTime TimeZoneSettings::toLocal(double unixSeconds) const
{
    const qint64 ms = qint64(std::llround(unixSeconds * 1000.0));
    const QTimeZone named = zone();
    if (named.isValid())
        return QDateTime::fromMSecsSinceEpoch(ms, named);
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, fixedOffsetSeconds());
}

Site ObserverSettings::site() const
{
    return Site(Geodetic{latitude * kDeg, longitude * kDeg, heightM / 1000.0});
}

void Tracker::clear()
{
    m_satellites.clear();
    newEpoch();
}

void Tracker::newEpoch()
{
    // Answers to searches under way will not be taken: ask again.
    ++m_epoch;
    for (TrackedSatellite &sat : m_satellites)
        sat.searching = false;
}

int Tracker::addEntry()
{
    m_satellites.emplace_back();
    return count();
}

TrackedSatellite *Tracker::entry(int entry)
{
    return entry >= 1 && entry <= count() ? &m_satellites[std::size_t(entry - 1)] : nullptr;
}

const TrackedSatellite *Tracker::entry(int entry) const
{
    return entry >= 1 && entry <= count() ? &m_satellites[std::size_t(entry - 1)] : nullptr;
}

bool Tracker::load(int number, const QString &name, const QString &line1, const QString &line2)
{
    TrackedSatellite *sat = entry(number);
    if (!sat)
        return false;
    *sat = TrackedSatellite{};
    newEpoch();
    sat->name = name;
    sat->line1 = line1;
    sat->line2 = line2;
    ElementSet elements;
    elements.name = name.toStdString();
    std::string error;
    if (!parseElementSet(line1.toLatin1().toStdString(), line2.toLatin1().toStdString(), elements, &error)) {
        sat->problem = QString::fromStdString(error);
        return false;
    }
    const Sgp4Error atEpoch = sat->model.init(elements);
    if (atEpoch != Sgp4Error::None) {
        sat->problem = QString::fromLatin1(sgp4ErrorText(atEpoch));
        return false;
    }
    sat->loaded = true;
    return true;
}

void Tracker::setObserver(const ObserverSettings &observer)
{
    m_observer = observer;
    invalidatePasses();
}

void Tracker::setSecondObserver(const ObserverSettings &observer, bool inUse)
{
    m_second = observer;
    m_secondInUse = inUse;
    invalidatePasses();
}

double Tracker::fromLocal(const QDateTime &local) const
{
    return m_zone.toUtc(local);
}

QDateTime Tracker::toLocal(double unixSeconds) const
{
    return m_zone.toLocal(unixSeconds);
}

void Tracker::computePositions()
{
    const Site first = m_observer.site();
    const Site second = m_second.site();
    for (TrackedSatellite &sat : m_satellites) {
        sat.valid = false;
        if (!sat.loaded)
            continue;
        const SatelliteFix fix = fixAt(sat.model, m_time, &first);
        if (fix.error != Sgp4Error::None) {
            sat.problem = QString::fromLatin1(sgp4ErrorText(fix.error));
            continue;
        }
        sat.problem.clear();
        sat.valid = true;
        sat.latitude = fix.subPoint.latitude / kDeg;
        sat.longitude = wrap360(fix.subPoint.longitude / kDeg);
        sat.heightKm = fix.subPoint.heightKm;
        sat.look = fix.look;
        sat.footprintKm = footprintDiameterKm(sat.heightKm);
        sat.secondLook = m_secondInUse ? lookAngles(second, fix.ecef, fix.ecefVelocity) : LookAngles{};
    }
    m_sun = bodyAt(sunPosition(m_time), m_time, first);
    m_moon = bodyAt(moonPosition(m_time), m_time, first);
}

std::vector<Site> Tracker::passSites(bool mutual) const
{
    std::vector<Site> sites{m_observer.site()};
    if (mutual)
        sites.push_back(m_second.site());
    return sites;
}

Tracker::PassState Tracker::passState(const TrackedSatellite &sat) const
{
    const double t = m_time;
    if (!sat.passesKnown || t < sat.passesSearchedAt || (sat.next && t >= sat.next->aos)
        || (m_secondInUse && sat.nextMutual && t >= sat.nextMutual->aos))
        return PassState::Outdated;
    if ((!sat.next || (m_secondInUse && !sat.nextMutual)) && t >= sat.passesSearchedAt + kRecheckSeconds)
        return PassState::Recheck;
    return PassState::Known;
}

PassSearch Tracker::passSearch(int number) const
{
    const TrackedSatellite &sat = m_satellites[std::size_t(number - 1)];
    PassSearch search;
    search.entry = number;
    search.epoch = m_epoch;
    search.model = sat.model;
    search.own = passSites(false);
    if (m_secondInUse)
        search.mutual = passSites(true);
    search.time = m_time;
    search.up = sat.look.elevation >= 0;
    search.window = PassWindowSeconds;
    return search;
}

void Tracker::computePasses(bool rechecks)
{
    endPasses();
    for (int number = 1; number <= count(); ++number) {
        const TrackedSatellite &sat = m_satellites[std::size_t(number - 1)];
        if (!sat.loaded || !sat.valid)
            continue;
        const PassState state = passState(sat);
        if (state == PassState::Outdated || (state == PassState::Recheck && rechecks))
            takePasses(findPasses(passSearch(number)));
    }
}

std::vector<PassSearch> Tracker::passSearches()
{
    std::vector<PassSearch> searches;
    for (int number = 1; number <= count(); ++number) {
        TrackedSatellite &sat = m_satellites[std::size_t(number - 1)];
        if (!sat.loaded || !sat.valid || sat.searching || passState(sat) == PassState::Known)
            continue;
        sat.searching = true;
        searches.push_back(passSearch(number));
    }
    return searches;
}

bool Tracker::takePasses(const PassesFound &found)
{
    TrackedSatellite *sat = entry(found.entry);
    if (found.epoch != m_epoch || !sat)
        return false;
    sat->searching = false;
    if (sat->passesKnown && found.time < sat->passesSearchedAt)
        return false;
    sat->current = found.current;
    sat->next = found.next;
    sat->nextMutual = found.nextMutual;
    sat->passesSearchedAt = found.time;
    sat->passesKnown = true;
    return true;
}

void Tracker::endPasses()
{
    for (TrackedSatellite &sat : m_satellites) {
        if (!sat.loaded || !sat.valid) {
            sat.passesKnown = false;
            sat.current.reset();
            sat.next.reset();
            sat.nextMutual.reset();
        } else if (sat.current && m_time > sat.current->los) {
            sat.current.reset();
        }
    }
}

void Tracker::invalidatePasses()
{
    newEpoch();
    // Pass tracks are seen from the observer, who may have moved.
    for (TrackedSatellite &sat : m_satellites) {
        sat.passesKnown = false;
        sat.passTracks.clear();
    }
}

const std::vector<TrackPoint> &Tracker::groundTrack(int number, double from, double seconds, double step)
{
    static const std::vector<TrackPoint> none;
    TrackedSatellite *sat = entry(number);
    if (!sat || !sat->loaded || !(step > 0) || !(seconds > 0))
        return none;
    std::vector<TrackPoint> &track = sat->track;
    // Steps the start moved on by; anything else starts the track afresh.
    const double moved = (from - sat->trackFrom) / step;
    const double whole = std::round(moved);
    if (step != sat->trackStep || moved < 0 || std::fabs(moved - whole) > 1e-6 || whole >= double(track.size())) {
        track.clear();
    } else if (whole > 0) {
        track.erase(track.begin(), track.begin() + std::ptrdiff_t(whole));
        // Unwrapped longitudes drift by turns; the first point stays in one.
        const double turns = 360.0 * std::round(track.front().longitude / 360.0);
        for (TrackPoint &point : track)
            point.longitude -= turns;
    }
    sat->trackFrom = from;
    sat->trackStep = step;

    const std::size_t wanted = std::size_t((seconds + 1e-6) / step) + 1;
    if (track.size() > wanted)
        track.resize(wanted);
    track.reserve(wanted);
    while (track.size() < wanted) {
        const SatelliteFix fix = fixAt(sat->model, from + double(track.size()) * step);
        if (fix.error != Sgp4Error::None)
            break;
        double lon = fix.subPoint.longitude / kDeg;
        if (!track.empty())
            lon += 360.0 * std::round((track.back().longitude - lon) / 360.0);
        track.push_back({fix.subPoint.latitude / kDeg, lon});
        ++m_trackPoints;
    }
    return track;
}

const std::vector<SkyPoint> &Tracker::passTrack(int number, const Pass &pass, int count)
{
    static const std::vector<SkyPoint> none;
    TrackedSatellite *sat = entry(number);
    if (!sat || !sat->loaded || count < 2)
        return none;
    std::vector<TrackedSatellite::PassTrack> &kept = sat->passTracks;
    for (const TrackedSatellite::PassTrack &one : kept)
        if (one.aos == pass.aos && one.los == pass.los && int(one.points.size()) == count)
            return one.points;
    // Passes over are not asked for again.
    std::erase_if(kept, [this](const TrackedSatellite::PassTrack &one) { return one.los < m_time; });

    TrackedSatellite::PassTrack made{pass.aos, pass.los, {}};
    const Site site = m_observer.site();
    made.points.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const double t = pass.aos + (pass.los - pass.aos) * i / (count - 1);
        const SatelliteFix fix = fixAt(sat->model, t, &site);
        if (fix.error != Sgp4Error::None)
            break;
        made.points.push_back({fix.look.azimuth / kDeg, fix.look.elevation / kDeg});
        ++m_trackPoints;
    }
    kept.push_back(std::move(made));
    return kept.back().points;
}

} // namespace orbiter
