#include "orbiter/PaintKit.h"

#include "orbiter/Scene.h"

#include "core/Units.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QCache>
#include <QImage>
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

namespace {

// A piece drawn once into a picture and then only copied: labels and
// satellite markers are costly to draw (a label's glyph outlines are
// stroked) and the same ones come back at every refresh.
struct Sprite
{
    QImage image;
    QPointF offset;  // of the picture's corner from the point it is drawn at
};

// The picture for key; made by make(ratio) the first time.
template<typename Make>
const Sprite &sprite(const QString &key, qreal ratio, Make make)
{
    static QCache<QString, Sprite> sprites(1000);
    const QString id = key + u'|' + QString::number(ratio);
    if (const Sprite *found = sprites.object(id))
        return *found;
    auto *made = new Sprite(make(ratio));
    sprites.insert(id, made);
    return *made;
}

// A picture of what draw paints inside bounds (about the origin).
template<typename Draw>
Sprite paintedSprite(const QRectF &bounds, qreal ratio, Draw draw)
{
    const QRect area = bounds.toAlignedRect();
    Sprite made;
    made.image = QImage((QSizeF(area.size()) * ratio).toSize().expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
    made.image.setDevicePixelRatio(ratio);
    made.image.fill(Qt::transparent);
    made.offset = area.topLeft();
    QPainter painter(&made.image);
    painter.translate(-QPointF(area.topLeft()));
    draw(painter);
    return made;
}

// A turned or scaled painter would blur a picture: it draws instead.
bool copiesSprites(const QPainter &p)
{
    return p.device() && p.transform().type() <= QTransform::TxTranslate;
}

void paintHaloText(QPainter &p, const QPainterPath &path, double width, const QColor &fill, const QColor &halo)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.strokePath(path, QPen(halo, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(path, fill);
    p.restore();
}

} // namespace

void haloText(QPainter &p, const QPointF &baseline, const QString &text, const QFont &font, const QColor &fill,
              const QColor &halo)
{
    const double width = std::max(2.0, font.pixelSize() / 4.5);
    auto glyphs = [&](const QPointF &at) {
        QPainterPath path;
        path.addText(at, font, text);
        return path;
    };
    if (!copiesSprites(p)) {
        paintHaloText(p, glyphs(baseline), width, fill, halo);
        return;
    }
    const QString key = QStringLiteral("t|%1|%2|%3|%4").arg(text, font.key()).arg(fill.rgba()).arg(halo.rgba());
    const Sprite &label = sprite(key, p.device()->devicePixelRatioF(), [&](qreal ratio) {
        const QPainterPath path = glyphs(QPointF(0, 0));
        return paintedSprite(path.boundingRect().adjusted(-width, -width, width, width), ratio,
                             [&](QPainter &painter) { paintHaloText(painter, path, width, fill, halo); });
    });
    p.drawImage(baseline + label.offset, label.image);
}

QColor satelliteColour(int index)
{
    static const QColor palette[] = {QColor(255, 214, 64),  QColor(110, 231, 255), QColor(255, 128, 192),
                                     QColor(150, 255, 120), QColor(255, 160, 80),  QColor(190, 160, 255),
                                     QColor(255, 255, 255), QColor(90, 200, 170),  QColor(255, 110, 110),
                                     QColor(200, 220, 120)};
    return palette[std::size_t(index) % std::size(palette)];
}

namespace {

// A satellite's marker about the origin.
void paintSatellite(QPainter &painter, double size, const QColor &colour, bool icon, bool selected)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (selected) {
        painter.setPen(QPen(QColor(255, 255, 255, 230), std::max(1.5, size / 8)));
        painter.setBrush(QColor(255, 255, 255, 40));
        painter.drawEllipse(QPointF(), size * 0.95, size * 0.95);
    }
    const QPen outline(QColor(0, 0, 0, 220), std::max(1.0, size / 12));
    if (!icon) {
        painter.setPen(outline);
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(), size * 0.32, size * 0.32);
        painter.restore();
        return;
    }
    // A body with two solar wings, turned a little so it reads as a craft.
    painter.rotate(-30);
    const double s = size;
    painter.setPen(outline);
    painter.setBrush(QColor(70, 110, 200));
    painter.drawRect(QRectF(-s * 0.85, -s * 0.16, s * 0.52, s * 0.32));
    painter.drawRect(QRectF(s * 0.33, -s * 0.16, s * 0.52, s * 0.32));
    painter.setPen(QPen(QColor(20, 20, 20), std::max(1.0, s / 14)));
    painter.drawLine(QPointF(-s * 0.33, 0), QPointF(s * 0.33, 0));
    painter.setPen(outline);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(-s * 0.2, -s * 0.24, s * 0.4, s * 0.48), s * 0.06, s * 0.06);
    painter.restore();
}

} // namespace

void drawSatellite(QPainter &p, const QPointF &c, double size, const QColor &colour, bool icon, bool selected)
{
    if (!copiesSprites(p)) {
        p.save();
        p.translate(c);
        paintSatellite(p, size, colour, icon, selected);
        p.restore();
        return;
    }
    const QString key =
        QStringLiteral("s|%1|%2|%3|%4").arg(size, 0, 'f', 2).arg(colour.rgba()).arg(int(icon)).arg(int(selected));
    const Sprite &marker = sprite(key, p.device()->devicePixelRatioF(), [&](qreal ratio) {
        const double reach = size * 1.1 + 2;
        return paintedSprite(QRectF(-reach, -reach, 2 * reach, 2 * reach), ratio,
                             [&](QPainter &painter) { paintSatellite(painter, size, colour, icon, selected); });
    });
    p.drawImage(c + marker.offset, marker.image);
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

QString formatDistance(double km, bool miles)
{
    return QStringLiteral("%1 %2").arg(Units::convertDistance(km, false, miles), 0, 'f', 0).arg(Units::distanceSymbol(miles));
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
            const bool miles = scene.options.miles;
            lines << QStringLiteral("Az %1\u00b0   El %2\u00b0   Range %3")
                         .arg(sat->azimuth, 0, 'f', 1)
                         .arg(sat->elevation, 0, 'f', 1)
                         .arg(formatDistance(sat->rangeKm, miles));
            lines << QStringLiteral("Over %1 %2   height %3")
                         .arg(formatLatitude(sat->latitude), formatLongitude(sat->longitude),
                              formatDistance(sat->heightKm, miles));
            lines << QStringLiteral("Doppler %1   footprint %2")
                         .arg(sat->dopplerFactor, 0, 'f', 7)
                         .arg(formatDistance(sat->footprintKm, miles));
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
