#include "host/aprs/SmartBeacon.h"

#include <algorithm>
#include <cmath>

double courseChange(double from, double to)
{
    const double d = std::fmod(std::abs(to - from), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

qint64 SmartBeacon::intervalAt(double speedKmh) const
{
    if (!(speedKmh > slowSpeed))
        return slowIntervalMs;
    if (speedKmh >= fastSpeed)
        return fastIntervalMs;
    const double ms = double(fastIntervalMs) * fastSpeed / speedKmh;
    return std::min(slowIntervalMs, qint64(ms));
}

double SmartBeacon::turnThreshold(double speedKmh) const
{
    return turnAngle + turnSlope / std::max(speedKmh, 1.0);
}

bool SmartBeacon::due(qint64 sinceLastMs, double lastCourse, double course, double speedKmh) const
{
    if (sinceLastMs < minTurnMs)
        return false;
    if (sinceLastMs >= intervalAt(speedKmh))
        return true;
    return speedKmh > slowSpeed && courseChange(lastCourse, course) > turnThreshold(speedKmh);
}
