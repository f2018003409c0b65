#pragma once

#include <string>
#include <utility>

namespace orbiter {

// The elements of one satellite as a two-line element set publishes them:
// degrees, revolutions per day, the drag term in inverse Earth radii.
struct PublishedElements
{
    std::string catalogue;    // up to five characters, "25544"
    std::string designator;   // international designator, "98067A"
    int epochYear = 2000;     // four digits
    double epochDay = 1;      // day of the year with its fraction; 1.0 is 1 January 0h UTC
    double inclination = 0;
    double raan = 0;
    double eccentricity = 0;
    double argPerigee = 0;
    double meanAnomaly = 0;
    double revsPerDay = 0;
    double bstar = 0;
    int revolution = 1;       // revolution number at the epoch
    int elementNumber = 999;
};

// Lines 1 and 2 in their fixed columns, each ending in its check digit.
// Angles are brought into 0 to 360 degrees.
std::pair<std::string, std::string> elementLines(const PublishedElements &elements);

} // namespace orbiter
