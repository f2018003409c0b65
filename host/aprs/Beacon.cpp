#include "host/aprs/Beacon.h"

#include <algorithm>
#include <cmath>

QString iniPosition(double degrees, bool longitude)
{
    const double value = std::abs(degrees);
    int whole = int(value);
    double minutes = (value - whole) * 60.0;
    if (std::lround(minutes * 100) >= 6000) {
        ++whole;
        minutes = 0;
    }
    const QChar hemisphere = longitude ? (degrees < 0 ? u'W' : u'E') : (degrees < 0 ? u'S' : u'N');
    return QStringLiteral("%1%2%3")
        .arg(whole, longitude ? 3 : 2, 10, QChar(u'0'))
        .arg(minutes, 5, 'f', 2, QChar(u'0'))
        .arg(hemisphere);
}

QString beaconPayload(double latitude, double longitude, const QString &symbol, const QString &comment)
{
    return u'=' + iniPosition(latitude, false) + symbol.left(1) + iniPosition(longitude, true) + symbol.mid(1, 1)
           + comment;
}

QString beaconPayload(double latitude, double longitude, const QString &symbol, const QString &comment, int course,
                      double speedKnots)
{
    int degrees = ((course % 360) + 360) % 360;
    if (degrees == 0)
        degrees = 360;
    const int knots = int(std::clamp(std::lround(speedKnots), 0L, 999L));
    return beaconPayload(latitude, longitude, symbol,
                         QStringLiteral("%1/%2").arg(degrees, 3, 10, QChar(u'0')).arg(knots, 3, 10, QChar(u'0'))
                             + comment);
}
