#include "orbiter/EarthBackground.h"
#include "orbiter/Angles.h"

#include "core/EarthImage.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orbiter {

namespace {

// Day fades into night from 3 degrees of sun above the horizon to 8 below,
// about civil twilight.
constexpr double kDayFrom = 3.0 * kDeg;
constexpr double kNightFrom = -8.0 * kDeg;
// The sun moves a tenth of a degree in 24 seconds; redraw no more often.
constexpr double kSunStep = 0.1;

const QColor kOcean(24, 58, 102);
const QColor kNightOcean(6, 12, 28);

// 0 at night, 1 by day, smooth through twilight.
inline double dayWeight(double sunElevation)
{
    const double x = std::clamp((sunElevation - kNightFrom) / (kDayFrom - kNightFrom), 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// The night image is black but for city lights; a little of the day image
// keeps the continents in sight.
inline QRgb nightSide(QRgb night, QRgb day)
{
    return qRgb(std::min(255, qRed(night) + qRed(day) / 5), std::min(255, qGreen(night) + qGreen(day) / 5),
                std::min(255, qBlue(night) + qBlue(day) / 5));
}

inline QRgb blend(QRgb night, QRgb day, double w)
{
    night = nightSide(night, day);
    const int a = int(std::lround(w * 256.0));
    const int b = 256 - a;
    return qRgb((qRed(day) * a + qRed(night) * b) >> 8, (qGreen(day) * a + qGreen(night) * b) >> 8,
                (qBlue(day) * a + qBlue(night) * b) >> 8);
}

// The source images, or plain colours when the images are not installed.
struct Sources
{
    QImage day;
    QImage night;
    bool present = false;
};

// Read through the shared loader each time (it keeps the images), so a
// test that points it elsewhere is followed.
Sources sources()
{
    Sources out;
    out.day = EarthImage::image(EarthImage::Kind::Day);
    out.night = EarthImage::image(EarthImage::Kind::Night);
    out.present = !out.day.isNull();
    if (out.present && out.night.isNull()) {
        out.night = out.day;
        QPainter dim(&out.night);
        dim.fillRect(out.night.rect(), QColor(0, 0, 20, 200));
    }
    // Whole-pixel reads below rely on 32-bit pixels.
    if (out.present) {
        out.day = out.day.convertToFormat(QImage::Format_RGB32);
        out.night = out.night.convertToFormat(QImage::Format_RGB32);
    }
    return out;
}

double rounded(double value, double step)
{
    return std::round(value / step) * step;
}

} // namespace

QImage worldBackground(QSize size, double sunLat, double sunLon, bool nightShading)
{
    if (size.isEmpty())
        return {};
    const Sources src = sources();
    QImage day, night;
    if (src.present) {
        day = src.day.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
        night = src.night.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
    } else {
        day = QImage(size, QImage::Format_RGB32);
        day.fill(kOcean);
        night = QImage(size, QImage::Format_RGB32);
        night.fill(kNightOcean);
    }
    if (!nightShading)
        return day;

    const int w = size.width();
    const int h = size.height();
    const double sinDec = std::sin(sunLat * kDeg);
    const double cosDec = std::cos(sunLat * kDeg);
    std::vector<double> cosHour(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const double lon = -180.0 + (x + 0.5) * 360.0 / w;
        cosHour[std::size_t(x)] = std::cos((lon - sunLon) * kDeg);
    }
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const double lat = (90.0 - (y + 0.5) * 180.0 / h) * kDeg;
        const double a = std::sin(lat) * sinDec;
        const double b = std::cos(lat) * cosDec;
        const QRgb *d = reinterpret_cast<const QRgb *>(day.constScanLine(y));
        const QRgb *n = reinterpret_cast<const QRgb *>(night.constScanLine(y));
        QRgb *o = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double elevation = std::asin(std::clamp(a + b * cosHour[std::size_t(x)], -1.0, 1.0));
            o[x] = blend(n[x], d[x], dayWeight(elevation));
        }
    }
    return out;
}

