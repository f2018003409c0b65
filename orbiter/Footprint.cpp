#include "orbiter/Footprint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbiter {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kMeanRadiusKm = 6371.0;
} // namespace

double footprintAngle(double heightKm)
{
    if (heightKm <= 0)
        return 0.0;
    return std::acos(kMeanRadiusKm / (kMeanRadiusKm + heightKm));
}

double footprintDiameterKm(double heightKm)
{
    return 2.0 * kMeanRadiusKm * footprintAngle(heightKm);
}

std::vector<LatLon> Outline::area() const
{
    std::vector<LatLon> out = ring;
    if (pole != 0 && !ring.empty()) {
        const double edge = pole * kPi / 2;
        const double drift = ring.back().longitude - ring.front().longitude;
        const double end = ring.front().longitude + (drift > 0 ? 2.0 * kPi : -2.0 * kPi);
        out.push_back({ring.front().latitude, end});
        out.push_back({edge, end});
        out.push_back({edge, ring.front().longitude});
    }
    return out;
}

Outline footprintOutline(double lat0, double lon0, double angle, int points)
{
    Outline outline;
    std::vector<LatLon> &out = outline.ring;
    if (angle <= 0 || points < 3)
        return outline;
    out.reserve(std::size_t(points) + 3);
    const double sinLat0 = std::sin(lat0);
    const double cosLat0 = std::cos(lat0);
    const double sinA = std::sin(angle);
    const double cosA = std::cos(angle);
    double previous = lon0;
    for (int k = 0; k < points; ++k) {
        const double bearing = 2.0 * kPi * k / points;
        const double lat = std::asin(std::clamp(sinLat0 * cosA + cosLat0 * sinA * std::cos(bearing), -1.0, 1.0));
        double lon = lon0 + std::atan2(std::sin(bearing) * sinA * cosLat0, cosA - sinLat0 * std::sin(lat));
        // Keep each point within half a turn of the one before.
        lon += 2.0 * kPi * std::round((previous - lon) / (2.0 * kPi));
        previous = lon;
        out.push_back({lat, lon});
    }
    // A circle round a pole comes back a whole turn away from where it began.
    if (std::fabs(out.back().longitude - out.front().longitude) > kPi)
        outline.pole = lat0 >= 0 ? 1 : -1;
    return outline;
}

} // namespace orbiter
