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

void Tracker::computePasses()
{
    for (TrackedSatellite &sat : m_satellites) {
        if (!sat.loaded || !sat.valid) {
            sat.passesKnown = false;
            sat.current.reset();
            sat.next.reset();
            sat.nextMutual.reset();
            continue;
        }
        const double t = m_time;
        const bool stale = !sat.passesKnown || t < sat.passesSearchedAt || (sat.next && t >= sat.next->aos)
                           || (!sat.next && t >= sat.passesSearchedAt + kRecheckSeconds)
                           || (m_secondInUse && sat.nextMutual && t >= sat.nextMutual->aos)
                           || (m_secondInUse && !sat.nextMutual && t >= sat.passesSearchedAt + kRecheckSeconds);
        if (!stale) {
            if (sat.current && t > sat.current->los)
                sat.current.reset();
            continue;
        }
        PassFinder own(sat.model, passSites(false));
        sat.current = sat.look.elevation >= 0 ? own.current(t, PassWindowSeconds) : std::nullopt;
        sat.next = own.next(t, PassWindowSeconds);
        sat.nextMutual.reset();
        if (m_secondInUse) {
            PassFinder shared(sat.model, passSites(true));
            sat.nextMutual = shared.next(t, PassWindowSeconds);
        }
        sat.passesSearchedAt = t;
        sat.passesKnown = true;
    }
}

void Tracker::invalidatePasses()
{
    for (TrackedSatellite &sat : m_satellites)
        sat.passesKnown = false;
}

std::vector<Tracker::TrackPoint> Tracker::groundTrack(int number, double from, double seconds, double step)
{
    std::vector<TrackPoint> points;
    TrackedSatellite *sat = entry(number);
    if (!sat || !sat->loaded || step <= 0 || seconds <= 0)
        return points;
    points.reserve(std::size_t(seconds / step) + 2);
    double previous = 0;
    for (double t = from; t <= from + seconds + 1e-6; t += step) {
        const SatelliteFix fix = fixAt(sat->model, t);
        if (fix.error != Sgp4Error::None)
            break;
        double lon = fix.subPoint.longitude / kDeg;
        if (!points.empty())
            lon += 360.0 * std::round((previous - lon) / 360.0);
        previous = lon;
        points.push_back({fix.subPoint.latitude / kDeg, lon});
    }
    return points;
}

std::vector<Tracker::SkyPoint> Tracker::passTrack(int number, const Pass &pass, int count)
{
    std::vector<SkyPoint> points;
    TrackedSatellite *sat = entry(number);
    if (!sat || !sat->loaded || count < 2)
        return points;
    const Site site = m_observer.site();
    points.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const double t = pass.aos + (pass.los - pass.aos) * i / (count - 1);
        const SatelliteFix fix = fixAt(sat->model, t, &site);
        if (fix.error != Sgp4Error::None)
            break;
        points.push_back({fix.look.azimuth / kDeg, fix.look.elevation / kDeg});
    }
    return points;
}

} // namespace orbiter