QImage globeBackground(int diameter, double lat0, double lon0, double sunLat, double sunLon, bool nightShading)
{
    if (diameter <= 2)
        return {};
    const Sources src = sources();
    QImage out(diameter, diameter, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const double r = diameter / 2.0;
    const double sinLat0 = std::sin(lat0 * kDeg);
    const double cosLat0 = std::cos(lat0 * kDeg);
    const double sinDec = std::sin(sunLat * kDeg);
    const double cosDec = std::cos(sunLat * kDeg);
    const int sw = src.present ? src.day.width() : 1;
    const int sh = src.present ? src.day.height() : 1;
    const int nw = src.present ? src.night.width() : 1;
    const int nh = src.present ? src.night.height() : 1;

    for (int py = 0; py < diameter; ++py) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(py));
        const double y = r - (py + 0.5);
        for (int px = 0; px < diameter; ++px) {
            const double x = (px + 0.5) - r;
            const double rho = std::hypot(x, y);
            // A one-pixel soft rim keeps the edge smooth.
            const double coverage = std::clamp(r - rho + 0.5, 0.0, 1.0);
            if (coverage <= 0.0)
                continue;
            const double c = std::asin(std::min(1.0, rho / r));
            const double sinC = std::sin(c);
            const double cosC = std::cos(c);
            double lat, lon;
            if (rho < 1e-9) {
                lat = lat0 * kDeg;
                lon = lon0 * kDeg;
            } else {
                lat = std::asin(std::clamp(cosC * sinLat0 + y * sinC * cosLat0 / rho, -1.0, 1.0));
                lon = lon0 * kDeg + std::atan2(x * sinC, rho * cosLat0 * cosC - y * sinLat0 * sinC);
            }
            double lonDeg = std::fmod(lon / kDeg + 540.0, 360.0) - 180.0;
            const double latDeg = lat / kDeg;
            QRgb dayPixel, nightPixel;
            if (src.present) {
                const int dx = std::clamp(int((lonDeg + 180.0) / 360.0 * sw), 0, sw - 1);
                const int dy = std::clamp(int((90.0 - latDeg) / 180.0 * sh), 0, sh - 1);
                const int nx = std::clamp(int((lonDeg + 180.0) / 360.0 * nw), 0, nw - 1);
                const int ny = std::clamp(int((90.0 - latDeg) / 180.0 * nh), 0, nh - 1);
                dayPixel = reinterpret_cast<const QRgb *>(src.day.constScanLine(dy))[dx];
                nightPixel = reinterpret_cast<const QRgb *>(src.night.constScanLine(ny))[nx];
            } else {
                dayPixel = kOcean.rgb();
                nightPixel = kNightOcean.rgb();
            }
            QRgb pixel = dayPixel;
            if (nightShading) {
                const double elevation = std::asin(std::clamp(
                    std::sin(lat) * sinDec + std::cos(lat) * cosDec * std::cos(lon - sunLon * kDeg), -1.0, 1.0));
                pixel = blend(nightPixel, dayPixel, dayWeight(elevation));
            }
            // A little darker towards the limb, as a sphere looks.
            const double shade = 0.72 + 0.28 * cosC;
            const int alpha = int(std::lround(coverage * 255.0));
            const double k = shade * coverage;
            line[px] = qRgba(int(qRed(pixel) * k), int(qGreen(pixel) * k), int(qBlue(pixel) * k), alpha);
        }
    }
    return out;
}

const QImage &EarthBackgrounds::world(QSize size, double sunLat, double sunLon, bool shading)
{
    const Key key{size, rounded(sunLat, kSunStep), rounded(sunLon, kSunStep), 0, 0, shading};
    if (!(key == m_worldKey) || m_world.isNull()) {
        m_worldKey = key;
        m_world = worldBackground(size, key.a, key.b, shading);
    }
    return m_world;
}

const QImage &EarthBackgrounds::globe(int diameter, double lat0, double lon0, double sunLat, double sunLon,
                                      bool shading)
{
    const Key key{QSize(diameter, diameter), rounded(lat0, 0.01), rounded(lon0, 0.01), rounded(sunLat, kSunStep),
                  rounded(sunLon, kSunStep), shading};
    if (!(key == m_globeKey) || m_globe.isNull()) {
        m_globeKey = key;
        m_globe = globeBackground(diameter, key.a, key.b, key.c, key.d, shading);
    }
    return m_globe;
}

} // namespace orbiter
