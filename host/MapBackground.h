#pragma once

#include "host/MapProjection.h"

#include <QImage>
#include <QString>

class QPainter;

// The ground under the host map: the Earth by day when the image is
// installed, lightened so that symbols and drawings stay readable, else a
// plain colour with a one-line note; a graticule with labels over either.
// Kept as a picture between paints and drawn again only when the view moves.
class MapBackground
{
public:
    // The picture for this view.
    const QImage &image(const MapProjection &projection, qreal devicePixelRatio);
    // Paints straight onto a painter (a copy of the map, a test).
    static void paint(QPainter &painter, const MapProjection &projection);
    // The note shown when there is no Earth image; empty when there is one.
    static QString note();

private:
    QImage m_image;
    MapProjection m_view;
};
