#include "orbiter/PaintKit.h"

#include "orbiter/Scene.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orbiter {

QFont viewFont(const QRectF &area, double scale)
{
    QFont font;
    // Never below ten pixels, the smallest size that reads well on a screen.
    const double pixels = std::clamp(std::min(area.width(), area.height() * 1.6) / 48.0, 10.0, 17.0) * scale;
    font.setPixelSize(std::max(10, int(std::lround(pixels))));
    return font;
}

void haloText(QPainter &p, const QPointF &baseline, const QString &text, const QFont &font, const QColor &fill,
              const QColor &halo)
{
    QPainterPath path;
    path.addText(baseline, font, text);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(halo, std::max(2.0, font.pixelSize() / 4.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, fill);
    p.restore();
}

QColor satelliteColour(int index)
{
    static const QColor palette[] = {QColor(255, 214, 64),  QColor(110, 231, 255), QColor(255, 128, 192),
                                     QColor(150, 255, 120), QColor(255, 160, 80),  QColor(190, 160, 255),
                                     QColor(255, 255, 255), QColor(90, 200, 170),  QColor(255, 110, 110),
                                     QColor(200, 220, 120)};
    return palette[std::size_t(index) % std::size(palette)];
}

void drawSatellite(QPainter &p, const QPointF &c, double size, const QColor &colour, bool icon, bool selected)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (selected) {
        p.setPen(QPen(QColor(255, 255, 255, 230), std::max(1.5, size / 8)));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(c, size * 0.95, size * 0.95);
    }
    const QPen outline(QColor(0, 0, 0, 220), std::max(1.0, size / 12));
    if (!icon) {
        p.setPen(outline);
        p.setBrush(colour);
        p.drawEllipse(c, size * 0.32, size * 0.32);
        p.restore();
        return;
    }
    // A body with two solar wings, turned a little so it reads as a craft.
    p.translate(c);
    p.rotate(-30);
    const double s = size;
    p.setPen(outline);
    p.setBrush(QColor(70, 110, 200));
    p.drawRect(QRectF(-s * 0.85, -s * 0.16, s * 0.52, s * 0.32));
    p.drawRect(QRectF(s * 0.33, -s * 0.16, s * 0.52, s * 0.32));
    p.setPen(QPen(QColor(20, 20, 20), std::max(1.0, s / 14)));
    p.drawLine(QPointF(-s * 0.33, 0), QPointF(s * 0.33, 0));
    p.setPen(outline);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-s * 0.2, -s * 0.24, s * 0.4, s * 0.48), s * 0.06, s * 0.06);
    p.restore();
}

void drawSun(QPainter &p, const QPointF &c, double r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 200, 40), std::max(1.2, r / 5), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * r * 1.35, c + QPointF(std::cos(a), std::sin(a)) * r * 1.9);
    }
    QRadialGradient glow(c, r);
    glow.setColorAt(0, QColor(255, 250, 190));
    glow.setColorAt(1, QColor(255, 190, 30));
    p.setBrush(glow);
    p.setPen(QPen(QColor(150, 90, 0), 1));
    p.drawEllipse(c, r, r);
    p.restore();
}

void drawMoon(QPainter &p, const QPointF &c, double r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient body(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    body.setColorAt(0, QColor(245, 245, 235));
    body.setColorAt(1, QColor(160, 160, 170));
    p.setBrush(body);
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 120, 130, 150));
    p.drawEllipse(c + QPointF(r * 0.25, -r * 0.2), r * 0.22, r * 0.22);
    p.drawEllipse(c + QPointF(-r * 0.3, r * 0.35), r * 0.16, r * 0.16);
    p.restore();
}

void drawObserver(QPainter &p, const QPointF &c, double size, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, std::max(1.0, size / 6)));
    p.setBrush(colour);
    const double s = size;
    const QPolygonF house({c + QPointF(0, -s * 0.6), c + QPointF(s * 0.5, -s * 0.1), c + QPointF(s * 0.35, -s * 0.1),
                           c + QPointF(s * 0.35, s * 0.45), c + QPointF(-s * 0.35, s * 0.45),
                           c + QPointF(-s * 0.35, -s * 0.1), c + QPointF(-s * 0.5, -s * 0.1)});
    p.drawPolygon(house);
    p.restore();
}

QString formatLatitude(double degrees)
{
    // What rounds to zero is shown north, not as "0.00 S".
    if (std::fabs(degrees) < 0.005)
        degrees = 0;
    return QStringLiteral("%1\u00b0 %2").arg(std::fabs(degrees), 0, 'f', 2).arg(QChar(degrees >= 0 ? u'N' : u'S'));
}

QString formatLongitude(double degrees)
{
    double d = std::fmod(degrees + 180.0, 360.0);
    if (d < 0)
        d += 360.0;
    d -= 180.0;
    if (std::fabs(d) < 0.005)
        d = 0;
    return QStringLiteral("%1\u00b0 %2").arg(std::fabs(d), 0, 'f', 2).arg(QChar(d >= 0 ? u'E' : u'W'));
}

QString formatWhen(const QDateTime &time, const QDateTime &reference)
{
    if (!time.isValid())
        return QStringLiteral("\u2014");
    if (time.date() == reference.date())
        return time.toString(QStringLiteral("HH:mm:ss"));
    return time.toString(QStringLiteral("ddd dd MMM HH:mm:ss"));
}

QString formatWhenShort(const QDateTime &time, const QDateTime &reference)
{
    if (!time.isValid())
        return QStringLiteral("\u2014");
    if (time.date() == reference.date())
        return time.toString(QStringLiteral("HH:mm:ss"));
    return time.toString(QStringLiteral("ddd HH:mm:ss"));
}

