#pragma once

#include <cmath>
#include <numbers>

namespace orbiter {

inline constexpr double kDeg = std::numbers::pi / 180.0;  // radians in a degree

// Longitudes and bearings brought into [0, 360) and [-180, 180).
inline double wrap360(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    return d;
}

inline double wrap180(double degrees)
{
    return wrap360(degrees + 180.0) - 180.0;
}

} // namespace orbiter
