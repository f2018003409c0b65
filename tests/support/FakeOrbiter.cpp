#include "FakeOrbiter.h"

void FakeOrbiter::removeAllSatellites()
{
    calls << QStringLiteral("removeAllSatellites");
    count = 0;
}

void FakeOrbiter::addSatelliteEntry()
{
    calls << QStringLiteral("addSatelliteEntry");
    ++count;
}

void FakeOrbiter::setCurrentEntry(qint16 entry)
{
    calls << QStringLiteral("setCurrentEntry(%1)").arg(entry);
    current = entry;
}

void FakeOrbiter::loadElementSet(const QString &name, const QString &line1, const QString &line2, qint16 entry, qint32 reserved)
{
    calls << QStringLiteral("loadElementSet(%1,%2,%3,%4,%5)").arg(name).arg(line1).arg(line2).arg(entry).arg(reserved);
}

void FakeOrbiter::setIcons(bool on)
{
    calls << QStringLiteral("setIcons(%1)").arg(on);
    iconsOn = on;
}

bool FakeOrbiter::icons() const
{
    return iconsOn;
}

qint16 FakeOrbiter::satelliteCount() const
{
    return count;
}

void FakeOrbiter::setComputationTime(qint16 century, qint16 year, qint16 month, qint16 day, qint16 hour, qint16 minute, qint16 second)
{
    calls << QStringLiteral("setComputationTime(%1,%2,%3,%4,%5,%6,%7)").arg(century).arg(year).arg(month).arg(day).arg(hour).arg(minute).arg(second);
}

void FakeOrbiter::computePosition()
{
    calls << QStringLiteral("computePosition");
}

void FakeOrbiter::computePass()
{
    calls << QStringLiteral("computePass");
}

float FakeOrbiter::subSatelliteLongitude() const
{
    return answers.value(current).longitude;
}

float FakeOrbiter::subSatelliteLatitude() const
{
    return answers.value(current).latitude;
}

qint32 FakeOrbiter::elevation() const
{
    return answers.value(current).elevation;
}

QDateTime FakeOrbiter::nextPassTime() const
{
    return answers.value(current).nextPass;
}

QString FakeOrbiter::satelliteName() const
{
    return answers.value(current).name;
}

float FakeOrbiter::furtherValue() const
{
    return answers.value(current).further;
}

QString FakeOrbiter::positionProblem() const
{
    return answers.value(current).problem;
}

void FakeOrbiter::setDisplayStyle(qint32 style)
{
    calls << QStringLiteral("setDisplayStyle(%1)").arg(style);
    this->style = style;
}

qint32 FakeOrbiter::displayStyle() const
{
    return style;
}

void FakeOrbiter::setFolders(const QString &dataFolder, const QString &imageFolder)
{
    calls << QStringLiteral("setFolders(%1,%2)").arg(dataFolder).arg(imageFolder);
}

void FakeOrbiter::setDisplayOn(bool on)
{
    calls << QStringLiteral("setDisplayOn(%1)").arg(on);
}

void FakeOrbiter::setObserverName(const QString &name)
{
    calls << QStringLiteral("setObserverName(%1)").arg(name);
}

void FakeOrbiter::setObserverLatitude(double degrees)
{
    calls << QStringLiteral("setObserverLatitude(%1)").arg(degrees);
}

void FakeOrbiter::setObserverLongitude(double degrees)
{
    calls << QStringLiteral("setObserverLongitude(%1)").arg(degrees);
}

void FakeOrbiter::setObserverHeight(double height)
{
    calls << QStringLiteral("setObserverHeight(%1)").arg(height);
}

void FakeOrbiter::setTimeZoneAdjust(qint16 adjust)
{
    calls << QStringLiteral("setTimeZoneAdjust(%1)").arg(adjust);
}

void FakeOrbiter::setTimeZoneName(const QString &name)
{
    calls << QStringLiteral("setTimeZoneName(%1)").arg(name);
}

void FakeOrbiter::setDaylight(bool on)
{
    calls << QStringLiteral("setDaylight(%1)").arg(on);
}

void FakeOrbiter::setDaylightOffset(int hours)
{
    calls << QStringLiteral("setDaylightOffset(%1)").arg(hours);
}

void FakeOrbiter::setSecondLatitude(double degrees)
{
    calls << QStringLiteral("setSecondLatitude(%1)").arg(degrees);
}

void FakeOrbiter::setSecondLongitude(double degrees)
{
    calls << QStringLiteral("setSecondLongitude(%1)").arg(degrees);
}

void FakeOrbiter::setSecondHeight(double height)
{
    calls << QStringLiteral("setSecondHeight(%1)").arg(height);
}

void FakeOrbiter::setSecondName(const QString &name)
{
    calls << QStringLiteral("setSecondName(%1)").arg(name);
}

void FakeOrbiter::setSecondInUse(bool on)
{
    calls << QStringLiteral("setSecondInUse(%1)").arg(on);
}

void FakeOrbiter::applySettings()
{
    calls << QStringLiteral("applySettings");
}

void FakeOrbiter::setPlotLines(bool lines)
{
    calls << QStringLiteral("setPlotLines(%1)").arg(lines);
}

void FakeOrbiter::setShowMoon(bool on)
{
    calls << QStringLiteral("setShowMoon(%1)").arg(on);
}

void FakeOrbiter::setShowSun(bool on)
{
    calls << QStringLiteral("setShowSun(%1)").arg(on);
}

void FakeOrbiter::setOrbitCount(int orbits)
{
    calls << QStringLiteral("setOrbitCount(%1)").arg(orbits);
}

void FakeOrbiter::setPlotInterval(int seconds)
{
    calls << QStringLiteral("setPlotInterval(%1)").arg(seconds);
}
