#include "orbiter/GlobePainter.h"
#include "orbiter/Angles.h"

#include "orbiter/Footprint.h"
#include "orbiter/PaintKit.h"
#include "orbiter/Scene.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

// Draws a line through places, broken where it passes behind the Earth.
template<typename Points>
void paintVisible(QPainter &p, const GlobeFrame &f, const Points &points)
{
    QPolygonF run;
    for (const auto &pt : points) {
        QPointF at;
        if (f.project(pt.first, pt.second, at)) {
            run << at;
        } else {
            if (run.size() > 1)
                p.drawPolyline(run);
            run.clear();
        }
    }
    if (run.size() > 1)
        p.drawPolyline(run);
}

void paintStars(QPainter &p, const QRectF &area)
{
    // The same sky every time: a fixed sequence, not a random one.
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    p.setPen(Qt::NoPen);
    const int stars = int(area.width() * area.height() / 2500.0);
    for (int i = 0; i < stars; ++i) {
        const QPointF at(area.left() + next() * area.width(), area.top() + next() * area.height());
        const double bright = next();
        p.setBrush(QColor(255, 255, 255, int(60 + 150 * bright * bright)));
        const double r = 0.5 + bright * 0.9;
        p.drawEllipse(at, r, r);
    }
}

// Space, its stars and the glow of the atmosphere round the limb, for an
// area of that size: drawn once and then only copied.
const QImage &backdrop(const QSizeF &size, const GlobeFrame &f, qreal ratio)
{
    static QImage image;
    static QSizeF imageSize;
    static QPointF imageCentre;
    static double imageRadius = 0;
    if (image.isNull() || size != imageSize || f.centre != imageCentre || f.radius != imageRadius
        || image.devicePixelRatio() != ratio) {
        imageSize = size;
        imageCentre = f.centre;
        imageRadius = f.radius;
        image = QImage((size * ratio).toSize().expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area(QPointF(0, 0), size);
        QLinearGradient space(area.topLeft(), area.bottomRight());
        space.setColorAt(0, QColor(4, 6, 16));
        space.setColorAt(1, QColor(12, 16, 36));
        p.fillRect(area, space);
        paintStars(p, area);
        QRadialGradient glow(f.centre, f.radius * 1.06);
        glow.setColorAt(0.90, QColor(80, 140, 255, 0));
        glow.setColorAt(0.945, QColor(90, 160, 255, 110));
        glow.setColorAt(1.0, QColor(80, 140, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(f.centre, f.radius * 1.06, f.radius * 1.06);
    }
    return image;
}

void paintGraticule(QPainter &p, const GlobeFrame &f)
{
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    std::vector<std::pair<double, double>> line;
    for (int lon = -180; lon < 180; lon += 30) {
        line.clear();
        for (int lat = -90; lat <= 90; lat += 2)
            line.emplace_back(lat, lon);
        paintVisible(p, f, line);
    }
    for (int lat = -60; lat <= 60; lat += 30) {
        line.clear();
        for (int lon = -180; lon <= 180; lon += 2)
            line.emplace_back(lat, lon);
        p.setPen(QPen(QColor(255, 255, 255, lat == 0 ? 70 : 40), 1));
        paintVisible(p, f, line);
    }
}

std::vector<std::pair<double, double>> ringPoints(const Outline &outline)
{
    std::vector<std::pair<double, double>> points;
    for (const LatLon &pt : outline.ring)
        points.emplace_back(pt.latitude / kDeg, pt.longitude / kDeg);
    if (outline.pole == 0 && !points.empty())
        points.push_back(points.front());
    return points;
}

} // namespace

bool GlobeFrame::project(double latDeg, double lonDeg, QPointF &out) const
{
    const double lat = latDeg * kDeg;
    const double dl = (lonDeg - longitude) * kDeg;
    const double lat0 = latitude * kDeg;
    const double cosC = std::sin(lat0) * std::sin(lat) + std::cos(lat0) * std::cos(lat) * std::cos(dl);
    const double x = radius * std::cos(lat) * std::sin(dl);
    const double y = radius * (std::cos(lat0) * std::sin(lat) - std::sin(lat0) * std::cos(lat) * std::cos(dl));
    out = QPointF(centre.x() + x, centre.y() - y);
    return cosC >= 0;
}

GlobeFrame globeFrame(const QRectF &area, double latitude, double longitude)
{
    GlobeFrame f;
    f.centre = area.center();
    f.radius = std::max(4.0, std::floor(std::min(area.width(), area.height()) / 2.0 * 0.9));
    f.latitude = latitude;
    f.longitude = longitude;
    return f;
}

void paintGlobe(QPainter &p, const QRectF &area, const Scene &scene, const QImage &globeImage)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const GlobeFrame f = globeFrame(area, scene.observer.latitude, scene.observer.longitude);
    const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const GlobeFrame local{f.centre - area.topLeft(), f.radius, f.latitude, f.longitude};
    p.drawImage(area.topLeft(), backdrop(area.size(), local, ratio));
    if (!globeImage.isNull())
        p.drawImage(QPointF(f.centre.x() - f.radius, f.centre.y() - f.radius), globeImage);
    // Lines are drawn only through places on the near side, whose places on
    // the picture are inside the disc: no clipping to it is needed.
    paintGraticule(p, f);

    const DisplayOptions &o = scene.options;
    const int chosen = scene.selected;
    if (o.showMoon && o.moonFootprint) {
        p.setPen(QPen(QColor(220, 220, 240, 150), 1.2, Qt::DashLine));
        paintVisible(p, f, ringPoints(footprintOutline(scene.moon.latitude * kDeg, scene.moon.longitude * kDeg,
                                                       scene.moonFootprintAngle * kDeg, 180)));
    }
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid)
            continue;
        QColor c = satelliteColour(i);
        c.setAlpha(i == chosen ? 230 : 90);
        p.setPen(QPen(c, i == chosen ? 1.8 : 1.0));
        // Two points a degree of radius draw a smooth ring.
        const int points = i == chosen ? 120 : std::clamp(int(sat.footprintAngle * 2), 36, 120);
        paintVisible(p, f, ringPoints(footprintOutline(sat.latitude * kDeg, sat.longitude * kDeg,
                                                       sat.footprintAngle * kDeg, points)));
        std::vector<std::pair<double, double>> track;
        track.reserve(sat.groundTrack.size());
        for (const auto &pt : sat.groundTrack)
            track.emplace_back(pt.latitude, pt.longitude);
        c.setAlpha(i == chosen ? 235 : 75);
        // Lines of one pixel take the painter's fast road; only the selected
        // track is drawn wider. Points are drawn as points, not as dashes.
        const double width = i == chosen ? 2.2 : 1.0;
        if (o.lines) {
            p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
            paintVisible(p, f, track);
        } else {
            p.setPen(QPen(c, width * 1.8 + 0.6, Qt::SolidLine, Qt::RoundCap));
            QPolygonF near;
            QPointF at;
            for (const auto &[latitude, longitude] : track)
                if (f.project(latitude, longitude, at))
                    near << at;
            p.drawPoints(near);
        }
    }

    const QFont font = viewFont(area);
    const double size = std::clamp(f.radius / 16.0, 9.0, 22.0);
    QPointF at;
    if (f.project(scene.observer.latitude, scene.observer.longitude, at)) {
        drawObserver(p, at, size * 0.9, QColor(255, 90, 60));
        haloText(p, at + QPointF(size * 0.7, font.pixelSize() * 1.1), scene.observer.name, font, QColor(255, 200, 190));
    }
    if (scene.second && f.project(scene.second->latitude, scene.second->longitude, at)) {
        drawObserver(p, at, size * 0.9, QColor(255, 170, 40));
        haloText(p, at + QPointF(size * 0.7, font.pixelSize() * 1.1), scene.second->name, font, QColor(255, 225, 170));
    }
    if (o.showSun && f.project(scene.sun.latitude, scene.sun.longitude, at))
        drawSun(p, at, size * 0.45);
    if (o.showMoon && f.project(scene.moon.latitude, scene.moon.longitude, at))
        drawMoon(p, at, size * 0.45);
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid || !f.project(sat.latitude, sat.longitude, at))
            continue;
        drawSatellite(p, at, size, satelliteColour(i), o.icons, i == chosen);
        haloText(p, at + QPointF(size * 0.9, font.pixelSize() * 0.35), sat.name, font, satelliteColour(i));
    }
    if (o.dataFields)
        paintDataFields(p, area, scene, Qt::BottomLeftCorner);
    p.restore();
}

int globeSatelliteAt(const Scene &scene, const QRectF &area, const QPointF &pos)
{
    const GlobeFrame f = globeFrame(area, scene.observer.latitude, scene.observer.longitude);
    int best = -1;
    double bestDistance = std::clamp(f.radius / 16.0, 9.0, 22.0);
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        QPointF at;
        if (!sat.valid || !f.project(sat.latitude, sat.longitude, at))
            continue;
        const QPointF d = at - pos;
        const double distance = std::hypot(d.x(), d.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace orbiter
