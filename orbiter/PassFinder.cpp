#include "orbiter/PassFinder.h"

#include "orbiter/SatelliteFix.h"

#include <algorithm>
#include <cmath>

namespace orbiter {

namespace {

constexpr double kMinStep = 1.0;     // s: passes shorter than this do not count
constexpr double kMaxStep = 900.0;   // s: a guard should the speed limit ever be wrong
constexpr double kPrecision = 1e-3;  // s
constexpr int kPassSamples = 48;

} // namespace

PassFinder::PassFinder(Sgp4 &model, std::vector<Site> sites)
    : m_model(model)
    , m_sites(std::move(sites))
{
    // The fastest the satellite can move over the rotating Earth: its speed
    // at perigee plus the Earth's rotation at apogee, with room for drag and
    // lunar-solar changes of the orbit.
    const double a = m_model.semiMajorAxisKm();
    const double rp = a * (1.0 - m_model.elements().eccentricity);
    const double ra = a * (1.0 + m_model.elements().eccentricity);
    const double perigeeSpeed = std::sqrt(wgs72::mu * std::max(0.0, 2.0 / std::max(rp, 1.0) - 1.0 / a));
    m_speedLimit = 1.15 * (perigeeSpeed + kEarthRotation * ra) + 0.2;
}

PassFinder::Sample PassFinder::sample(double t)
{
    Sample s;
    Vec3 r, v;
    const Sgp4Error error = m_model.propagate(minutesSinceEpoch(m_model, t), r, v);
    if (error != Sgp4Error::None || m_sites.empty())
        return s;
    const Vec3 ecef = temeToEcef(r, gmst(t));
    s.ok = true;
    s.worst = 10.0;
    double longestBelow = 0.0;
    double shortestAbove = kMaxStep;
    for (const Site &site : m_sites) {
        const LookAngles look = lookAngles(site, ecef);
        // The line of sight turns at most speed / range radians a second,
        // and the range shrinks at most at that speed: it needs at least
        // this long to turn through the angle to the horizon.
        const double safe = look.rangeKm / m_speedLimit * (1.0 - std::exp(-std::fabs(look.elevation)));
        if (look.elevation < 0)
            longestBelow = std::max(longestBelow, safe);
        else
            shortestAbove = std::min(shortestAbove, safe);
        s.worst = std::min(s.worst, look.elevation);
    }
    // Below, every site that cannot see it must first come up; above, any
    // site may lose it first.
    s.step = s.worst < 0 ? longestBelow : shortestAbove;
    s.step = std::clamp(s.step, kMinStep, kMaxStep);
    return s;
}

std::optional<double> PassFinder::elevation(double unixSeconds)
{
    const Sample s = sample(unixSeconds);
    if (!s.ok)
        return std::nullopt;
    return s.worst;
}

std::optional<PassFinder::Crossing> PassFinder::crossing(double t, int direction, double span)
{
    if (span <= 0)
        return std::nullopt;
    Sample s = sample(t);
    if (!s.ok)
        return std::nullopt;
    const bool above = s.worst >= 0;
    const double limit = t + direction * span;
    for (;;) {
        double next = t + direction * s.step;
        const bool last = direction > 0 ? next >= limit : next <= limit;
        if (last)
            next = limit;
        const Sample n = sample(next);
        if (!n.ok)
            return std::nullopt;
        if ((n.worst >= 0) != above) {
            double same = t;
            double other = next;
            while (std::fabs(other - same) > kPrecision) {
                const double mid = 0.5 * (same + other);
                const Sample m = sample(mid);
                if (!m.ok)
                    return std::nullopt;
                ((m.worst >= 0) == above ? same : other) = mid;
            }
            return Crossing{same, other};
        }
        if (last)
            return std::nullopt;
        t = next;
        s = n;
    }
}

std::optional<Pass> PassFinder::completePass(double aos, double los)
{
    Pass pass;
    pass.aos = aos;
    pass.los = los;

    // The highest sample, then a golden-section search around it: a long
    // pass need not have a single hump, a short one has.
    double best = aos;
    double bestElevation = -10.0;
    const double stride = (los - aos) / kPassSamples;
    for (int i = 0; i <= kPassSamples; ++i) {
        const double t = aos + i * stride;
        const auto e = elevation(t);
        if (!e)
            return std::nullopt;
        if (*e > bestElevation) {
            bestElevation = *e;
            best = t;
        }
    }
    double lo = std::max(aos, best - stride);
    double hi = std::min(los, best + stride);
    constexpr double ratio = 0.6180339887498949;
    double x1 = hi - ratio * (hi - lo);
    double x2 = lo + ratio * (hi - lo);
    double f1 = elevation(x1).value_or(-10.0);
    double f2 = elevation(x2).value_or(-10.0);
    while (hi - lo > 0.01) {
        if (f1 < f2) {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + ratio * (hi - lo);
            f2 = elevation(x2).value_or(-10.0);
        } else {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - ratio * (hi - lo);
            f1 = elevation(x1).value_or(-10.0);
        }
    }
    const double peak = 0.5 * (lo + hi);
    const double peakElevation = elevation(peak).value_or(-10.0);
    if (peakElevation >= bestElevation) {
        pass.culmination = peak;
        pass.maxElevation = peakElevation;
    } else {
        pass.culmination = best;
        pass.maxElevation = bestElevation;
    }

    const Site &site = m_sites.front();
    pass.aosAzimuth = fixAt(m_model, aos, &site).look.azimuth;
    pass.losAzimuth = fixAt(m_model, los, &site).look.azimuth;
    return pass;
}

std::optional<Pass> PassFinder::next(double from, double window)
{
    const Sample start = sample(from);
    if (!start.ok)
        return std::nullopt;
    double t = from;
    if (start.worst >= 0) {
        const auto end = crossing(from, +1, window);
        if (!end)
            return std::nullopt;
        t = end->after;
    }
    const auto rise = crossing(t, +1, from + window - t);
    if (!rise)
        return std::nullopt;
    // A pass that does not end within a day (or the window) is cut there.
    const double reach = std::max(window, 86400.0);
    const auto set = crossing(rise->after, +1, reach);
    return completePass(rise->after, set ? set->before : rise->after + reach);
}

std::optional<Pass> PassFinder::current(double at, double window)
{
    const Sample now = sample(at);
    if (!now.ok || now.worst < 0)
        return std::nullopt;
    const auto rise = crossing(at, -1, window);
    const auto set = crossing(at, +1, window);
    if (!rise || !set)
        return std::nullopt;
    return completePass(rise->before, set->before);
}

} // namespace orbiter
