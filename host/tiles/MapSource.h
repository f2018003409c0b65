#pragma once

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

// One square of the tiled web map: zoom level, column from the date line
// eastwards, row from the north edge southwards.
struct TileKey
{
    int z = 0, x = 0, y = 0;

    bool isValid() const { return z >= 0 && z <= 29 && x >= 0 && y >= 0 && x < (1 << z) && y < (1 << z); }
    TileKey parent() const { return {z - 1, x >> 1, y >> 1}; }
    // One number per tile, for hashing and as a cache key.
    quint64 id() const { return quint64(z) << 58 | quint64(x) << 29 | quint64(y); }
    bool operator==(const TileKey &) const = default;
};
Q_DECLARE_METATYPE(TileKey)

inline size_t qHash(const TileKey &key, size_t seed = 0) { return qHash(key.id(), seed); }

// Somewhere map tiles come from: a tile server, a file of tiles, the Earth
// image. The map tells a source which tiles it still needs; the source
// answers each later, never from inside fetch(), with tileLoaded or
// tileMissing. Pictures arrive decoded, 256 x 256, ready to draw.
class MapSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MapSource() override = default;

    // The tiles wanted now, most wanted first. Replaces the previous wish:
    // tiles asked for before and no longer listed need not be fetched.
    virtual void fetch(const QList<TileKey> &wanted) = 0;
    // The credit the source's licence asks to be shown with its tiles.
    virtual QString attribution() const { return {}; }
    // The deepest zoom the source has; deeper views show its tiles enlarged.
    virtual int maxZoom() const { return 18; }

signals:
    void tileLoaded(TileKey key, const QImage &image);
    // retryLater: the source failed (a network error) rather than having no
    // such tile, so asking again in a while may bring it.
    void tileMissing(TileKey key, bool retryLater);
};
