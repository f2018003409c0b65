#include "stations/MapPlotting.h"

#include "core/HostApplication.h"
#include "core/HostMap.h"
#include "core/SharedState.h"
#include "stations/FrameDecoder.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr double kKmPerMile = 1.609344;
constexpr qint16 kPathPen = 2;
constexpr qint16 kDxPen = 3;
constexpr qint16 kDrawMode = 13;
constexpr qint16 kLastLeg = 3;

bool fourDigits(const QString &text, qsizetype from)
{
    if (text.size() < from + 4)
        return false;
    for (qsizetype i = from; i < from + 4; ++i)
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return false;
    return true;
}

// Lines join whole minutes, cut towards minus infinity.
int wholeMinutes(double value) { return int(std::floor(value)); }

void line(HostMap &map, double lon1, double lat1, double lon2, double lat2, qint32 colour)
{
    qint16 extra = 0;
    map.drawLine(wholeMinutes(lon1), wholeMinutes(lat1), wholeMinutes(lon2), wholeMinutes(lat2), colour, extra);
}

} // namespace

PhgRngCircle phgRngCircle(const QString &information)
{
    PhgRngCircle circle;
    qsizetype at = information.indexOf(QLatin1String("PHG"));
    if (at >= 0) {
        if (!fourDigits(information, at + 3))
            return circle;
        const int p = information.at(at + 3).digitValue();
        const int h = information.at(at + 4).digitValue();
        const int g = information.at(at + 5).digitValue();
        const double power = double(p) * p;
        const double height = 10.0 * std::pow(2.0, h);
        const double gain = std::pow(10.0, g / 10.0);
        const double miles = std::sqrt(2.0 * height * std::sqrt((gain / 2.0) * (power / 10.0)));
        circle.kind = PhgRngCircle::Phg;
        circle.radiusKm = miles * kKmPerMile;
        return circle;
    }
    at = information.indexOf(QLatin1String("RNG"));
    if (at >= 0 && fourDigits(information, at + 3)) {
        circle.kind = PhgRngCircle::Rng;
        circle.radiusKm = information.mid(at + 3, 4).toInt() * kKmPerMile;
        return circle;
    }
    // A compressed position sends its range as "{" and one base-91 byte
    // (2 x 1.08^s miles) where others send course and speed.
    const QChar type = information.isEmpty() ? QChar() : information.front();
    const qsizetype start = type == QLatin1Char('!') || type == QLatin1Char('=') ? 1
                            : type == QLatin1Char('/') || type == QLatin1Char('@') ? 8
                                                                                   : -1;
    const qsizetype code = start > 0 ? FrameText::symbolCodeAt(information, start) : -1;
    const QChar lead = code > 0 ? information.at(start) : QChar();
    if (code > 0 && !lead.isDigit() && lead != QLatin1Char(' ') && information.size() > code + 2
        && information.at(code + 1) == QLatin1Char('{')) {
        const int s = information.at(code + 2).unicode() - 33;
        if (s >= 0 && s <= 90) {
            circle.kind = PhgRngCircle::Rng;
            circle.radiusKm = 2.0 * std::pow(1.08, s) * kKmPerMile;
        }
    }
    return circle;
}

void PlotPHGRNG(HostMap &map, const HostStationRecord &station)
{
    const PhgRngCircle circle = phgRngCircle(station.information);
    if (circle.kind == PhgRngCircle::None)
        return;
    map.setPenSetting(kPathPen);
    map.setModeSetting(kDrawMode);
    if (circle.kind == PhgRngCircle::Phg)
        map.drawCircle(station.longitude, station.latitude, float(circle.radiusKm), MapColour::Blue,
                       1.0f, 6.28, 1.0f);
    else
        map.drawCircle(station.longitude, station.latitude, float(circle.radiusKm), MapColour::Green,
                       0.0f, double(float(6.2831840515)), 1.0f);
}

int plotPathOnMap(HostApplication &host, const HomeStation &observer, const QString &callsign,
                  const QString &pathCell, const QString &directCell)
{
    HostMap *map = host.map();
    if (!map)
        return 0;
    const QStringList hops = pathCell.split(QLatin1Char(','));
    double lat = observer.latitude;
    double lon = observer.longitude;
    map->setPenSetting(kPathPen);
    map->setModeSetting(kDrawMode);
    qint32 colour = MapColour::Blue;
    bool drawn = false;
    int lines = 0;
    if (directCell != QLatin1String("No")) {
        drawn = true;
    } else {
        for (qsizetype i = hops.size() - 1; i >= 0; --i) {
            // The last element carries the port text ("G7KDF-2* Port=1 "): a
            // callsign never holds a blank, so what follows one is not the hop.
            QString hop = hops.at(i).trimmed().section(QLatin1Char(' '), 0, 0);
            if (hop.endsWith(QLatin1Char('*')))
                hop.chop(1);
            if (hop == QLatin1String("TCPIP"))
                colour = MapColour::Green;
            HostStationRecord record;
            record.callsign = hop;
            if (hop.isEmpty() || !host.lookUpStation(record))
                continue;
            line(*map, lon, lat, record.longitude, record.latitude, colour);
            ++lines;
            lon = record.longitude;
            lat = record.latitude;
            drawn = true;
        }
    }
    if (drawn) {
        HostStationRecord station;
        station.callsign = callsign;
        if (host.lookUpStation(station)) {
            map->setLegSetting(kLastLeg);
            line(*map, lon, lat, station.longitude, station.latitude, colour);
            ++lines;
        }
    }
    shared().plottedPathStation = callsign;
    return lines;
}

DxTarget &dxTarget()
{
    static DxTarget target;
    return target;
}

void plotDxLine(HostMap &map, const HomeStation &observer, const DxTarget &target)
{
    map.setPenSetting(kDxPen);
    map.setModeSetting(kDrawMode);
    line(map, observer.longitude, observer.latitude, target.longitude, target.latitude, MapColour::Red);
}
