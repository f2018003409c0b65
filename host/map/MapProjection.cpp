#include "host/map/MapProjection.h"

#include "host/map/GeoMath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Radian = std::numbers::pi / 180.0;

} // namespace

MapProjection::MapProjection() { reset(); }

double MapProjection::unitX(double longitude) { return (longitude + 180.0) / 360.0; }

double MapProjection::unitY(double latitude)
{
    const double phi = std::clamp(latitude, -MaxLatitude, MaxLatitude) * Radian;
    return 0.5 - std::atanh(std::sin(phi)) / (2 * std::numbers::pi);
}

double MapProjection::latitudeAtUnitY(double y)
{
    return std::atan(std::sinh((1 - 2 * y) * std::numbers::pi)) / Radian;
}

void MapProjection::setHome(double latitude, double longitude)
{
    m_homeLat = std::clamp(latitude, -MaxLatitude, MaxLatitude);
    m_homeLon = longitude;
    reset();
}

void MapProjection::setSize(QSize size)
{
    if (size.width() > 0 && size.height() > 0)
        m_size = size;
}

void MapProjection::centreOn(double latitude, double longitude)
{
    const double x = unitX(longitude);
    m_centre = {x - std::floor(x), unitY(latitude)};
}

double MapProjection::centreLatitude() const { return latitudeAtUnitY(m_centre.y()); }

double MapProjection::centreLongitude() const { return m_centre.x() * 360.0 - 180.0; }

void MapProjection::setZoom(int zoom) { m_zoom = std::clamp(zoom, MinZoom, MaxZoom); }

QPointF MapProjection::topLeft() const
{
    const double world = worldSize();
    return {m_centre.x() * world - m_size.width() / 2.0, m_centre.y() * world - m_size.height() / 2.0};
}

QPointF MapProjection::toPixel(double latitude, double longitude) const
{
    return unitToPixel({unitX(longitude), unitY(latitude)});
}

QPointF MapProjection::unitToPixel(QPointF unit) const
{
    const double world = worldSize();
    double dx = unit.x() - m_centre.x();
    dx -= std::round(dx);
    return {m_size.width() / 2.0 + dx * world, m_size.height() / 2.0 + (unit.y() - m_centre.y()) * world};
}

void MapProjection::toDegrees(QPointF pixel, double *latitude, double *longitude) const
{
    const double world = worldSize();
    const double x = m_centre.x() + (pixel.x() - m_size.width() / 2.0) / world;
    const double y = m_centre.y() + (pixel.y() - m_size.height() / 2.0) / world;
    *longitude = (x - std::floor(x)) * 360.0 - 180.0;
    *latitude = latitudeAtUnitY(y);
}

double MapProjection::pixelsPerKm(double latitude) const
{
    const double cosLat = std::max(1e-6, std::cos(std::clamp(latitude, -MaxLatitude, MaxLatitude) * Radian));
    return worldSize() / (2 * std::numbers::pi * geo::EarthRadiusKm * cosLat);
}

void MapProjection::panBy(QPointF pixels)
{
    const double world = worldSize();
    const double x = m_centre.x() - pixels.x() / world;
    m_centre = {x - std::floor(x), std::clamp(m_centre.y() - pixels.y() / world, 0.0, 1.0)};
}

void MapProjection::zoomAt(QPointF pixel, int steps)
{
    const QPointF offset = pixel - QPointF(m_size.width() / 2.0, m_size.height() / 2.0);
    const QPointF under = m_centre + offset / worldSize();
    setZoom(m_zoom + steps);
    const QPointF centre = under - offset / worldSize();
    m_centre = {centre.x() - std::floor(centre.x()), std::clamp(centre.y(), 0.0, 1.0)};
}

void MapProjection::reset()
{
    centreOn(m_homeLat, m_homeLon);
    // Pixels per degree of latitude near home are world / 360 / cos(latitude).
    const double world = m_size.height() * 360.0 * std::cos(m_homeLat * Radian) / DefaultSpan;
    setZoom(int(std::floor(std::log2(std::max(1.0, world / TileSize)))));
}
