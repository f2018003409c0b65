#include "host/map/MapDrawings.h"

#include "host/map/GeoMath.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace {

constexpr int RingSteps = 90;
// Below this radius a circle is drawn as a plain circle: on this projection
// the geodesic ring and the circle differ by well under a pixel at any zoom
// that shows the circle whole.
constexpr double EllipseUpToKm = 500;
// Larger rings are stroked directly: there are few, and a stamp would be big.
constexpr double MaxStampRadius = 250;
constexpr int MaxStamps = 512;

// A ring of these radii in pixels, centred in a transparent picture.
QImage ringStamp(const QColor &colour, int pen, int rx, int ry, qreal ratio)
{
    const int margin = pen + 2;
    const QSize logical(2 * (rx + margin) + 1, 2 * (ry + margin) + 1);
    QImage stamp(logical * ratio, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(ratio);
    stamp.fill(Qt::transparent);
    QPainter p(&stamp);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, pen));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(rx + margin + 0.5, ry + margin + 0.5), rx, ry);
    return stamp;
}

} // namespace

bool MapDrawings::Drawing::operator==(const Drawing &o) const
{
    return kind == o.kind && lat1 == o.lat1 && lon1 == o.lon1 && lat2 == o.lat2 && lon2 == o.lon2
           && radiusKm == o.radiusKm && colour == o.colour && pen == o.pen && mode == o.mode && leg == o.leg
           && a == o.a && b == o.b && c == o.c;
}

size_t qHash(const MapDrawings::Drawing &d, size_t seed)
{
    return qHashMulti(seed, int(d.kind), d.lat1, d.lon1, d.lat2, d.lon2, d.radiusKm, d.colour.rgba(), d.pen, d.mode,
                      d.leg, d.a, d.b, d.c);
}

bool MapDrawings::add(const Drawing &drawing)
{
    const auto existing = m_serialOf.constFind(drawing);
    if (existing != m_serialOf.constEnd()) {
        // Moved to the newest place, so it is the last to be dropped; its
        // pixels are the same, so the layer stays as it is.
        auto node = m_bySerial.extract(*existing);
        node.mapped().inLayer = node.mapped().inLayer || node.key() < m_layerUpTo;
        const quint64 serial = m_nextSerial++;
        node.key() = serial;
        m_bySerial.insert(std::move(node));
        m_serialOf[drawing] = serial;
        return false;
    }
    const quint64 serial = m_nextSerial++;
    m_bySerial.emplace(serial, Stored{drawing, false});
    m_serialOf.insert(drawing, serial);
    if (int(m_bySerial.size()) > MaxDrawings)
        evictOldest();
    return true;
}

void MapDrawings::evictOldest()
{
    // A tenth at a time, so the layer is redrawn once per many new drawings.
    for (int n = MaxDrawings / 10; n > 0 && !m_bySerial.empty(); --n) {
        m_serialOf.remove(m_bySerial.begin()->second.drawing);
        m_bySerial.erase(m_bySerial.begin());
    }
    m_layerStale = true;
}

void MapDrawings::clear()
{
    m_bySerial.clear();
    m_serialOf.clear();
    m_layerStale = true;
}

QList<MapDrawings::Drawing> MapDrawings::list() const
{
    QList<Drawing> drawings;
    drawings.reserve(qsizetype(m_bySerial.size()));
    for (const auto &[serial, stored] : m_bySerial)
        drawings.append(stored.drawing);
    return drawings;
}

void MapDrawings::paintOne(QPainter &p, const MapProjection &projection, const Drawing &d,
                           QHash<quint64, QImage> *stamps) const
{
    const QRectF view(QPointF(0, 0), QSizeF(projection.size()));
    const int pen = std::clamp<int>(d.pen, 1, 8);
    // Setting a pen costs an allocation: only strokes need one.
    auto stroke = [&] { p.setPen(QPen(d.colour, pen)); };
    if (d.kind == Drawing::Line) {
        stroke();
        const QPointF from = projection.toPixel(d.lat1, d.lon1);
        const QPointF to = projection.toPixel(d.lat2, d.lon2);
        if (QRectF(from, to).normalized().adjusted(-8, -8, 8, 8).intersects(view))
            p.drawLine(from, to);
        return;
    }
    const QPointF centre = projection.toPixel(d.lat1, d.lon1);
    // Mercator keeps small circles round.
    const double rx = d.radiusKm * projection.pixelsPerKm(d.lat1);
    const double ry = rx;
    if (!QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry).adjusted(-8, -8, 8, 8).intersects(view))
        return;
    if (d.radiusKm <= EllipseUpToKm && std::abs(d.lat1) < 85) {
        if (!stamps || rx > MaxStampRadius || ry > MaxStampRadius) {
            stroke();
            p.drawEllipse(centre, rx, ry);
            return;
        }
        const int irx = int(std::lround(rx)), iry = int(std::lround(ry));
        const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
        // Colour, pen and radii fit one number: 32 + 4 + 8 + 8 + 8 bits.
        const quint64 key = quint64(d.colour.rgba()) | quint64(pen) << 32 | quint64(irx) << 36 | quint64(iry) << 44
                            | quint64(std::clamp(int(ratio * 16), 0, 255)) << 52;
        auto stamp = stamps->constFind(key);
        if (stamp == stamps->constEnd()) {
            if (stamps->size() >= MaxStamps)
                stamps->clear();
            stamp = stamps->insert(key, ringStamp(d.colour, pen, irx, iry, ratio));
        }
        const int margin = pen + 2;
        p.drawImage(QPointF(std::floor(centre.x()) - irx - margin, std::floor(centre.y()) - iry - margin), *stamp);
        return;
    }
    stroke();
    QPainterPath path;
    for (int i = 0; i <= RingSteps; ++i) {
        const QPointF point = geo::destination(d.lat1, d.lon1, i * 360.0 / RingSteps, d.radiusKm);
        const QPointF px = projection.toPixel(point.y(), point.x());
        if (i == 0)
            path.moveTo(px);
        else
            path.lineTo(px);
    }
    p.drawPath(path);
}

void MapDrawings::paint(QPainter &p, const MapProjection &projection) const
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (const auto &[serial, stored] : m_bySerial)
        paintOne(p, projection, stored.drawing);
    p.restore();
}

const QImage &MapDrawings::layer(const MapProjection &projection, qreal devicePixelRatio)
{
    const QSize pixels = projection.size() * devicePixelRatio;
    const bool fresh = m_layerStale || !(m_layerView == projection) || m_layer.size() != pixels
                       || m_layer.devicePixelRatio() != devicePixelRatio;
    if (fresh) {
        m_layer = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_layer.setDevicePixelRatio(devicePixelRatio);
        m_layer.fill(Qt::transparent);
        m_layerView = projection;
        m_layerStale = false;
        m_layerUpTo = 0;
    }
    const auto from = m_bySerial.lower_bound(m_layerUpTo);
    if (from != m_bySerial.end()) {
        QPainter p(&m_layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        for (auto it = from; it != m_bySerial.end(); ++it)
            if (fresh || !it->second.inLayer)
                paintOne(p, projection, it->second.drawing, &m_stamps);
    }
    m_layerUpTo = m_nextSerial;
    return m_layer;
}
