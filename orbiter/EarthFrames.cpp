#include "orbiter/EarthFrames.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbiter {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kSpeedOfLightKmS = 299792.458;
constexpr double kE2 = wgs84::flattening * (2.0 - wgs84::flattening);
} // namespace

double julianDate(double unixSeconds)
{
    return unixSeconds / 86400.0 + 2440587.5;
}

double gmst(double unixSeconds)
{
    // Centuries from J2000 counted in two parts so the days keep their precision.
    const double days = unixSeconds / 86400.0 - 10957.5;
    const double tut1 = days / 36525.0;
    const double seconds = -6.2e-6 * tut1 * tut1 * tut1 + 0.093104 * tut1 * tut1
                           + (876600.0 * 3600.0 + 8640184.812866) * tut1 + 67310.54841;
    double angle = std::fmod(seconds * (std::numbers::pi / 180.0) / 240.0, kTwoPi);
    if (angle < 0.0)
        angle += kTwoPi;
    return angle;
}

Vec3 temeToEcef(const Vec3 &r, double g)
{
    const double c = std::cos(g);
    const double s = std::sin(g);
    return {c * r.x + s * r.y, -s * r.x + c * r.y, r.z};
}

Vec3 temeVelocityToEcef(const Vec3 &v, const Vec3 &ecef, double g)
{
    const Vec3 rotated = temeToEcef(v, g);
    return {rotated.x + kEarthRotation * ecef.y, rotated.y - kEarthRotation * ecef.x, rotated.z};
}

Vec3 ecefToTeme(const Vec3 &r, double g)
{
    const double c = std::cos(g);
    const double s = std::sin(g);
    return {c * r.x - s * r.y, s * r.x + c * r.y, r.z};
}

Geodetic ecefToGeodetic(const Vec3 &r)
{
    const double a = wgs84::radiusKm;
    const double p = std::hypot(r.x, r.y);
    Geodetic g;
    g.longitude = std::atan2(r.y, r.x);
    if (p < 1e-9) {
        g.latitude = r.z >= 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
        g.heightKm = std::fabs(r.z) - a * std::sqrt(1.0 - kE2);
        return g;
    }
    // Fixed-point on the latitude; a few rounds reach well under a millimetre.
    double lat = std::atan2(r.z, p * (1.0 - kE2));
    double n = a;
    for (int i = 0; i < 6; ++i) {
        const double s = std::sin(lat);
        n = a / std::sqrt(1.0 - kE2 * s * s);
        const double next = std::atan2(r.z + kE2 * n * s, p);
        if (std::fabs(next - lat) < 1e-13) {
            lat = next;
            break;
        }
        lat = next;
    }
    const double s = std::sin(lat);
    const double c = std::cos(lat);
    n = a / std::sqrt(1.0 - kE2 * s * s);
    g.latitude = lat;
    // Away from the poles through the distance from the axis, near them through z.
    g.heightKm = std::fabs(c) > 0.1 ? p / c - n : r.z / s - n * (1.0 - kE2);
    return g;
}

Vec3 geodeticToEcef(const Geodetic &site)
{
    const double s = std::sin(site.latitude);
    const double c = std::cos(site.latitude);
    const double n = wgs84::radiusKm / std::sqrt(1.0 - kE2 * s * s);
    return {(n + site.heightKm) * c * std::cos(site.longitude), (n + site.heightKm) * c * std::sin(site.longitude),
            (n * (1.0 - kE2) + site.heightKm) * s};
}

Site::Site(const Geodetic &where)
    : m_where(where)
    , m_ecef(geodeticToEcef(where))
    , m_sinLat(std::sin(where.latitude))
    , m_cosLat(std::cos(where.latitude))
    , m_sinLon(std::sin(where.longitude))
    , m_cosLon(std::cos(where.longitude))
{
}

Vec3 Site::toLocal(const Vec3 &d) const
{
    const double east = -m_sinLon * d.x + m_cosLon * d.y;
    const double north = -m_sinLat * m_cosLon * d.x - m_sinLat * m_sinLon * d.y + m_cosLat * d.z;
    const double up = m_cosLat * m_cosLon * d.x + m_cosLat * m_sinLon * d.y + m_sinLat * d.z;
    return {east, north, up};
}

LookAngles lookAngles(const Site &site, const Vec3 &position, const Vec3 &velocity)
{
    const Vec3 rho = position - site.ecef();
    const Vec3 local = site.toLocal(rho);
    LookAngles look;
    look.rangeKm = rho.norm();
    double az = std::atan2(local.x, local.y);
    if (az < 0)
        az += kTwoPi;
    look.azimuth = az;
    look.elevation = look.rangeKm > 0 ? std::asin(std::clamp(local.z / look.rangeKm, -1.0, 1.0)) : 0.0;
    look.rangeRateKmS = look.rangeKm > 0 ? rho.dot(velocity) / look.rangeKm : 0.0;
    return look;
}

double dopplerFactor(double rangeRateKmS)
{
    return 1.0 - rangeRateKmS / kSpeedOfLightKmS;
}

} // namespace orbiter
