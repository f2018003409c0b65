#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>

class QPainter;

// The world view: an equirectangular map with day and night, ground
// tracks, footprints, the sun, the moon, the observers and the satellites.
namespace orbiter {

struct Scene;

// The largest 2:1 rectangle centred in the area.
QRectF worldMapRect(const QRectF &area);
// A place on the map; the longitude is not wrapped, so points of an
// unwrapped line stay next to each other.
QPointF worldPoint(const QRectF &map, double latitude, double longitude);

// background: from EarthBackgrounds::world for worldMapRect(area).size().
void paintWorldMap(QPainter &p, const QRectF &area, const Scene &scene, const QImage &background);

// The satellite drawn at pos (index into scene.satellites), or -1.
int worldSatelliteAt(const Scene &scene, const QRectF &area, const QPointF &pos);

} // namespace orbiter
