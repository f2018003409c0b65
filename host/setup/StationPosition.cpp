#include "host/setup/StationPosition.h"

#include "options/NationalGrid.h"
#include "options/NumberText.h"
#include "options/PositionFormats.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

QString stationPositionText(const StationPosition &position)
{
    QString lat, lon;
    FormatLatLon(float(position.latitude * 60.0), float(position.longitude * 60.0), &lat, &lon);
    return lat + u' ' + lon;
}

bool readStationPosition(const QString &text, StationPosition *position, QString *problem)
{
    auto fail = [&](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    const QString t = text.trimmed();
    if (t.isEmpty())
        return fail(QStringLiteral("Type the position."));

    if (readMaidenhead(t, &position->latitude, &position->longitude))
        return true;

    QString grid = t;
    double northing = 0, easting = 0;
    if (ParseGridReference(grid, &northing, &easting)) {
        GridToLatLon(easting, northing, &position->latitude, &position->longitude);
        return true;
    }

    QStringList parts = QString(t).replace(u',', u' ').split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return fail(QStringLiteral("\"%1\" is not a position: type 51.30.00N 000.07.50W, 51.5 -0.125, "
                                   "a grid reference such as SU 123 456 or a locator such as IO91wm.")
                        .arg(t));
    const QChar end = parts[0].back().toUpper();
    if (end.isLetter()) {
        parts[0] = parts[0].toUpper();
        parts[1] = parts[1].toUpper();
        QString lat = parts[0], lon = parts[1], spare = parts[1];
        if (strValidateLatLon(lat, spare, false) != PositionCheck::Ok)
            return fail(QStringLiteral("\"%1\" is not a latitude: type it as 51.30.00N.").arg(parts[0]));
        spare = lat;
        if (strValidateLatLon(lon, spare, true) != PositionCheck::Ok)
            return fail(QStringLiteral("\"%1\" is not a longitude: type it as 000.07.50W.").arg(parts[1]));
        position->latitude = sConvertPos(lat) / 60.0;
        position->longitude = sConvertPos(lon) / 60.0;
        return true;
    }
    double lat = 0, lon = 0;
    if (!NumberText::strictNumber(parts[0], &lat) || std::abs(lat) > 90)
        return fail(QStringLiteral("\"%1\" is not a latitude: decimal degrees run from -90 to 90.").arg(parts[0]));
    if (!NumberText::strictNumber(parts[1], &lon) || std::abs(lon) > 180)
        return fail(QStringLiteral("\"%1\" is not a longitude: decimal degrees run from -180 to 180.").arg(parts[1]));
    position->latitude = lat;
    position->longitude = lon;
    return true;
}
