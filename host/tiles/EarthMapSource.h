#pragma once

#include "host/tiles/PooledMapSource.h"

// The last resort under the map: tiles cut from the Earth image (one
// picture of the whole world), lightened so that symbols and drawings stay
// readable. Without the image every tile is missing and the map shows its
// plain ground.
class EarthMapSource : public PooledMapSource
{
    Q_OBJECT
public:
    explicit EarthMapSource(QObject *parent = nullptr);
    bool hasImage() const { return !m_earth.isNull(); }
    // Deeper tiles would only enlarge the picture's pixels further.
    int maxZoom() const override { return 10; }

    // A tile of an equirectangular world picture, in the web's tiling.
    static QImage cut(const QImage &earth, TileKey key);

protected:
    Work work() const override;

private:
    QImage m_earth;
};
