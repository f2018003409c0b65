#include "orbiter/SunMoon.h"
#include "orbiter/Angles.h"

#include "orbiter/EarthFrames.h"

#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

constexpr double kAuKm = 149597870.7;

double sinDeg(double degrees) { return std::sin(degrees * kDeg); }
double cosDeg(double degrees) { return std::cos(degrees * kDeg); }

Vec3 fromEcliptic(double longitude, double latitude, double distance, double obliquity)
{
    const double cb = std::cos(latitude);
    const double x = distance * cb * std::cos(longitude);
    const double y = distance * cb * std::sin(longitude);
    const double z = distance * std::sin(latitude);
    const double ce = std::cos(obliquity);
    const double se = std::sin(obliquity);
    return {x, ce * y - se * z, se * y + ce * z};
}

} // namespace

Vec3 sunPosition(double unixSeconds)
{
    const double n = julianDate(unixSeconds) - 2451545.0;
    const double meanLongitude = 280.460 + 0.9856474 * n;
    const double g = 357.528 + 0.9856003 * n;
    const double lambda = meanLongitude + 1.915 * sinDeg(g) + 0.020 * sinDeg(2.0 * g);
    const double obliquity = 23.439 - 0.0000004 * n;
    const double distanceAu = 1.00014 - 0.01671 * cosDeg(g) - 0.00014 * cosDeg(2.0 * g);
    return fromEcliptic(lambda * kDeg, 0.0, distanceAu * kAuKm, obliquity * kDeg);
}

Vec3 moonPosition(double unixSeconds)
{
    const double d = julianDate(unixSeconds) - 2451545.0;
    const double t = d / 36525.0;
    const double lambda = 218.32 + 481267.881 * t + 6.29 * sinDeg(135.0 + 477198.87 * t)
                          - 1.27 * sinDeg(259.3 - 413335.36 * t) + 0.66 * sinDeg(235.7 + 890534.22 * t)
                          + 0.21 * sinDeg(269.9 + 954397.74 * t) - 0.19 * sinDeg(357.5 + 35999.05 * t)
                          - 0.11 * sinDeg(186.5 + 966404.03 * t);
    const double beta = 5.13 * sinDeg(93.3 + 483202.02 * t) + 0.28 * sinDeg(228.2 + 960400.89 * t)
                        - 0.28 * sinDeg(318.3 + 6003.15 * t) - 0.17 * sinDeg(217.6 - 407332.21 * t);
    const double parallax = 0.9508 + 0.0518 * cosDeg(135.0 + 477198.87 * t) + 0.0095 * cosDeg(259.3 - 413335.36 * t)
                            + 0.0078 * cosDeg(235.7 + 890534.22 * t) + 0.0028 * cosDeg(269.9 + 954397.74 * t);
    const double distance = wgs84::radiusKm / std::sin(parallax * kDeg);
    const double obliquity = 23.439 - 0.0000004 * d;
    return fromEcliptic(lambda * kDeg, beta * kDeg, distance, obliquity * kDeg);
}

} // namespace orbiter
