#include "orbiter/WorldMapPainter.h"
#include "orbiter/Angles.h"

#include "core/EarthImage.h"
#include "orbiter/Footprint.h"
#include "orbiter/PaintKit.h"
#include "orbiter/Scene.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

// Size of the markers for this map.
double markerSize(const QRectF &map)
{
    return std::clamp(map.width() / 70.0, 9.0, 22.0);
}

// Draws a line or outline given in unwrapped longitudes once for each copy
// of the world it touches: the polygon is worked out once and moved.
template<typename Draw>
void eachCopy(QPainter &p, const QRectF &map, const QPolygonF &polygon, Draw draw)
{
    const QRectF bounds = polygon.boundingRect();
    for (double shift : {-360.0, 0.0, 360.0}) {
        const double dx = shift / 360.0 * map.width();
        if (bounds.translated(dx, 0).intersects(map))
            draw(p, polygon.translated(dx, 0));
    }
}

QPolygonF toPolygon(const QRectF &map, const std::vector<LatLon> &points)
{
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()) + 1);
    for (const LatLon &pt : points)
        poly << worldPoint(map, pt.latitude / kDeg, pt.longitude / kDeg);
    return poly;
}

// A circle on the map: its area filled, then its ring (only the ring, so a
// circle round a pole gets no line along the map's edge).
void paintOutline(QPainter &p, const QRectF &map, const Outline &outline, const QPen &pen, const QBrush &brush)
{
    if (outline.ring.empty())
        return;
    if (brush.style() != Qt::NoBrush) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        eachCopy(p, map, toPolygon(map, outline.area()),
                 [](QPainter &painter, const QPolygonF &area) { painter.drawPolygon(area); });
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPolygonF ring = toPolygon(map, outline.ring);
    if (outline.pole == 0)
        ring << ring.front();
    eachCopy(p, map, ring, [](QPainter &painter, const QPolygonF &line) { painter.drawPolyline(line); });
}

void paintGraticule(QPainter &p, const QRectF &map)
{
    p.setPen(QPen(QColor(255, 255, 255, 38), 1));
    for (int lon = -150; lon <= 150; lon += 30)
        p.drawLine(worldPoint(map, 90, lon), worldPoint(map, -90, lon));
    for (int lat = -60; lat <= 60; lat += 30) {
        p.setPen(QPen(QColor(255, 255, 255, lat == 0 ? 70 : 38), 1));
        p.drawLine(worldPoint(map, lat, -180), worldPoint(map, lat, 180));
    }
}

