#pragma once

#include <QPointF>

// Great-circle calculations on a sphere of the mean Earth radius.
namespace geo {

constexpr double EarthRadiusKm = 6371.0088;
constexpr double KmPerMile = 1.609344;

struct DistanceBearing
{
    double distanceKm = 0;
    double bearing = 0;  // degrees clockwise from true north, 0 to < 360
};

// Positions in degrees, north and east positive.
DistanceBearing distanceBearing(double lat1, double lon1, double lat2, double lon2);

// The point reached from (lat, lon) going distanceKm along the initial bearing;
// x is the longitude and y the latitude, in degrees.
QPointF destination(double lat, double lon, double bearing, double distanceKm);

} // namespace geo
