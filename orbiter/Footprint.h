#pragma once

#include <vector>

// The footprint: the part of the Earth from which a body is above the
// horizon, a circle on a spherical Earth.
namespace orbiter {

// Angular radius (radians, from the centre of the Earth) of the footprint
// of a body at that height above the mean sphere.
double footprintAngle(double heightKm);
// Its diameter along the ground, km.
double footprintDiameterKm(double heightKm);

struct LatLon
{
    double latitude;   // radians
    double longitude;  // radians, unwrapped: successive points never jump by a turn
};

struct Outline
{
    std::vector<LatLon> ring;  // the circle, unwrapped in longitude
    // 1 or -1 when the circle holds the north or south pole: then the ring
    // runs a whole turn of longitude instead of closing on itself.
    int pole = 0;

    // The ring as an area to fill on a map: a circle round a pole is closed
    // along that pole's edge of the map.
    std::vector<LatLon> area() const;
};

// The circle of that angular radius around a centre.
Outline footprintOutline(double latitude, double longitude, double angle, int points = 120);

} // namespace orbiter