void paintTrack(QPainter &p, const QRectF &map, const SceneSatellite &sat, const QColor &colour, bool selected,
                bool lines)
{
    if (sat.groundTrack.size() < 2)
        return;
    QPolygonF base;
    base.reserve(qsizetype(sat.groundTrack.size()));
    for (const auto &pt : sat.groundTrack)
        base << worldPoint(map, pt.latitude, pt.longitude);
    QColor c = colour;
    c.setAlpha(selected ? 235 : 95);
    // Lines of one pixel take the painter's fast road; only the selected
    // track is drawn wider.
    const double width = selected ? std::max(1.8, map.width() / 600.0) : 1.0;
    if (lines)
        p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else
        p.setPen(QPen(c, width * 1.8 + 0.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    eachCopy(p, map, base, [lines](QPainter &painter, const QPolygonF &track) {
        if (lines)
            painter.drawPolyline(track);
        else
            painter.drawPoints(track);
    });
}

void paintLabel(QPainter &p, const QRectF &map, const QPointF &at, const QString &text, const QFont &font,
                const QColor &colour, double offset)
{
    // Measuring a text shapes it; the same labels come back at every refresh.
    static QHash<QString, double> widths;
    if (widths.size() > 2000)
        widths.clear();
    const QString key = font.key() + u'|' + text;
    auto known = widths.constFind(key);
    if (known == widths.constEnd())
        known = widths.insert(key, QFontMetricsF(font).horizontalAdvance(text));
    const QFontMetricsF fm(font);
    const double w = *known;
    QPointF baseline(at.x() + offset, at.y() + fm.ascent() * 0.35);
    if (baseline.x() + w > map.right() - 2)
        baseline.setX(at.x() - offset - w);
    haloText(p, baseline, text, font, colour);
}

} // namespace

QRectF worldMapRect(const QRectF &area)
{
    const double w = std::min(area.width(), area.height() * 2.0);
    const double h = w / 2.0;
    return QRectF(area.center().x() - w / 2.0, area.center().y() - h / 2.0, w, h);
}

QPointF worldPoint(const QRectF &map, double latitude, double longitude)
{
    return {map.left() + (longitude + 180.0) / 360.0 * map.width(), map.top() + (90.0 - latitude) / 180.0 * map.height()};
}

void paintWorldMap(QPainter &p, const QRectF &area, const Scene &scene, const QImage &background)
{
    p.save();
    p.fillRect(area, QColor(10, 16, 30));
    const QRectF map = worldMapRect(area);
    if (!background.isNull())
        p.drawImage(map, background);
    p.setClipRect(map);
    p.setRenderHint(QPainter::Antialiasing);
    paintGraticule(p, map);

    const DisplayOptions &o = scene.options;
    if (o.showSun && o.sunFootprint) {
        // The terminator: where the sun is on the horizon.
        const auto terminator = footprintOutline(scene.sun.latitude * kDeg, scene.sun.longitude * kDeg,
                                                 std::numbers::pi / 2, 180);
        paintOutline(p, map, terminator, QPen(QColor(255, 220, 120, 90), 1.2), Qt::NoBrush);
    }
    if (o.showMoon && o.moonFootprint) {
        const auto moonUp = footprintOutline(scene.moon.latitude * kDeg, scene.moon.longitude * kDeg,
                                             scene.moonFootprintAngle * kDeg, 180);
        paintOutline(p, map, moonUp, QPen(QColor(220, 220, 240, 150), 1.2, Qt::DashLine), Qt::NoBrush);
    }

    // Footprints first, tracks over them, the selected satellite's last.
    const int chosen = scene.selected;
    auto order = [&](auto draw) {
        for (int i = 0; i < int(scene.satellites.size()); ++i)
            if (i != chosen)
                draw(i);
        if (chosen >= 0)
            draw(chosen);
    };
    order([&](int i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid || sat.footprintAngle <= 0)
            return;
        QColor c = satelliteColour(i);
        // Two points a degree of radius draw a smooth ring at any map size.
        const int points = i == chosen ? 120 : std::clamp(int(sat.footprintAngle * 2), 36, 120);
        const auto outline =
            footprintOutline(sat.latitude * kDeg, sat.longitude * kDeg, sat.footprintAngle * kDeg, points);
        QColor fill = c;
        fill.setAlpha(i == chosen ? 48 : 0);
        c.setAlpha(i == chosen ? 230 : 110);
        paintOutline(p, map, outline, QPen(c, i == chosen ? 1.6 : 1.0), fill.alpha() ? QBrush(fill) : QBrush(Qt::NoBrush));
    });
    order([&](int i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (sat.valid)
            paintTrack(p, map, sat, satelliteColour(i), i == chosen, o.lines);
    });

    const double size = markerSize(map);
    const QFont font = viewFont(area);
    drawObserver(p, worldPoint(map, scene.observer.latitude, wrap180(scene.observer.longitude)), size * 0.9,
                 QColor(255, 90, 60));
    paintLabel(p, map, worldPoint(map, scene.observer.latitude, wrap180(scene.observer.longitude)),
               scene.observer.name, font, QColor(255, 200, 190), size * 0.7);
    if (scene.second) {
        const QPointF at = worldPoint(map, scene.second->latitude, wrap180(scene.second->longitude));
        drawObserver(p, at, size * 0.9, QColor(255, 170, 40));
        paintLabel(p, map, at, scene.second->name, font, QColor(255, 225, 170), size * 0.7);
    }
    if (o.showSun)
        drawSun(p, worldPoint(map, scene.sun.latitude, scene.sun.longitude), size * 0.45);
    if (o.showMoon)
        drawMoon(p, worldPoint(map, scene.moon.latitude, scene.moon.longitude), size * 0.45);

    order([&](int i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid)
            return;
        const QPointF at = worldPoint(map, sat.latitude, sat.longitude);
        drawSatellite(p, at, size, satelliteColour(i), o.icons, i == chosen);
        paintLabel(p, map, at, sat.name, font, satelliteColour(i), size * 0.85);
    });

    p.setClipping(false);
    if (o.dataFields)
        paintDataFields(p, map, scene, Qt::BottomLeftCorner);
    if (EarthImage::image(EarthImage::Kind::Day).isNull())
        haloText(p, map.topLeft() + QPointF(8, 8 + font.pixelSize()), EarthImage::missingNote(), font);
    p.restore();
}

int worldSatelliteAt(const Scene &scene, const QRectF &area, const QPointF &pos)
{
    const QRectF map = worldMapRect(area);
    const double reach = markerSize(map);
    int best = -1;
    double bestDistance = reach;
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid)
            continue;
        const QPointF d = worldPoint(map, sat.latitude, sat.longitude) - pos;
        const double distance = std::hypot(d.x(), d.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace orbiter
