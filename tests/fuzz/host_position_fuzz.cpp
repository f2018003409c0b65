// The home position in the host's UIVIEW32.INI, read by the loading
// sequence and by the embedded host: both give a place on the Earth, and
// where the host takes a position the two agree. From there the position
// goes on: the host's map opens on it, distances and bearings start at it,
// and the DX line leaves it.
#include "FuzzSupport.h"

#include "app/LoadingSequence.h"
#include "core/PrivateProfile.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/map/GeoMath.h"
#include "host/StationDatabase.h"
#include "stations/MapPlotting.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

namespace {

// The difference of two longitudes in degrees, -180 to 180.
double longitudeApart(double a, double b) { return std::remainder(a - b, 360.0); }

void checkMapAndDistances(const HomeStation &home)
{
    const double lat = home.latitude / 60.0, lon = home.longitude / 60.0;
    EmbeddedHostMap map(nullptr);
    map.setSize(QSize(200, 150));
    map.setHome(QStringLiteral("HOME"), lat, lon);
    const MapProjection &view = map.projection();
    const QPointF middle(100, 75);
    const QPointF at = view.toPixel(lat, lon);
    fuzz::require(std::fabs(at.x() - middle.x()) < 0.5 && std::fabs(at.y() - middle.y()) < 0.5,
                  "the host's map opens on home", QStringLiteral("%1 %2 at %3,%4").arg(lat).arg(lon).arg(at.x()).arg(at.y()));
    double backLat = 0, backLon = 0;
    view.toDegrees(at, &backLat, &backLon);
    fuzz::require(std::fabs(backLat - std::clamp(lat, -MapProjection::MaxLatitude, MapProjection::MaxLatitude)) < 1e-6
                      && std::fabs(longitudeApart(backLon, lon)) < 1e-6,
                  "the middle of the map reads as home", QStringLiteral("%1 %2 / %3 %4").arg(lat).arg(lon).arg(backLat).arg(backLon));

    const double farthest = std::numbers::pi * geo::EarthRadiusKm;
    const QPointF targets[] = {{lon + 180, -lat}, {0, 90}, {0, -90}, {lon - 0.5, lat + 0.5}, {180, 0}};
    for (const QPointF &target : targets) {
        const double tLat = std::clamp(target.y(), -90.0, 90.0), tLon = target.x();
        const QString detail = QStringLiteral("%1 %2 to %3 %4").arg(lat).arg(lon).arg(tLat).arg(tLon);
        const geo::DistanceBearing db = geo::distanceBearing(lat, lon, tLat, tLon);
        fuzz::require(std::isfinite(db.distanceKm) && db.distanceKm >= 0 && db.distanceKm <= farthest * (1 + 1e-12),
                      "a distance on the Earth", detail + QStringLiteral(": %1 km").arg(db.distanceKm));
        fuzz::require(db.bearing >= 0 && db.bearing < 360, "a bearing on the compass",
                      detail + QStringLiteral(": %1").arg(db.bearing));
        // Going that far along that bearing arrives (where the bearing is
        // defined well: not from a pole, not to the far side of the Earth).
        if (db.distanceKm > 1 && db.distanceKm < 0.9 * farthest && std::fabs(lat) < 89) {
            const QPointF arrived = geo::destination(lat, lon, db.bearing, db.distanceKm);
            const double miss = geo::distanceBearing(arrived.y(), arrived.x(), tLat, tLon).distanceKm;
            fuzz::require(miss < 0.1, "the bearing leads to the station", detail + QStringLiteral(": %1 km off").arg(miss));
        }

        // The DX line leaves home, seen in the middle of the map.
        map.clearDrawings();
        DxTarget dx;
        dx.latitude = tLat * 60;
        dx.longitude = tLon * 60;
        plotDxLine(map, home, dx);
        fuzz::require(map.drawingCount() == 1, "the DX line is drawn", detail);
        MapDrawings drawings;
        for (const MapDrawings::Drawing &d : map.drawings())
            drawings.add(d);
        QImage picture(view.size(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            drawings.paint(painter, view);
        }
        bool seen = false;
        for (int y = 75 - 6; y <= 75 + 6 && !seen; ++y)
            for (int x = 100 - 6; x <= 100 + 6 && !seen; ++x)
                seen = qAlpha(picture.pixel(x, y)) != 0;
        const QPointF end = view.toPixel(tLat, tLon);
        // A line shorter than a pixel may leave none.
        if (std::hypot(end.x() - middle.x(), end.y() - middle.y()) > 8)
            fuzz::require(seen, "the DX line leaves home", detail);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The host's map paints.
    fuzz::startApplication<QGuiApplication>();
    // Only the folder outlives an input; the file is written afresh.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UIVIEW32.INI"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const HomeStation home = ReadHostStation(dir.path());
    fuzz::require(std::isfinite(home.latitude) && std::fabs(home.latitude) <= 90 * 60, "a home latitude",
                  QString::number(home.latitude));
    fuzz::require(std::isfinite(home.longitude) && std::fabs(home.longitude) <= 180 * 60, "a home longitude",
                  QString::number(home.longitude));

    PrivateProfile ini(path);
    ini.load();
    const double read[] = {home.latitude, home.longitude};
    for (bool longitude : {false, true}) {
        const QString text = ini.value(QStringLiteral("STATION"), longitude ? QStringLiteral("LONGITUDE")
                                                                             : QStringLiteral("LATITUDE"));
        double minutes = 0;
        if (!parseIniPosition(text, longitude, &minutes))
            continue;
        fuzz::require(std::fabs(minutes) <= (longitude ? 180 : 90) * 60, "the host's position on the Earth", text);
        fuzz::require(std::fabs(minutes - read[longitude]) < 1e-6, "both readers agree",
                      text + QStringLiteral(": %1 / %2").arg(minutes).arg(read[longitude]));
    }
    checkMapAndDistances(home);
    return 0;
}
