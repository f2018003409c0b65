#include "host/feeds/DxSpotLine.h"

#include "host/map/GeoMath.h"
#include "host/PrefixTable.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

bool parseDxSpotLine(const QString &line, DxSpotLine *spot)
{
    if (line.size() > 512)
        return false;
    static const QRegularExpression pattern(
        // "DX de Q1XYZ:     14025.0 K1ABC" and the compact "DX de Q1XYZ:14025.0 K1ABC".
        QStringLiteral("^DX de ([^:\\s]+?)(?::\\s*|\\s+)(\\d+(?:\\.\\d*)?)\\s+([A-Za-z0-9/]+)\\s*(.*)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(line.trimmed());
    if (!match.hasMatch())
        return false;
    DxSpotLine result;
    result.spotter = match.captured(1);
    if (result.spotter.endsWith(u':'))
        result.spotter.chop(1);
    result.frequency = match.captured(2);
    result.callsign = match.captured(3).toUpper();
    QString rest = match.captured(4).trimmed();
    static const QRegularExpression timeAtEnd(QStringLiteral("(\\d{4}Z)$"));
    const QRegularExpressionMatch time = timeAtEnd.match(rest);
    if (time.hasMatch()) {
        result.time = time.captured(1);
        rest.chop(5);
    }
    result.comment = rest.trimmed();
    *spot = result;
    return true;
}

namespace {

qint16 toInt16(double value)
{
    return qint16(std::clamp<long>(std::lround(value), -32768, 32767));
}

} // namespace

SpotPlace placeOfSpot(const PrefixTable &prefixes, const QString &callsign, double homeLatitude,
                      double homeLongitude, bool miles)
{
    SpotPlace place;
    const PrefixTable::Country *country = prefixes.lookUp(callsign);
    if (!country || !country->hasPosition)
        return place;
    place.latitude = toInt16(country->latitude);
    place.longitude = toInt16(country->longitude);
    const geo::DistanceBearing db =
        geo::distanceBearing(homeLatitude, homeLongitude, country->latitude, country->longitude);
    place.bearing = toInt16(db.bearing) % 360;
    place.distance = toInt16(miles ? db.distanceKm / geo::KmPerMile : db.distanceKm);
    return place;
}
