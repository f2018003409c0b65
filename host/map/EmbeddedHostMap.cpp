#include "host/map/EmbeddedHostMap.h"

#include "host/tiles/EarthMapSource.h"
#include "host/map/GeoMath.h"
#include "host/StationDatabase.h"
#include "host/map/SymbolPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <cmath>

namespace {

// Beyond this many stations in view only symbols are drawn, no callsigns.
constexpr int MaxLabels = 1500;

} // namespace

EmbeddedHostMap::EmbeddedHostMap(const StationDatabase *database, QObject *parent)
    : HostMap(parent)
    , m_database(database)
    , m_tiles(new TileLayer(this))
    , m_background(m_tiles)
{
    m_tiles->setSources({new EarthMapSource});
    connect(m_tiles, &TileLayer::changed, this, &EmbeddedHostMap::contentChanged);
}

QColor EmbeddedHostMap::colourFromValue(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void EmbeddedHostMap::setHome(const QString &callsign, double latitude, double longitude)
{
    m_homeCall = callsign;
    m_homeLat = latitude;
    m_homeLon = longitude;
    m_projection.setHome(latitude, longitude);
}

void EmbeddedHostMap::setSize(QSize size)
{
    if (size == m_projection.size() || size.isEmpty())
        return;
    m_projection.setSize(size);
}

void EmbeddedHostMap::drawLine(int x1, int y1, int x2, int y2, qint32 colour, qint16 &extra)
{
    Q_UNUSED(extra);
    Drawing d;
    d.kind = Drawing::Line;
    d.lon1 = x1 / 60.0;
    d.lat1 = y1 / 60.0;
    d.lon2 = x2 / 60.0;
    d.lat2 = y2 / 60.0;
    d.colour = colourFromValue(colour);
    d.pen = m_pen;
    d.mode = m_mode;
    d.leg = m_leg;
    if (m_drawings.add(d))
        emit contentChanged();
}

void EmbeddedHostMap::drawCircle(float longitude, float latitude, float radiusKm, qint32 colour, float a,
                                 double b, float c)
{
    if (!std::isfinite(radiusKm) || radiusKm <= 0 || !std::isfinite(latitude) || !std::isfinite(longitude))
        return;
    Drawing d;
    d.kind = Drawing::Circle;
    d.lon1 = longitude / 60.0;
    d.lat1 = latitude / 60.0;
    d.radiusKm = std::min<double>(radiusKm, 20000.0);
    d.colour = colourFromValue(colour);
    d.pen = m_pen;
    d.mode = m_mode;
    d.leg = m_leg;
    d.a = a;
    d.b = b;
    d.c = c;
    if (m_drawings.add(d))
        emit contentChanged();
}

void EmbeddedHostMap::placeNamedSymbol(const QString &name, float longitude, float latitude)
{
    if (name.isEmpty() || !std::isfinite(longitude) || !std::isfinite(latitude))
        return;
    if (!m_named.contains(name))
        m_namedOrder.append(name);
    m_named.insert(name, {latitude / 60.0, longitude / 60.0});
    emit contentChanged();
}

bool EmbeddedHostMap::removeNamedSymbol(const QString &name)
{
    if (!m_named.remove(name))
        return false;
    m_namedOrder.removeOne(name);
    emit contentChanged();
    return true;
}

QImage EmbeddedHostMap::copyArea(int x, int y, int width, int height)
{
    const QImage whole = renderImage();
    const QRect area = QRect(x, y, width, height).intersected(whole.rect());
    if (area.isEmpty())
        return {};
    return whole.copy(area);
}

void EmbeddedHostMap::clearDrawings()
{
    m_drawings.clear();
    emit contentChanged();
}

void EmbeddedHostMap::redraw()
{
    m_drawings.clear();
    emit contentChanged();
    QTimer::singleShot(0, this, &EmbeddedHostMap::MapRedrawn);
}

void EmbeddedHostMap::userChangedView()
{
    m_drawings.clear();
    emit contentChanged();
    emit MapHasChanged();
}

QImage EmbeddedHostMap::renderImage()
{
    QImage image(m_projection.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    render(painter);
    return image;
}

void EmbeddedHostMap::render(QPainter &p)
{
    const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    p.save();
    p.drawImage(QPointF(0, 0), m_background.image(m_projection, ratio));
    p.drawImage(QPointF(0, 0), m_drawings.layer(m_projection, ratio));
    p.setRenderHint(QPainter::Antialiasing);
    renderStations(p);
    renderScaleBar(p);
    p.restore();
}

void EmbeddedHostMap::drawLabelledSymbol(QPainter &p, QPointF at, QChar table, QChar code, const QString &label,
                                         const QColor &labelColour, QList<QRectF> *occupied) const
{
    const int size = SymbolPainter::DefaultSize;
    p.drawImage(QPointF(at.x() - size / 2.0, at.y() - size / 2.0), SymbolPainter::image(table, code, size));
    if (label.isEmpty())
        return;
    // Right of the symbol if there is room, else left, below or above; a label
    // that fits nowhere is left out rather than written over another.
    const QFontMetricsF metrics(p.font());
    const QSizeF text(metrics.horizontalAdvance(label), metrics.ascent());
    const double half = size / 2.0 + 2;
    const QPointF corners[] = {
        {at.x() + half, at.y() - text.height() / 2},
        {at.x() - half - text.width(), at.y() - text.height() / 2},
        {at.x() - text.width() / 2, at.y() + half},
        {at.x() - text.width() / 2, at.y() - half - text.height()},
    };
    for (const QPointF &corner : corners) {
        const QRectF box(corner, text);
        bool free = true;
        if (occupied)
            for (const QRectF &taken : *occupied)
                if (taken.intersects(box)) {
                    free = false;
                    break;
                }
        if (!free)
            continue;
        if (occupied)
            occupied->append(box);
        const QPointF baseline(box.left(), box.top() + metrics.ascent() - 1);
        p.setPen(QColor(255, 255, 255, 210));
        for (const QPointF &offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
            p.drawText(baseline + offset, label);
        p.setPen(labelColour);
        p.drawText(baseline, label);
        return;
    }
}

const QPointF *EmbeddedHostMap::placeStations() const
{
    const int count = m_database ? m_database->size() : 0;
    m_placedUnits.resize(size_t(count));
    m_stationPixels.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        const auto &entry = m_database->at(i);
        if (!entry.hasPosition)
            continue;
        Placed &placed = m_placedUnits[size_t(i)];
        // A row that moved, or now holds another station, is worked out again.
        if (placed.latitude != entry.latitude || placed.longitude != entry.longitude || placed.unit.isNull()) {
            placed = {entry.latitude, entry.longitude,
                      {MapProjection::unitX(entry.longitude / 60.0), MapProjection::unitY(entry.latitude / 60.0)}};
        }
        m_stationPixels[size_t(i)] = m_projection.unitToPixel(placed.unit);
    }
    return m_stationPixels.data();
}

void EmbeddedHostMap::renderStations(QPainter &p) const
{
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const QRectF visible = QRectF(QPointF(0, 0), m_projection.size()).adjusted(-20, -20, 20, 20);

    const QPointF *pixels = placeStations();
    int inView = 0;
    if (m_database)
        for (int i = 0; i < m_database->size(); ++i)
            if (m_database->at(i).hasPosition && visible.contains(pixels[i]))
                ++inView;
    const bool labels = inView <= MaxLabels;

    // Home is drawn last so that nothing hides it, but its place is kept first.
    const QPointF home = m_projection.toPixel(m_homeLat, m_homeLon);
    const double s = SymbolPainter::DefaultSize;
    QList<QRectF> occupied;
    const QFontMetricsF metrics(font);
    occupied.append(QRectF(home.x() - s / 2, home.y() - s / 2, s, s));
    occupied.append(QRectF(home.x() + s / 2 + 2, home.y() - metrics.ascent() / 2,
                           metrics.horizontalAdvance(m_homeCall), metrics.ascent()));

    if (m_database)
        for (int i = 0; i < m_database->size(); ++i) {
            const auto &entry = m_database->at(i);
            if (!entry.hasPosition || entry.name == m_homeCall)
                continue;
            const QPointF at = pixels[i];
            if (!visible.contains(at))
                continue;
            drawLabelledSymbol(p, at, entry.symbolTable.isNull() ? QChar(u'/') : entry.symbolTable,
                               entry.symbolCode.isNull() ? QChar(u'?') : entry.symbolCode,
                               labels ? entry.name : QString(),
                               entry.isObject ? QColor(120, 0, 120) : QColor(20, 20, 20),
                               labels ? &occupied : nullptr);
        }
    if (m_placed)
        for (const PlacedObject &object : *m_placed) {
            const QPointF at = m_projection.toPixel(object.latitude, object.longitude);
            if (!visible.contains(at))
                continue;
            drawLabelledSymbol(p, at, object.symbolTable.isEmpty() ? QChar(u'\\') : object.symbolTable[0],
                               object.symbolCode.isEmpty() ? QChar(u'S') : object.symbolCode[0], object.name,
                               QColor(0, 90, 160), &occupied);
        }
    for (const QString &name : m_namedOrder) {
        const NamedSymbol &symbol = m_named[name];
        const QPointF at = m_projection.toPixel(symbol.latitude, symbol.longitude);
        if (!visible.contains(at))
            continue;
        drawLabelledSymbol(p, at, u'\\', u'D', name, QColor(170, 0, 0), &occupied);
    }
    const StationDatabase::Entry *own = m_database ? m_database->find(m_homeCall) : nullptr;
    const QChar table = own && !own->symbolTable.isNull() ? own->symbolTable : QChar(u'/');
    const QChar code = own && !own->symbolCode.isNull() ? own->symbolCode : QChar(u'-');
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(home, 15, 15);
    drawLabelledSymbol(p, home, table, code, m_homeCall, QColor(200, 0, 0), nullptr);
}

void EmbeddedHostMap::renderScaleBar(QPainter &p) const
{
    // Kilometres per pixel at the middle of the view: Mercator's scale
    // changes with latitude.
    const double kmPerPixel = 1.0 / m_projection.pixelsPerKm(m_projection.centreLatitude());
    const double target = kmPerPixel * 120;
    double nice = std::pow(10.0, std::floor(std::log10(target)));
    for (double f : {5.0, 2.0, 1.0})
        if (nice * f <= target) {
            nice *= f;
            break;
        }
    const double pixels = nice / kmPerPixel;
    const QPointF origin(12, m_projection.size().height() - 22);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(origin, origin + QPointF(pixels, 0));
    p.drawLine(origin, origin + QPointF(0, -5));
    p.drawLine(origin + QPointF(pixels, 0), origin + QPointF(pixels, -5));
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(false);
    p.setFont(font);
    p.drawText(origin + QPointF(4, -6), nice >= 1 ? QStringLiteral("%1 km").arg(nice) : QStringLiteral("%1 m").arg(nice * 1000));
}
