#include "host/map/GeoMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace geo {

namespace {
constexpr double Rad = std::numbers::pi / 180.0;
}

DistanceBearing distanceBearing(double lat1, double lon1, double lat2, double lon2)
{
    const double p1 = lat1 * Rad, p2 = lat2 * Rad;
    const double dp = p2 - p1, dl = (lon2 - lon1) * Rad;
    // Haversine stays accurate for short distances, where the cosine rule does not.
    const double a = std::sin(dp / 2) * std::sin(dp / 2)
                     + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    const double c = 2 * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0, 1 - a)));
    DistanceBearing result;
    result.distanceKm = EarthRadiusKm * c;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double bearing = std::atan2(y, x) / Rad;
    if (bearing < 0)
        bearing += 360.0;
    if (bearing >= 360.0)
        bearing -= 360.0;
    result.bearing = result.distanceKm == 0 ? 0 : bearing;
    return result;
}

QPointF destination(double lat, double lon, double bearing, double distanceKm)
{
    const double d = distanceKm / EarthRadiusKm;
    const double p1 = lat * Rad, l1 = lon * Rad, b = bearing * Rad;
    // Going to a pole, rounding can put the sine a hair past 1, where asin has no answer.
    const double p2 =
        std::asin(std::clamp(std::sin(p1) * std::cos(d) + std::cos(p1) * std::sin(d) * std::cos(b), -1.0, 1.0));
    const double l2 = l1 + std::atan2(std::sin(b) * std::sin(d) * std::cos(p1),
                                      std::cos(d) - std::sin(p1) * std::sin(p2));
    double lonDeg = l2 / Rad;
    lonDeg = std::fmod(lonDeg + 540.0, 360.0) - 180.0;
    return {lonDeg, p2 / Rad};
}

} // namespace geo
