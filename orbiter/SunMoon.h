#pragma once

#include "orbiter/Vec3.h"

// The sun and the moon from the low-precision series of the astronomical
// almanac: a hundredth of a degree for the sun and a few tenths for the
// moon, plenty for drawing them and for day and night on the maps.
namespace orbiter {

// Geocentric positions in km, equatorial frame of date (close enough to the
// model's frame for the same rotation to the Earth-fixed one).
Vec3 sunPosition(double unixSeconds);
Vec3 moonPosition(double unixSeconds);

} // namespace orbiter
