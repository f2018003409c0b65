#pragma once

#include "host/map/MapProjection.h"

#include <QImage>
#include <QString>

class QPainter;
class TileLayer;

// The ground under the host map: the tiles of the view on a plain colour,
// a graticule with labels, the credits the tiles' licences ask for, a note
// where only the plain ground shows because the Earth image is not
// installed, and one while the tile server cannot be reached. Kept as a picture between paints and drawn again only
// when the view moves or a tile arrives.
class MapBackground
{
public:
    static inline const QString FetchFailingNote = QStringLiteral(
        "Map tiles cannot be fetched from the tile server (no internet connection?). To work offline, "
        "open an offline map file with Map > Open Offline Map..., or tick Map > Work Offline to show "
        "the tiles kept from before.");

    explicit MapBackground(TileLayer *tiles);

    // The picture for this view.
    const QImage &image(const MapProjection &projection, qreal devicePixelRatio);
    // Paints straight onto a painter (a copy of the map, a test).
    void paint(QPainter &painter, const MapProjection &projection);
    // The note shown when there is no Earth image; empty when there is one.
    static QString note();

private:
    TileLayer *m_tiles;
    QImage m_image;
    MapProjection m_view;
    quint64 m_generation = 0;
};
