#pragma once

#include <QPointF>
#include <QSize>

// Equirectangular view: x grows with longitude scaled by the cosine of the
// home latitude (so shapes near home keep their proportions), y shrinks with
// latitude. Degrees in, pixels out.
class MapProjection
{
public:
    MapProjection();

    void setHome(double latitude, double longitude);
    void setSize(QSize size);
    QSize size() const { return m_size; }

    void centreOn(double latitude, double longitude);
    double centreLatitude() const { return m_centreLat; }
    double centreLongitude() const { return m_centreLon; }
    // Pixels per degree of latitude.
    double scale() const { return m_scale; }
    void setScale(double pixelsPerDegree);

    QPointF toPixel(double latitude, double longitude) const;
    // Horizontal pixels per degree of longitude.
    double pixelsPerDegreeLongitude() const { return m_cosLat * m_scale; }
    bool operator==(const MapProjection &other) const = default;
    void toDegrees(QPointF pixel, double *latitude, double *longitude) const;

    // Moves the view by a pixel offset (drag) and zooms keeping the point
    // under the given pixel in place.
    void panBy(QPointF pixels);
    void zoomAt(QPointF pixel, double factor);
    // Back to home at the default span of latitude, about 170 km: the reach
    // of a local APRS network.
    void reset();
    static constexpr double DefaultSpan = 1.5;

    static constexpr double MinScale = 0.5;     // whole world fits easily
    static constexpr double MaxScale = 200000;  // a few metres per pixel

private:
    double m_homeLat = 0;
    double m_homeLon = 0;
    double m_cosLat = 1;
    double m_centreLat = 0;
    double m_centreLon = 0;
    double m_scale = 150;
    QSize m_size{800, 600};
};
