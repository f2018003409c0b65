#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>

class QPainter;

// The globe view: the Earth as seen from far out above the observer
// (orthographic), with day and night, tracks, footprints and satellites.
namespace orbiter {

struct Scene;

struct GlobeFrame
{
    QPointF centre;
    double radius = 0;
    double latitude = 0, longitude = 0;  // of the centre, degrees

    // The point of a place, false when it lies on the far side.
    bool project(double latitudeDeg, double longitudeDeg, QPointF &out) const;
};
GlobeFrame globeFrame(const QRectF &area, double latitude, double longitude);

// globeImage: from EarthBackgrounds::globe for a diameter of 2 * frame radius.
void paintGlobe(QPainter &p, const QRectF &area, const Scene &scene, const QImage &globeImage);
int globeSatelliteAt(const Scene &scene, const QRectF &area, const QPointF &pos);

} // namespace orbiter
