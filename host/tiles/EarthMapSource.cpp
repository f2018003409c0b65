#include "host/tiles/EarthMapSource.h"

#include "core/EarthImage.h"
#include "host/map/MapProjection.h"

#include <cmath>
#include <vector>

namespace {

// How much white goes over the Earth: enough for dark symbols and thin
// drawings to stand out, little enough that coasts and relief still show.
constexpr int WashAlpha = 72;

} // namespace

EarthMapSource::EarthMapSource(QObject *parent)
    : PooledMapSource(parent)
    // Read here: the image loader is not for other threads.
    , m_earth(EarthImage::image(EarthImage::Kind::Day).convertToFormat(QImage::Format_RGB32))
{
}

QImage EarthMapSource::cut(const QImage &earth, TileKey key)
{
    if (earth.isNull() || !key.isValid())
        return {};
    const int side = MapProjection::TileSize;
    const int w = earth.width(), h = earth.height();
    const double world = double(side) * (1 << key.z);
    // Columns share their longitude, rows their latitude: each is worked out once.
    std::vector<int> x0(side), x1(side);
    std::vector<int> fx(side);
    for (int i = 0; i < side; ++i) {
        const double sx = (double(key.x) * side + i + 0.5) / world * w - 0.5;
        const double left = std::floor(sx);
        x0[i] = ((int(left) % w) + w) % w;
        x1[i] = (x0[i] + 1) % w;
        fx[i] = int((sx - left) * 256);
    }
    QImage tile(side, side, QImage::Format_RGB32);
    for (int j = 0; j < side; ++j) {
        const double latitude = MapProjection::latitudeAtUnitY((double(key.y) * side + j + 0.5) / world);
        const double sy = std::clamp((90.0 - latitude) / 180.0 * h - 0.5, 0.0, h - 1.0);
        const int y0 = int(sy), y1 = std::min(y0 + 1, h - 1);
        const int fy = int((sy - y0) * 256);
        const auto *top = reinterpret_cast<const QRgb *>(earth.constScanLine(y0));
        const auto *bottom = reinterpret_cast<const QRgb *>(earth.constScanLine(y1));
        auto *out = reinterpret_cast<QRgb *>(tile.scanLine(j));
        for (int i = 0; i < side; ++i) {
            auto mix = [&](int shift) {
                auto channel = [shift](QRgb c) { return int((c >> shift) & 0xFF); };
                const int upper = channel(top[x0[i]]) * (256 - fx[i]) + channel(top[x1[i]]) * fx[i];
                const int lower = channel(bottom[x0[i]]) * (256 - fx[i]) + channel(bottom[x1[i]]) * fx[i];
                const int value = (upper * (256 - fy) + lower * fy) >> 16;
                return value + (255 - value) * WashAlpha / 255;
            };
            out[i] = qRgb(mix(16), mix(8), mix(0));
        }
    }
    return tile;
}

PooledMapSource::Work EarthMapSource::work() const
{
    return [earth = m_earth](const QList<TileKey> &keys, const Cancel &cancel) {
        QList<Answer> answers;
        for (const TileKey &key : keys) {
            if (cancel->load())
                break;
            answers.append({key, cut(earth, key)});
        }
        return Batch(answers);
    };
}
