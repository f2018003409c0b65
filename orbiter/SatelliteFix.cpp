#include "orbiter/SatelliteFix.h"

namespace orbiter {

SatelliteFix fixAt(Sgp4 &model, double unixSeconds, const Site *site)
{
    SatelliteFix fix;
    fix.error = model.propagate(minutesSinceEpoch(model, unixSeconds), fix.teme, fix.temeVelocity);
    const double g = gmst(unixSeconds);
    fix.ecef = temeToEcef(fix.teme, g);
    fix.ecefVelocity = temeVelocityToEcef(fix.temeVelocity, fix.ecef, g);
    fix.subPoint = ecefToGeodetic(fix.ecef);
    if (site)
        fix.look = lookAngles(*site, fix.ecef, fix.ecefVelocity);
    return fix;
}

} // namespace orbiter
