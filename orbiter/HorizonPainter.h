#pragma once

#include <QPointF>
#include <QRectF>

class QPainter;

// The horizon view: the observer's sky as a polar plot, the zenith at the
// centre and the horizon at the rim, north up and east to the right as
// rotator displays show it.
namespace orbiter {

struct Scene;

// The centre and radius (the horizon circle) of the plot in an area.
struct PolarFrame
{
    QPointF centre;
    double radius = 0;

    QPointF point(double azimuthDeg, double elevationDeg) const;
};
PolarFrame horizonFrame(const QRectF &area);

void paintHorizon(QPainter &p, const QRectF &area, const Scene &scene);
int horizonSatelliteAt(const Scene &scene, const QRectF &area, const QPointF &pos);

} // namespace orbiter
