#pragma once

#include <QDateTime>
#include <QString>

// The satellite tracking control hosted on the satellite status window, by
// the roles Kestrel relies on. Angles in degrees.
class OrbiterControl
{
public:
    virtual ~OrbiterControl() = default;

    virtual void removeAllSatellites() = 0;
    virtual void addSatelliteEntry() = 0;
    // -1, 0, then 1 to count: addresses the reads and writes that follow.
    virtual void setCurrentEntry(qint16 entry) = 0;
    virtual void loadElementSet(const QString &name, const QString &line1, const QString &line2,
                                qint16 entry, qint32 reserved) = 0;
    virtual void setIcons(bool on) = 0;
    virtual bool icons() const = 0;
    virtual qint16 satelliteCount() const = 0;

    virtual void setComputationTime(qint16 century, qint16 year, qint16 month, qint16 day,
                                    qint16 hour, qint16 minute, qint16 second) = 0;
    // Called in this order once the time is set.
    virtual void computePosition() = 0;
    virtual void computePass() = 0;

    virtual float subSatelliteLongitude() const = 0;  // 0 to 360
    virtual float subSatelliteLatitude() const = 0;
    virtual qint32 elevation() const = 0;  // negative below the horizon
    virtual QDateTime nextPassTime() const = 0;
    virtual QString satelliteName() const = 0;
    virtual float furtherValue() const = 0;
    // Why the current entry has no position at the computation time (the
    // model refused its elements, it has decayed ...); empty when it has one.
    virtual QString positionProblem() const = 0;

    // 0 text, 1 world, 2 horizon, 3 globe.
    virtual void setDisplayStyle(qint32 style) = 0;
    virtual qint32 displayStyle() const = 0;
    virtual void setFolders(const QString &dataFolder, const QString &imageFolder) = 0;
    virtual void setDisplayOn(bool on) = 0;

    virtual void setObserverName(const QString &name) = 0;
    virtual void setObserverLatitude(double degrees) = 0;
    virtual void setObserverLongitude(double degrees) = 0;
    virtual void setObserverHeight(double height) = 0;
    // Ranges, heights and footprints in miles, else kilometres, as every
    // other distance Kestrel shows.
    virtual void setDistanceInMiles(bool /*miles*/) {}

    virtual void setTimeZoneAdjust(qint16 adjust) = 0;
    virtual void setTimeZoneName(const QString &name) = 0;
    virtual void setDaylight(bool on) = 0;
    virtual void setDaylightOffset(int hours) = 0;

    virtual void setSecondLatitude(double degrees) = 0;
    virtual void setSecondLongitude(double degrees) = 0;
    virtual void setSecondHeight(double height) = 0;
    virtual void setSecondName(const QString &name) = 0;
    virtual void setSecondInUse(bool on) = 0;

    // Recomputes with the settings above.
    virtual void applySettings() = 0;

    virtual void setPlotLines(bool lines) = 0;  // false: points
    virtual void setShowMoon(bool on) = 0;
    virtual void setShowSun(bool on) = 0;
    virtual void setOrbitCount(int orbits) = 0;
    virtual void setPlotInterval(int seconds) = 0;  // 15, 30, 60, or 1 for automatic
};
