#include "orbiter/HorizonPainter.h"
#include "orbiter/Angles.h"

#include "orbiter/PaintKit.h"
#include "orbiter/Scene.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

QPolygonF trackPolygon(const PolarFrame &frame, const std::vector<Tracker::SkyPoint> &track)
{
    QPolygonF poly;
    for (const auto &pt : track)
        poly << frame.point(pt.azimuth, std::max(0.0, pt.elevation));
    return poly;
}

void paintSkyGrid(QPainter &p, const PolarFrame &f, const QFont &font, bool daylight)
{
    QRadialGradient sky(f.centre, f.radius);
    sky.setColorAt(0, daylight ? QColor(58, 98, 156) : QColor(16, 26, 52));
    sky.setColorAt(1, daylight ? QColor(120, 160, 205) : QColor(30, 46, 84));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawEllipse(f.centre, f.radius, f.radius);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    for (int az = 0; az < 360; az += 30)
        p.drawLine(f.centre, f.point(az, 0));
    p.setPen(QPen(QColor(255, 255, 255, 70), 1, Qt::DashLine));
    for (int el : {30, 60}) {
        const double r = f.radius * (90 - el) / 90.0;
        p.drawEllipse(f.centre, r, r);
    }
    p.setPen(QPen(QColor(220, 230, 255), 2));
    p.drawEllipse(f.centre, f.radius, f.radius);

    QFont small = font;
    small.setPixelSize(std::max(8, int(font.pixelSize() * 0.8)));
    const QFontMetricsF fm(font);
    const QFontMetricsF sm(small);
    for (int el : {30, 60}) {
        const QString text = QStringLiteral("%1\u00b0").arg(el);
        haloText(p, f.point(0, el) + QPointF(4, -3), text, small, QColor(200, 210, 235));
    }
    for (int az = 0; az < 360; az += 30) {
        QString text;
        QFont use = small;
        switch (az) {
        case 0: text = QStringLiteral("N"); use = font; break;
        case 90: text = QStringLiteral("E"); use = font; break;
        case 180: text = QStringLiteral("S"); use = font; break;
        case 270: text = QStringLiteral("W"); use = font; break;
        default: text = QString::number(az);
        }
        const QFontMetricsF m(use);
        const QPointF out = f.point(az, -9.0);
        haloText(p, QPointF(out.x() - m.horizontalAdvance(text) / 2, out.y() + m.ascent() / 2.6), text, use,
                 az % 90 == 0 ? QColor(255, 255, 255) : QColor(190, 200, 225));
    }
}

void paintPassMarks(QPainter &p, const PolarFrame &f, const ScenePass &pass, const QColor &colour,
                    const QFont &font, const QDateTime &now, bool dashed)
{
    if (pass.track.size() < 2)
        return;
    QColor c = colour;
    p.setPen(QPen(c, dashed ? 1.8 : 2.8, dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(trackPolygon(f, pass.track));
    const QPointF aos = f.point(pass.aosAzimuth, 0);
    const QPointF los = f.point(pass.losAzimuth, 0);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(c);
    p.drawEllipse(aos, 4, 4);
    p.drawRect(QRectF(los - QPointF(3.5, 3.5), QSizeF(7, 7)));
    const QPointF inward = (f.centre - aos) / std::max(1.0, f.radius) * 14.0;
    haloText(p, aos + inward, QStringLiteral("AOS ") + formatWhenShort(pass.aos, now), font, c);
    const QPointF inwardLos = (f.centre - los) / std::max(1.0, f.radius) * 14.0;
    haloText(p, los + inwardLos, QStringLiteral("LOS ") + formatWhenShort(pass.los, now), font, c);
}

// The passes to come, soonest first, beside the plot.
void paintComingUp(QPainter &p, const QRectF &panel, const Scene &scene, const QFont &font)
{
    struct Row
    {
        QDateTime aos;
        QString text;
        int index;
    };
    std::vector<Row> rows;
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (sat.up && sat.current)
            rows.push_back({scene.localTime, QStringLiteral("%1  up, sets %2")
                                                 .arg(sat.name, formatWhenShort(sat.current->los, scene.localTime)), i});
        if (sat.next)
            rows.push_back({sat.next->aos, QStringLiteral("%1  %2  %3\u00b0")
                                               .arg(sat.name, formatWhenShort(sat.next->aos, scene.localTime))
                                               .arg(sat.next->maxElevation, 0, 'f', 0), i});
    }
    std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.aos < b.aos; });
    const QFontMetricsF fm(font);
    const int fits = std::max(0, int((panel.height() - fm.height() * 1.5) / fm.height()));
    if (rows.empty() || fits == 0 || panel.width() < fm.averageCharWidth() * 16)
        return;
    double y = panel.top() + fm.ascent();
    QFont bold = font;
    bold.setBold(true);
    haloText(p, QPointF(panel.left(), y), QStringLiteral("Coming up"), bold, QColor(235, 240, 250));
    y += fm.height() * 1.3;
    for (int k = 0; k < std::min<int>(fits, int(rows.size())); ++k) {
        const QString text = fm.elidedText(rows[std::size_t(k)].text, Qt::ElideRight, panel.width());
        haloText(p, QPointF(panel.left(), y), text, font, satelliteColour(rows[std::size_t(k)].index));
        y += fm.height();
    }
}

} // namespace

