#include "host/map/MapBackground.h"

#include "core/EarthImage.h"
#include "host/tiles/TileLayer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const QColor PlainGround(226, 234, 222);
const QColor PlainGrid(150, 165, 150);
// Over pictures a dark thin line shows on light street maps and on the
// lightened Earth alike.
const QColor PictureGrid(40, 60, 90, 70);

void paintGraticule(QPainter &p, const MapProjection &projection, bool overPictures)
{
    const QSize s = projection.size();
    double top = 0, bottom = 0, longitude = 0;
    projection.toDegrees(QPointF(0, 0), &top, &longitude);
    projection.toDegrees(QPointF(s.width(), s.height()), &bottom, &longitude);
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
    const QColor line = overPictures ? PictureGrid : PlainGrid;
    const QColor text = overPictures ? QColor(40, 50, 60) : PlainGrid;
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
    // Over pictures a label gets a light halo, or it is lost on the sea.
    auto write = [&](QPointF at, const QString &words) {
        if (overPictures) {
            p.setPen(QColor(255, 255, 255, 200));
            for (const QPointF &offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
                p.drawText(at + offset, words);
        }
        p.setPen(text);
        p.drawText(at, words);
    };
    for (double lat = std::ceil(std::max(bottom, -MapProjection::MaxLatitude) / step) * step;
         lat <= std::min(top, MapProjection::MaxLatitude); lat += step) {
        const double y = projection.toPixel(lat, 0).y();
        p.setPen(QPen(line, 1));
        p.drawLine(QPointF(0, y), QPointF(s.width(), y));
        write(QPointF(3, y - 2), label(lat, u'N', u'S'));
    }
    // Meridians by position across the view, which may cross the date line
    // or, zoomed right out, show the world more than once.
    const double perDegree = projection.pixelsPerDegreeLongitude();
    const double west = projection.centreLongitude() - s.width() / 2.0 / perDegree;
    for (double lon = std::ceil(west / step) * step; lon <= west + s.width() / perDegree; lon += step) {
        const double x = (lon - west) * perDegree;
        p.setPen(QPen(line, 1));
        p.drawLine(QPointF(x, 0), QPointF(x, s.height()));
        double wrapped = std::fmod(lon + 180.0, 360.0);
        wrapped = (wrapped < 0 ? wrapped + 360.0 : wrapped) - 180.0;
        write(QPointF(x + 2, s.height() - 4), label(wrapped, u'E', u'W'));
    }
}

void paintCredits(QPainter &p, const MapProjection &projection, const QStringList &credits)
{
    if (credits.isEmpty())
        return;
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(false);
    p.setFont(font);
    const QString text = credits.join(QStringLiteral(" | "));
    const QFontMetricsF metrics(font);
    const QSizeF size(std::min(metrics.horizontalAdvance(text) + 8, projection.size().width() * 0.8),
                      metrics.height() + 2);
    const QRectF box(QPointF(projection.size().width() - size.width(), projection.size().height() - size.height()),
                     size);
    p.fillRect(box, QColor(255, 255, 255, 190));
    p.setPen(QColor(40, 40, 40));
    p.drawText(box.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
               metrics.elidedText(text, Qt::ElideLeft, box.width() - 8));
}

} // namespace

MapBackground::MapBackground(TileLayer *tiles)
    : m_tiles(tiles)
{
}

QString MapBackground::note()
{
    return EarthImage::image(EarthImage::Kind::Day).isNull() ? EarthImage::missingNote() : QString();
}

void MapBackground::paint(QPainter &p, const MapProjection &projection)
{
    p.save();
    p.fillRect(QRect(QPoint(0, 0), projection.size()), PlainGround);
    TileLayer::Painted painted;
    if (m_tiles) {
        m_tiles->show(projection);
        painted = m_tiles->paint(p, projection);
    }
    p.setRenderHint(QPainter::Antialiasing);
    paintGraticule(p, projection, painted.pictures);
    QStringList notes;
    if (painted.bareGround && !note().isEmpty())
        notes.append(EarthImage::missingNote());
    // Without a word, a map that cannot reach its tile server is just an empty field.
    if (painted.fetchFailing)
        notes.append(FetchFailingNote);
    if (!notes.isEmpty()) {
        QFont font = p.font();
        font.setPixelSize(12);
        p.setFont(font);
        const QFontMetricsF metrics(font);
        const QRectF box(8, 6, projection.size().width() - 16, projection.size().height() / 2.0);
        const QRectF used = metrics.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                 notes.join(u'\n'));
        p.fillRect(used.adjusted(-4, -2, 4, 2), QColor(255, 255, 255, 200));
        p.setPen(QColor(70, 70, 70));
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, notes.join(u'\n'));
    }
    paintCredits(p, projection, painted.credits);
    p.restore();
}

const QImage &MapBackground::image(const MapProjection &projection, qreal devicePixelRatio)
{
    const QSize pixels = projection.size() * devicePixelRatio;
    const quint64 generation = m_tiles ? m_tiles->generation() : 0;
    if (m_image.size() == pixels && m_image.devicePixelRatio() == devicePixelRatio && m_view == projection
        && m_generation == generation)
        return m_image;
    m_image = QImage(pixels, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_view = projection;
    QPainter p(&m_image);
    paint(p, projection);
    // Showing the view may have changed nothing or everything: read after.
    m_generation = m_tiles ? m_tiles->generation() : 0;
    return m_image;
}
