#pragma once

#include "orbiter/Vec3.h"

// Where things are on and around the Earth. Times are seconds since
// 1970-01-01 0h UTC (UT1 is taken as UTC: the difference is under a second);
// angles in radians, lengths in km.
namespace orbiter {

inline constexpr double kEarthRotation = 7.292115146706979e-5;  // rad/s

// WGS-84, for observers and sub-satellite points.
namespace wgs84 {
inline constexpr double radiusKm = 6378.137;
inline constexpr double flattening = 1.0 / 298.257223563;
} // namespace wgs84

double julianDate(double unixSeconds);
// Greenwich mean sidereal angle (IAU 1982), 0 to 2 pi.
double gmst(double unixSeconds);

// The model's TEME frame to the Earth-fixed one, polar motion ignored.
Vec3 temeToEcef(const Vec3 &teme, double gmstAngle);
// Velocity relative to the rotating Earth.
Vec3 temeVelocityToEcef(const Vec3 &temeVelocity, const Vec3 &ecefPosition, double gmstAngle);
// An Earth-fixed direction to the inertial frame of the same instant.
Vec3 ecefToTeme(const Vec3 &ecef, double gmstAngle);

struct Geodetic
{
    double latitude = 0;   // north positive
    double longitude = 0;  // east positive, -pi to pi
    double heightKm = 0;   // above the ellipsoid
};

Geodetic ecefToGeodetic(const Vec3 &ecef);
Vec3 geodeticToEcef(const Geodetic &site);

// A place on the ground, with what every look-angle computation needs.
class Site
{
public:
    Site() : Site(Geodetic{}) {}
    explicit Site(const Geodetic &where);

    const Geodetic &geodetic() const { return m_where; }
    const Vec3 &ecef() const { return m_ecef; }
    // Local east, north and up, Earth-fixed.
    Vec3 toLocal(const Vec3 &ecefOffset) const;

private:
    Geodetic m_where;
    Vec3 m_ecef;
    double m_sinLat, m_cosLat, m_sinLon, m_cosLon;
};

struct LookAngles
{
    double azimuth = 0;    // from north through east, 0 to 2 pi
    double elevation = 0;  // above the horizon; negative below
    double rangeKm = 0;
    double rangeRateKmS = 0;  // positive while the distance grows
};

LookAngles lookAngles(const Site &site, const Vec3 &ecefPosition, const Vec3 &ecefVelocity = {});

// Received frequency over sent frequency for that range rate.
double dopplerFactor(double rangeRateKmS);

} // namespace orbiter
