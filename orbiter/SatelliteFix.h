#pragma once

#include "orbiter/EarthFrames.h"
#include "orbiter/Sgp4.h"

namespace orbiter {

// Where a satellite is at one moment: its state in the model's frame and on
// the rotating Earth, the point beneath it and, for a site, how it is seen.
struct SatelliteFix
{
    Sgp4Error error = Sgp4Error::None;
    Vec3 teme, temeVelocity;
    Vec3 ecef, ecefVelocity;
    Geodetic subPoint;  // geodetic latitude, longitude -pi..pi, height above the ellipsoid
    LookAngles look;    // only when a site was given
};

SatelliteFix fixAt(Sgp4 &model, double unixSeconds, const Site *site = nullptr);

// Minutes since the element set's epoch.
inline double minutesSinceEpoch(const Sgp4 &model, double unixSeconds)
{
    return (unixSeconds - model.elements().epochUnix) / 60.0;
}

} // namespace orbiter
