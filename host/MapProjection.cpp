#include "host/MapProjection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

MapProjection::MapProjection() { reset(); }

void MapProjection::setHome(double latitude, double longitude)
{
    m_homeLat = std::clamp(latitude, -85.0, 85.0);
    m_homeLon = longitude;
    m_cosLat = std::max(0.1, std::cos(m_homeLat * std::numbers::pi / 180.0));
    reset();
}

void MapProjection::setSize(QSize size)
{
    if (size.width() > 0 && size.height() > 0)
        m_size = size;
}

void MapProjection::centreOn(double latitude, double longitude)
{
    m_centreLat = std::clamp(latitude, -90.0, 90.0);
    m_centreLon = std::clamp(longitude, -180.0, 180.0);
}

void MapProjection::setScale(double pixelsPerDegree)
{
    m_scale = std::clamp(pixelsPerDegree, MinScale, MaxScale);
}

QPointF MapProjection::toPixel(double latitude, double longitude) const
{
    return {m_size.width() / 2.0 + (longitude - m_centreLon) * m_cosLat * m_scale,
            m_size.height() / 2.0 - (latitude - m_centreLat) * m_scale};
}

void MapProjection::toDegrees(QPointF pixel, double *latitude, double *longitude) const
{
    *longitude = m_centreLon + (pixel.x() - m_size.width() / 2.0) / (m_cosLat * m_scale);
    *latitude = m_centreLat - (pixel.y() - m_size.height() / 2.0) / m_scale;
}

void MapProjection::panBy(QPointF pixels)
{
    centreOn(m_centreLat + pixels.y() / m_scale, m_centreLon - pixels.x() / (m_cosLat * m_scale));
}

void MapProjection::zoomAt(QPointF pixel, double factor)
{
    double lat = 0, lon = 0;
    toDegrees(pixel, &lat, &lon);
    setScale(m_scale * factor);
    // Keep (lat, lon) under the same pixel.
    const QPointF moved = toPixel(lat, lon);
    panBy(pixel - moved);
}

void MapProjection::reset()
{
    m_centreLat = m_homeLat;
    m_centreLon = m_homeLon;
    m_scale = std::clamp(m_size.height() / DefaultSpan, MinScale, MaxScale);
}
