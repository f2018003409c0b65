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

// Points of the circle of that angular radius around a centre, unwrapped in
// longitude. When the circle holds a pole the outline runs along that pole's
// edge of the map, so filling it between the two map edges covers the cap.
std::vector<LatLon> footprintOutline(double latitude, double longitude, double angle, int points = 120);

} // namespace orbiter