QPointF PolarFrame::point(double azimuthDeg, double elevationDeg) const
{
    const double r = radius * (90.0 - elevationDeg) / 90.0;
    return {centre.x() + r * std::sin(azimuthDeg * kDeg), centre.y() - r * std::cos(azimuthDeg * kDeg)};
}

PolarFrame horizonFrame(const QRectF &area)
{
    const QFont font = viewFont(area);
    const double margin = font.pixelSize() * 2.6;
    PolarFrame f;
    f.centre = area.center();
    f.radius = std::max(10.0, std::min(area.width(), area.height()) / 2.0 - margin);
    return f;
}

void paintHorizon(QPainter &p, const QRectF &area, const Scene &scene)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, QColor(10, 16, 30));
    const PolarFrame f = horizonFrame(area);
    const QFont font = viewFont(area);
    const DisplayOptions &o = scene.options;
    paintSkyGrid(p, f, font, scene.sun.look.elevation > 0);

    const int chosen = scene.selected;
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (i == chosen || !sat.current)
            continue;
        QColor c = satelliteColour(i);
        c.setAlpha(140);
        p.setPen(QPen(c, 1.4));
        p.drawPolyline(trackPolygon(f, sat.current->track));
    }
    if (const SceneSatellite *sat = scene.selectedSatellite()) {
        QFont small = font;
        small.setPixelSize(std::max(8, int(font.pixelSize() * 0.85)));
        if (sat->next)
            paintPassMarks(p, f, *sat->next, satelliteColour(chosen).darker(110), small, scene.localTime, true);
        if (sat->current)
            paintPassMarks(p, f, *sat->current, satelliteColour(chosen), small, scene.localTime, false);
    }

    const double size = std::clamp(f.radius / 14.0, 9.0, 22.0);
    if (o.showSun && scene.sun.look.elevation > 0)
        drawSun(p, f.point(scene.sun.look.azimuth / kDeg, scene.sun.look.elevation / kDeg), size * 0.5);
    if (o.showMoon && scene.moon.look.elevation > 0)
        drawMoon(p, f.point(scene.moon.look.azimuth / kDeg, scene.moon.look.elevation / kDeg), size * 0.5);

    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid || !sat.up)
            continue;
        const QPointF at = f.point(sat.azimuth, sat.elevation);
        drawSatellite(p, at, size, satelliteColour(i), o.icons, i == chosen);
        haloText(p, at + QPointF(size * 0.9, font.pixelSize() * 0.35), sat.name, font, satelliteColour(i));
    }

    QFont title = font;
    title.setBold(true);
    haloText(p, area.topLeft() + QPointF(font.pixelSize() * 0.6, font.pixelSize() * 1.5),
             QStringLiteral("Sky from ") + scene.observer.name, title);

    // Beside the plot: the selected satellite's figures and the passes to come.
    const double side = (area.width() - 2 * f.radius) / 2.0 - font.pixelSize() * 3.0;
    if (o.dataFields && side > font.pixelSize() * 10)
        paintDataFields(p, QRectF(area.left(), area.top() + font.pixelSize() * 2, side + font.pixelSize(),
                                  area.height() - font.pixelSize() * 2),
                        scene, Qt::BottomLeftCorner, area);
    if (side > font.pixelSize() * 10) {
        const QRectF panel(f.centre.x() + f.radius + font.pixelSize() * 3.0, area.top() + font.pixelSize(),
                           side, area.height() - 2 * font.pixelSize());
        paintComingUp(p, panel, scene, viewFont(area, 0.85));
    } else if (o.dataFields) {
        paintDataFields(p, area, scene, Qt::BottomLeftCorner);
    }
    p.restore();
}

int horizonSatelliteAt(const Scene &scene, const QRectF &area, const QPointF &pos)
{
    const PolarFrame f = horizonFrame(area);
    int best = -1;
    double bestDistance = std::clamp(f.radius / 14.0, 9.0, 22.0);
    for (int i = 0; i < int(scene.satellites.size()); ++i) {
        const SceneSatellite &sat = scene.satellites[std::size_t(i)];
        if (!sat.valid || !sat.up)
            continue;
        const QPointF d = f.point(sat.azimuth, sat.elevation) - pos;
        const double distance = std::hypot(d.x(), d.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace orbiter
