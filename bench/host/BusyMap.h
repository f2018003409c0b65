#pragma once

// What the host map benchmarks share: a busy day's stations and a way to
// wait for the map's tiles.
#include "host/map/EmbeddedHostMap.h"
#include "host/StationDatabase.h"
#include "host/aprs/Tnc2.h"

#include <QCoreApplication>
#include <QRandomGenerator>

constexpr double HomeLat = 51.5, HomeLon = -0.125;
constexpr int Stations = 50000;

// Stations spread over the default view, the worst case: every one is drawn.
inline void addStations(StationDatabase &database, QList<QPointF> *positions)
{
    database.setOwnStation(QStringLiteral("G0HOM"), HomeLat * 60, HomeLon * 60, u'/', u'-');
    QRandomGenerator random(7);
    database.reserve(Stations + 1);
    const char symbols[] = {'-', '>', '_', '#', 'k', 'y', '&'};
    for (int i = 0; i < Stations; ++i) {
        const double lat = HomeLat - 0.72 + random.generateDouble() * 1.44;
        const double lon = HomeLon - 1.15 + random.generateDouble() * 2.3;
        if (positions)
            positions->append({lon * 60, lat * 60});
        const QString line = QStringLiteral("B%1>APRS:!%2N/%3W%4")
                                 .arg(i, 6, 10, QChar(u'0'))
                                 .arg(QStringLiteral("%1%2").arg(int(lat)).arg((lat - int(lat)) * 60, 5, 'f', 2, QChar(u'0')))
                                 .arg(QStringLiteral("%1%2").arg(int(-lon), 3, 10, QChar(u'0')).arg((-lon - int(-lon)) * 60, 5, 'f', 2, QChar(u'0')))
                                 .arg(QChar(symbols[i % 7]));
        Tnc2Frame frame;
        if (parseTnc2(line, &frame))
            database.applyFrame(frame, QStringLiteral("2026-12-07 20:00:00"), 1);
    }
}

// Until the map has every tile of its view.
inline void settle(EmbeddedHostMap &map)
{
    map.renderImage();
    while (map.tiles()->waiting() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}
