#include "host/feeds/GpsdFeed.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

bool GpsdFeed::readFix(const QByteArray &line, Fix *fix)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    if (o.value(QLatin1String("class")).toString() != QLatin1String("TPV") || o.value(QLatin1String("mode")).toInt() < 2)
        return false;
    const QJsonValue lat = o.value(QLatin1String("lat")), lon = o.value(QLatin1String("lon"));
    if (!lat.isDouble() || !lon.isDouble())
        return false;
    const double la = lat.toDouble(), lo = lon.toDouble();
    if (!std::isfinite(la) || !std::isfinite(lo) || std::abs(la) > 90 || std::abs(lo) > 180)
        return false;
    fix->latitude = la;
    fix->longitude = lo;
    // gpsd gives the track in degrees and the speed in metres a second.
    const double track = o.value(QLatin1String("track")).toDouble(0);
    const double speed = o.value(QLatin1String("speed")).toDouble(0);
    fix->course = std::isfinite(track) ? track : 0;
    fix->speedKmh = std::isfinite(speed) && speed > 0 ? speed * 3.6 : 0;
    return true;
}

void GpsdFeed::onData(const QByteArray &bytes)
{
    for (const QByteArray &line : splitLines(bytes)) {
        Fix fix;
        if (!readFix(line, &fix))
            continue;
        m_fix = fix;
        m_hasFix = true;
        countOther();
        emit fixReceived(fix.latitude, fix.longitude);
    }
}
