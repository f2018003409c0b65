#include "satellites/TrackerSettings.h"

#include "core/Configuration.h"
#include "satellites/OrbiterControl.h"
#include "zones/TimeZones.h"

#include <cmath>

void pushTrackerSettings(OrbiterControl &orbiter, const Configuration &c, const TimeZoneRecord &zone,
                         const QDateTime &now)
{
    // Whole hours with halves to even, as every other rounding in the
    // program: Lord Howe's -30 minutes give 0.
    const int daylightOffset = int(std::nearbyint(zone.DaylightBias / 60.0));
    // Only without a zone in the table do the stored name and hours stand.
    const bool known = !zone.standardName.isEmpty();
    orbiter.setObserverName(c.observer);
    orbiter.setObserverLatitude(c.latitude);
    orbiter.setObserverLongitude(c.longitude);
    orbiter.setObserverHeight(c.height);
    orbiter.setDistanceInMiles(c.miles);
    orbiter.setTimeZoneAdjust(known ? qint16(std::nearbyint(zone.Bias / 60.0)) : c.timezoneAdjust);
    orbiter.setTimeZoneName(known ? zone.standardName : c.timezone);
    // The stored flag goes first, then the zone's state now overrides it.
    orbiter.setDaylight(c.daylightSaving);
    orbiter.setDaylightOffset(daylightOffset);
    const bool inForce = zoneClockAt(now, zone).daylight;
    orbiter.setDaylight(inForce);
    orbiter.setDaylightOffset(inForce ? daylightOffset : 0);
    orbiter.setSecondLatitude(c.secondLatitude);
    orbiter.setSecondLongitude(c.secondLongitude);
    orbiter.setSecondHeight(c.secondHeight);
    orbiter.setSecondName(c.secondLocation);
    orbiter.setSecondInUse(c.secondUsed);
    orbiter.setIcons(c.satelliteIcons);
    orbiter.applySettings();
}
