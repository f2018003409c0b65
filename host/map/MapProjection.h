#pragma once

#include <QPointF>
#include <QSize>

// The web's Mercator view, in whole zoom levels so that map tiles are drawn
// pixel for pixel: at zoom z the world is 256 x 2^z pixels square, x growing
// east from the date line and y south from about 85 degrees north. Degrees
// in, pixels out.
class MapProjection
{
public:
    static constexpr int TileSize = 256;
    static constexpr int MinZoom = 0;   // the whole world
    static constexpr int MaxZoom = 18;  // street level
    // Mercator stretches to infinity at the poles; the square world stops here.
    static constexpr double MaxLatitude = 85.0511287798066;

    MapProjection();

    void setHome(double latitude, double longitude);
    void setSize(QSize size);
    QSize size() const { return m_size; }

    void centreOn(double latitude, double longitude);
    double centreLatitude() const;
    double centreLongitude() const;
    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    // The world's width and height in pixels at this zoom.
    double worldSize() const { return double(TileSize) * (1 << m_zoom); }
    // The world pixel under the view's top-left corner (x not wrapped).
    QPointF topLeft() const;

    // A point is placed on the copy of the world nearest the middle of the
    // view, so stations just across the date line show beside it.
    QPointF toPixel(double latitude, double longitude) const;
    void toDegrees(QPointF pixel, double *latitude, double *longitude) const;
    // The same from a place already in the unit square (unitX, unitY): the
    // costly part of toPixel, which a caller drawing many places every
    // paint can keep.
    QPointF unitToPixel(QPointF unit) const;
    // The scale at a latitude: Mercator keeps shapes, not sizes.
    double pixelsPerKm(double latitude) const;
    double pixelsPerDegreeLongitude() const { return worldSize() / 360.0; }
    bool operator==(const MapProjection &other) const = default;

    // Moves the view by a pixel offset (drag), and zooms by whole levels
    // keeping the point under the given pixel in place.
    void panBy(QPointF pixels);
    void zoomAt(QPointF pixel, int steps);
    // Back to home, zoomed so that about 1.5 degrees of latitude show (some
    // 170 km, the reach of a local APRS network) or a little more.
    void reset();
    static constexpr double DefaultSpan = 1.5;

    // Web Mercator in the unit square: 0 at the date line and the top edge.
    static double unitX(double longitude);
    static double unitY(double latitude);
    static double latitudeAtUnitY(double y);

private:
    double m_homeLat = 0;
    double m_homeLon = 0;
    int m_zoom = 8;
    QPointF m_centre{0.5, 0.5};  // in the unit square
    QSize m_size{800, 600};
};
