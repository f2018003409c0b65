#include "host/MapBackground.h"

#include "core/EarthImage.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor PlainGround(226, 234, 222);
const QColor PlainGrid(150, 165, 150);
const QColor EarthGrid(255, 255, 255, 110);
// How much white goes over the Earth: enough for dark symbols and thin
// drawings to stand out, little enough that coasts and relief still show.
const QColor EarthWash(255, 255, 255, 72);

void paintEarth(QPainter &p, const MapProjection &projection, const QImage &earth)
{
    const QSizeF view(projection.size());
    const double w = earth.width(), h = earth.height();
    // The image spans 360 by 180 degrees; the view may cross the date line,
    // so the copies either side are drawn where they show.
    for (const double shift : {-360.0, 0.0, 360.0}) {
        const QPointF topLeft = projection.toPixel(90, -180 + shift);
        const QPointF bottomRight = projection.toPixel(-90, 180 + shift);
        const QRectF whole(topLeft, bottomRight);
        const QRectF target = whole.intersected(QRectF(QPointF(0, 0), view));
        if (target.isEmpty())
            continue;
        const QRectF source((target.left() - whole.left()) / whole.width() * w,
                            (target.top() - whole.top()) / whole.height() * h, target.width() / whole.width() * w,
                            target.height() / whole.height() * h);
        p.drawImage(target, earth, source);
    }
    p.fillRect(QRectF(QPointF(0, 0), view), EarthWash);
}

void paintGraticule(QPainter &p, const MapProjection &projection, bool overEarth)
{
    const QSize s = projection.size();
    double top = 0, left = 0, bottom = 0, right = 0;
    projection.toDegrees(QPointF(0, 0), &top, &left);
    projection.toDegrees(QPointF(s.width(), s.height()), &bottom, &right);
    static const double steps[] = {1 / 60.0, 2 / 60.0, 5 / 60.0, 10 / 60.0, 0.25, 0.5, 1, 2, 5, 10, 15, 30};
    // The finest step that leaves room for a label between meridians.
    double step = 30;
    for (double candidate : steps)
        if (candidate * projection.pixelsPerDegreeLongitude() >= 90) {
            step = candidate;
            break;
        }
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    const QColor line = overEarth ? EarthGrid : PlainGrid;
    const QColor text = overEarth ? QColor(40, 50, 60) : PlainGrid;
    // Whole degrees, or degrees and minutes for finer lines.
    auto label = [step](double value, QChar positive, QChar negative) {
        const QChar hemisphere = value >= 0 ? positive : negative;
        const double a = std::abs(value);
        if (step >= 1)
            return QString::number(std::lround(a)) + QChar(0xB0) + hemisphere;
        int degrees = int(a);
        int minutes = int(std::lround((a - degrees) * 60));
        if (minutes == 60) {
            ++degrees;
            minutes = 0;
        }
        return QStringLiteral("%1%2%3'%4").arg(degrees).arg(QChar(0xB0)).arg(minutes, 2, 10, QChar(u'0')).arg(hemisphere);
    };
    // Over the Earth a label gets a light halo, or it is lost on the sea.
    auto write = [&](QPointF at, const QString &words) {
        if (overEarth) {
            p.setPen(QColor(255, 255, 255, 200));
            for (const QPointF &offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
                p.drawText(at + offset, words);
        }
        p.setPen(text);
        p.drawText(at, words);
    };
    for (double lat = std::ceil(std::max(bottom, -90.0) / step) * step; lat <= std::min(top, 90.0); lat += step) {
        const double y = projection.toPixel(lat, 0).y();
        p.setPen(QPen(line, 1));
        p.drawLine(QPointF(0, y), QPointF(s.width(), y));
        write(QPointF(3, y - 2), label(lat, u'N', u'S'));
    }
    for (double lon = std::ceil(std::max(left, -180.0) / step) * step; lon <= std::min(right, 180.0); lon += step) {
        const double x = projection.toPixel(0, lon).x();
        p.setPen(QPen(line, 1));
        p.drawLine(QPointF(x, 0), QPointF(x, s.height()));
        write(QPointF(x + 2, s.height() - 4), label(lon, u'E', u'W'));
    }
}

} // namespace

QString MapBackground::note()
{
    return EarthImage::image(EarthImage::Kind::Day).isNull() ? EarthImage::missingNote() : QString();
}

void MapBackground::paint(QPainter &p, const MapProjection &projection)
{
    p.save();
    const QImage earth = EarthImage::image(EarthImage::Kind::Day);
    if (earth.isNull()) {
        p.fillRect(QRect(QPoint(0, 0), projection.size()), PlainGround);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        paintEarth(p, projection, earth);
    }
    p.setRenderHint(QPainter::Antialiasing);
    paintGraticule(p, projection, !earth.isNull());
    if (earth.isNull()) {
        QFont font = p.font();
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(QColor(90, 90, 90));
        p.drawText(QRectF(8, 6, projection.size().width() - 16, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   EarthImage::missingNote());
    }
    p.restore();
}

const QImage &MapBackground::image(const MapProjection &projection, qreal devicePixelRatio)
{
    const QSize pixels = projection.size() * devicePixelRatio;
    if (m_image.size() == pixels && m_image.devicePixelRatio() == devicePixelRatio && m_view == projection)
        return m_image;
    m_image = QImage(pixels, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_view = projection;
    QPainter p(&m_image);
    paint(p, projection);
    return m_image;
}
