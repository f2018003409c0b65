#pragma once

#include "orbiter/ElementSet.h"
#include "orbiter/ElementSetWriter.h"
#include "orbiter/Sgp4.h"

#include <stdexcept>
#include <string>
#include <utility>

// Element lines for the orbits the tests fly, written from their elements
// with valid check digits.
namespace testorbits {

struct Elements
{
    int catalogue;
    int epochYear;     // two digits
    double epochDay;
    double inclination;
    double raan;
    double eccentricity;
    double argPerigee;
    double meanAnomaly;
    double revsPerDay;
    double bstar = 1e-4;
};

inline std::pair<std::string, std::string> lines(const Elements &e)
{
    orbiter::PublishedElements published;
    published.catalogue = std::to_string(e.catalogue);
    published.designator = "26001A";
    published.epochYear = 2000 + e.epochYear;
    published.epochDay = e.epochDay;
    published.inclination = e.inclination;
    published.raan = e.raan;
    published.eccentricity = e.eccentricity;
    published.argPerigee = e.argPerigee;
    published.meanAnomaly = e.meanAnomaly;
    published.revsPerDay = e.revsPerDay;
    published.bstar = e.bstar;
    return orbiter::elementLines(published);
}

inline orbiter::Sgp4 model(const Elements &e)
{
    const auto [l1, l2] = lines(e);
    orbiter::ElementSet set;
    orbiter::Sgp4 m;
    if (!orbiter::parseElementSet(l1, l2, set))
        throw std::runtime_error("bad test elements: " + l1 + " / " + l2);
    m.init(set);
    return m;
}

// Epoch 2026 day 160.5 (9 June, noon UTC) for all of them.
inline constexpr double kEpochDay = 160.5;
inline const Elements kStation{25544, 26, kEpochDay, 51.6416, 247.4627, 0.0006703, 130.5360, 325.0288, 15.50377579, 3.027e-4};
inline const Elements kWeather{33591, 26, kEpochDay, 99.1900, 120.3000, 0.0013500, 200.0000, 160.0000, 14.12500000};
inline const Elements kMolniya{99001, 26, kEpochDay, 62.8000, 281.5000, 0.7010000, 270.0000, 10.0000, 2.00600000};
inline const Elements kGeostationary{99002, 26, kEpochDay, 0.0500, 80.0000, 0.0002000, 90.0000, 100.0000, 1.00273790};

} // namespace testorbits
