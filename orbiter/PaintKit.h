#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// Drawing pieces the three graphic views share, and the number formats the
// text view shares with them.
namespace orbiter {

struct Scene;

// A font that stays legible from a small window to a full screen.
QFont viewFont(const QRectF &area, double scale = 1.0);

// Text with a dark outline, readable over any part of the Earth.
void haloText(QPainter &p, const QPointF &baseline, const QString &text, const QFont &font,
              const QColor &fill = Qt::white, const QColor &halo = QColor(0, 0, 0, 200));

QColor satelliteColour(int index);
void drawSatellite(QPainter &p, const QPointF &centre, double size, const QColor &colour, bool icon, bool selected);
void drawSun(QPainter &p, const QPointF &centre, double radius);
void drawMoon(QPainter &p, const QPointF &centre, double radius);
void drawObserver(QPainter &p, const QPointF &centre, double size, const QColor &colour);

// The selected satellite's figures in a panel at a corner of the area,
// lettered for fontArea (the whole view) when one is given.
void paintDataFields(QPainter &p, const QRectF &area, const Scene &scene, Qt::Corner corner,
                     const QRectF &fontArea = QRectF());

QString formatLatitude(double degrees);
QString formatLongitude(double degrees);  // any range; shown as 0-180 E or W
// A distance given in kilometres, whole, in the unit chosen, with its symbol.
QString formatDistance(double km, bool miles);
// A local time, with the day when it is not the day of `reference`.
QString formatWhen(const QDateTime &time, const QDateTime &reference);
// The same with only the weekday for another day, where room is short.
QString formatWhenShort(const QDateTime &time, const QDateTime &reference);

} // namespace orbiter
