#include "FakeHost.h"

#include <QColor>

#include <cmath>

void FakeHostMap::setPenSetting(qint16 value) { calls << QStringLiteral("pen(%1)").arg(value); }
void FakeHostMap::setModeSetting(qint16 value) { calls << QStringLiteral("mode(%1)").arg(value); }
void FakeHostMap::setLegSetting(qint16 value) { calls << QStringLiteral("leg(%1)").arg(value); }

void FakeHostMap::drawLine(int x1, int y1, int x2, int y2, qint32 colour, qint16 &)
{
    calls << QStringLiteral("line(%1,%2,%3,%4,%5)").arg(x1).arg(y1).arg(x2).arg(y2).arg(colour);
}

void FakeHostMap::drawCircle(float longitude, float latitude, float radiusKm, qint32 colour, float a,
                             double b, float c)
{
    calls << QStringLiteral("circle(%1,%2,%3,%4,%5,%6,%7)")
                 .arg(longitude).arg(latitude).arg(radiusKm, 0, 'f', 4).arg(colour).arg(a)
                 .arg(b, 0, 'g', 11).arg(c);
}

void FakeHostMap::placeNamedSymbol(const QString &name, float longitude, float latitude)
{
    calls << QStringLiteral("symbol(%1,%2,%3)").arg(name).arg(longitude).arg(latitude);
}

QImage FakeHostMap::copyArea(int x, int y, int width, int height)
{
    calls << QStringLiteral("copy(%1,%2,%3,%4)").arg(x).arg(y).arg(width).arg(height);
    QImage image(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image;
}

void FakeHostMap::clearDrawings() { calls << QStringLiteral("clear"); }

FakeHostApplication::FakeHostApplication() = default;

bool FakeHostApplication::openLink(const QString &applicationAndTopic, const QString &item,
                                   QString *errorText)
{
    calls << QStringLiteral("openLink(%1,%2)").arg(applicationAndTopic, item);
    if (!linkAnswer) {
        if (errorText)
            *errorText = QStringLiteral("The host is not running");
        return false;
    }
    m_linkOpen = true;
    return true;
}

void FakeHostApplication::closeLink()
{
    calls << QStringLiteral("closeLink");
    m_linkOpen = false;
}

bool FakeHostApplication::lookUpStation(HostStationRecord &record)
{
    calls << QStringLiteral("lookUp(%1)").arg(record.callsign);
    const auto it = stations.constFind(record.callsign);
    if (it == stations.constEnd())
        return false;
    record = *it;
    return true;
}

void FakeHostApplication::refreshMap() { calls << QStringLiteral("refreshMap"); }

QStringList FakeHostApplication::placedObjects()
{
    calls << QStringLiteral("placedObjects");
    return objects;
}

void FakeHostApplication::removePlacedObject(const QString &name)
{
    calls << QStringLiteral("removeObject(%1)").arg(name);
    objects.removeAll(name);
}

int FakeHostApplication::placeObject(const PlacedObject &object)
{
    calls << QStringLiteral("placeObject(%1)").arg(object.name);
    placedLog << object;
    // Placing a name again moves that object, as a host does.
    if (placeAnswer == 0 && !objects.contains(object.name))
        objects << object.name;
    return placeAnswer;
}

qint16 FakeHostApplication::stationListSize()
{
    calls << QStringLiteral("stationListSize");
    return qint16(stationLines.size());
}

QString FakeHostApplication::stationListLine(int index)
{
    return stationLines.value(index);
}

QImage FakeHostApplication::symbolPicture(const QString &symbolTable, const QString &symbolCode)
{
    calls << QStringLiteral("symbolPicture(%1,%2)").arg(symbolTable, symbolCode);
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

HostApplication::DistanceBearing FakeHostApplication::distanceAndBearing(
    double observerLatitude, double observerLongitude, double stationLatitude,
    double stationLongitude, bool kilometres)
{
    calls << QStringLiteral("distance(%1,%2,%3,%4,%5)")
                 .arg(observerLatitude).arg(observerLongitude).arg(stationLatitude)
                 .arg(stationLongitude).arg(kilometres ? "km" : "mi");
    // A flat-earth answer is enough for tests that check the plumbing.
    const double dLat = stationLatitude - observerLatitude;
    const double dLon = stationLongitude - observerLongitude;
    const double degrees = std::sqrt(dLat * dLat + dLon * dLon);
    return {degrees * (kilometres ? 111.2 : 69.1), 0};
}