void paintDataFields(QPainter &p, const QRectF &area, const Scene &scene, Qt::Corner corner, const QRectF &fontArea)
{
    const SceneSatellite *sat = scene.selectedSatellite();
    QStringList lines;
    lines << scene.localTime.toString(QStringLiteral("ddd dd MMM yyyy  HH:mm:ss"))
                 + (scene.zoneName.isEmpty() ? QString() : QStringLiteral("  ") + scene.zoneName);
    lines << QStringLiteral("Observer  %1  %2 %3").arg(scene.observer.name, formatLatitude(scene.observer.latitude),
                                                         formatLongitude(scene.observer.longitude));
    if (sat) {
        lines << QString();
        lines << sat->name;
        if (!sat->valid) {
            lines << (sat->problem.isEmpty() ? QStringLiteral("no position") : sat->problem);
        } else {
            lines << QStringLiteral("Az %1\u00b0   El %2\u00b0   Range %3 km")
                         .arg(sat->azimuth, 0, 'f', 1)
                         .arg(sat->elevation, 0, 'f', 1)
                         .arg(sat->rangeKm, 0, 'f', 0);
            lines << QStringLiteral("Over %1 %2   height %3 km")
                         .arg(formatLatitude(sat->latitude), formatLongitude(sat->longitude))
                         .arg(sat->heightKm, 0, 'f', 0);
            lines << QStringLiteral("Doppler %1   footprint %2 km")
                         .arg(sat->dopplerFactor, 0, 'f', 7)
                         .arg(sat->footprintKm, 0, 'f', 0);
            if (sat->current)
                lines << QStringLiteral("In view until %1, highest %2\u00b0")
                             .arg(formatWhen(sat->current->los, scene.localTime))
                             .arg(sat->current->maxElevation, 0, 'f', 0);
            if (sat->next)
                lines << QStringLiteral("Next pass %1 to %2, highest %3\u00b0")
                             .arg(formatWhen(sat->next->aos, scene.localTime),
                                  formatWhen(sat->next->los, scene.localTime))
                             .arg(sat->next->maxElevation, 0, 'f', 0);
            else
                lines << QStringLiteral("No pass within seven days");
            if (scene.second)
                lines << (sat->mutualNow ? QStringLiteral("Seen from %1 too").arg(scene.second->name)
                                         : sat->nextMutual ? QStringLiteral("Both see it from %1")
                                                                 .arg(formatWhen(sat->nextMutual->aos, scene.localTime))
                                                           : QStringLiteral("Not seen from both within seven days"));
        }
    }

    // The view's letter size, smaller when the panel would not fit its area.
    QFont font = viewFont(fontArea.isEmpty() ? area : fontArea, 0.8);
    QFontMetricsF fm(font);
    double width = 0;
    for (;;) {
        width = 0;
        for (const QString &line : lines)
            width = std::max(width, fm.horizontalAdvance(line));
        if (width + fm.height() * 2.0 <= area.width() || font.pixelSize() <= 10)
            break;
        font.setPixelSize(font.pixelSize() - 1);
        fm = QFontMetricsF(font);
    }
    // A small view keeps its map: one line for the followed satellite.
    const QRectF whole = fontArea.isEmpty() ? area : fontArea;
    if (lines.size() * fm.height() > whole.height() * 0.35 && sat) {
        QString line = sat->name;
        if (sat->valid) {
            line += QStringLiteral("  Az %1\u00b0 El %2\u00b0").arg(sat->azimuth, 0, 'f', 0).arg(sat->elevation, 0, 'f', 0);
            if (sat->next)
                line += QStringLiteral("  AOS ") + formatWhenShort(sat->next->aos, scene.localTime);
        }
        lines = {line};
        width = fm.horizontalAdvance(line);
    }
    // Still too wide at the smallest legible size: the lines lose their ends.
    const double room = std::max(40.0, area.width() - fm.height() * 2.0);
    if (width > room) {
        for (QString &line : lines)
            line = fm.elidedText(line, Qt::ElideRight, room);
        width = room;
    }
    const double pad = fm.height() * 0.45;
    const double height = lines.size() * fm.height() + 2 * pad;
    width += 2 * pad;
    const double margin = fm.height() * 0.5;
    QPointF topLeft;
    switch (corner) {
    case Qt::TopLeftCorner:
        topLeft = area.topLeft() + QPointF(margin, margin);
        break;
    case Qt::TopRightCorner:
        topLeft = QPointF(area.right() - margin - width, area.top() + margin);
        break;
    case Qt::BottomLeftCorner:
        topLeft = QPointF(area.left() + margin, area.bottom() - margin - height);
        break;
    case Qt::BottomRightCorner:
        topLeft = QPointF(area.right() - margin - width, area.bottom() - margin - height);
        break;
    }
    const QRectF box(topLeft, QSizeF(width, height));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.setBrush(QColor(8, 14, 28, 190));
    p.drawRoundedRect(box, pad, pad);
    p.setFont(font);
    double y = box.top() + pad + fm.ascent();
    for (int i = 0; i < lines.size(); ++i) {
        const bool nameLine = sat && (lines.size() == 1 || i == 3);
        p.setPen(nameLine ? satelliteColour(scene.selected) : QColor(235, 240, 250));
        p.drawText(QPointF(box.left() + pad, y), lines[i]);
        y += fm.height();
    }
    p.restore();
}

} // namespace orbiter
