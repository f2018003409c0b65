#include "host/map/SymbolPainter.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace SymbolPainter {

Glyph glyphFor(QChar table, QChar code)
{
    const bool primary = table == u'/';
    switch (code.unicode()) {
    case '-':
        return primary ? Glyph::House : Glyph::Lettered;
    case '>':
    case 'j':
    case 'k':
    case 'v':
    case 'u':
    case 'U':
    case 'R':
        return Glyph::Car;
    case '_':
        return Glyph::Weather;
    case '#':
        return Glyph::Digipeater;
    default:
        return Glyph::Lettered;
    }
}

namespace {

void drawHouse(QPainter &p, qreal s)
{
    QPolygonF roof{{s * 0.1, s * 0.5}, {s * 0.5, s * 0.1}, {s * 0.9, s * 0.5}};
    p.setPen(QPen(Qt::black, s / 20.0));
    p.setBrush(QColor(190, 40, 40));
    p.drawPolygon(roof);
    p.setBrush(QColor(245, 235, 200));
    p.drawRect(QRectF(s * 0.2, s * 0.5, s * 0.6, s * 0.42));
    p.setBrush(QColor(120, 70, 30));
    p.drawRect(QRectF(s * 0.43, s * 0.66, s * 0.16, s * 0.26));
}

void drawCar(QPainter &p, qreal s, QChar code)
{
    const QColor body = code == u'>' ? QColor(200, 30, 30) : QColor(40, 90, 200);
    p.setPen(QPen(Qt::black, s / 20.0));
    p.setBrush(body);
    QPainterPath path;
    path.moveTo(s * 0.05, s * 0.68);
    path.lineTo(s * 0.05, s * 0.48);
    path.lineTo(s * 0.25, s * 0.45);
    path.lineTo(s * 0.35, s * 0.25);
    path.lineTo(s * 0.68, s * 0.25);
    path.lineTo(s * 0.8, s * 0.45);
    path.lineTo(s * 0.95, s * 0.5);
    path.lineTo(s * 0.95, s * 0.68);
    path.closeSubpath();
    p.drawPath(path);
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(QRectF(s * 0.38, s * 0.3, s * 0.12, s * 0.14));
    p.drawRect(QRectF(s * 0.54, s * 0.3, s * 0.12, s * 0.14));
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(s * 0.27, s * 0.7), s * 0.11, s * 0.11);
    p.drawEllipse(QPointF(s * 0.75, s * 0.7), s * 0.11, s * 0.11);
}

void drawWeather(QPainter &p, qreal s)
{
    p.setPen(QPen(Qt::black, s / 20.0));
    p.setBrush(QColor(60, 140, 230));
    p.drawRoundedRect(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9), s * 0.15, s * 0.15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 40));
    p.drawEllipse(QPointF(s * 0.66, s * 0.35), s * 0.16, s * 0.16);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.32, s * 0.6), s * 0.16, s * 0.14);
    p.drawEllipse(QPointF(s * 0.5, s * 0.52), s * 0.18, s * 0.17);
    p.drawEllipse(QPointF(s * 0.66, s * 0.62), s * 0.15, s * 0.12);
    p.drawRect(QRectF(s * 0.32, s * 0.6, s * 0.34, s * 0.14));
}

void drawStar(QPainter &p, qreal s)
{
    QPolygonF star;
    for (int i = 0; i < 16; ++i) {
        const double angle = i * M_PI / 8 - M_PI / 2;
        const double r = (i % 2 ? 0.24 : 0.47) * s;
        star << QPointF(s / 2 + r * std::cos(angle), s / 2 + r * std::sin(angle));
    }
    p.setPen(QPen(Qt::black, s / 20.0));
    p.setBrush(QColor(30, 170, 60));
    p.drawPolygon(star);
}

QColor discColour(QChar table, QChar code)
{
    static const QColor palette[] = {{200, 60, 60},  {60, 120, 200}, {40, 150, 90},  {180, 110, 30},
                                     {140, 70, 170}, {30, 140, 150}, {170, 150, 20}, {110, 110, 110}};
    const int index = (code.unicode() * 7 + (table == u'/' ? 0 : 3)) % 8;
    return palette[index];
}

void drawLettered(QPainter &p, qreal s, QChar table, QChar code, bool drawCode)
{
    p.setPen(QPen(table == u'/' ? Qt::black : QColor(230, 230, 230), s / 14.0));
    p.setBrush(discColour(table, code));
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    if (!drawCode)
        return;
    QFont font = p.font();
    font.setPixelSize(std::max(6, int(s * 0.6)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QString(code));
}

void drawOverlay(QPainter &p, qreal s, QChar overlay)
{
    QFont font = p.font();
    font.setPixelSize(std::max(6, int(s * 0.5)));
    font.setBold(true);
    p.setFont(font);
    const QRectF box(s * 0.28, s * 0.28, s * 0.44, s * 0.44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(box);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, QString(overlay));
}

QImage render(QChar table, QChar code, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const bool overlay = table != u'/' && table != u'\\' && !table.isNull() && table != u' ';
    switch (glyphFor(table, code)) {
    case Glyph::House: drawHouse(p, s); break;
    case Glyph::Car: drawCar(p, s, code); break;
    case Glyph::Weather: drawWeather(p, s); break;
    case Glyph::Digipeater: drawStar(p, s); break;
    case Glyph::Lettered: drawLettered(p, s, table, code.isNull() ? QChar(u'?') : code, !overlay); break;
    }
    if (overlay)
        drawOverlay(p, s, table);
    return image;
}

} // namespace

QImage image(QChar table, QChar code, int size)
{
    static QHash<quint64, QImage> cache;
    size = std::clamp(size, 4, 256);
    const quint64 key = (quint64(table.unicode()) << 32) | (quint64(code.unicode()) << 16) | quint64(size);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QImage picture = render(table, code, size);
    if (cache.size() < 4096)
        cache.insert(key, picture);
    return picture;
}

} // namespace SymbolPainter
