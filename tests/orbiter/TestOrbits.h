#pragma once

#include "orbiter/ElementSet.h"
#include "orbiter/Sgp4.h"
#include "satellites/ElementChecksum.h"

#include <cstdio>
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
    const char *bstar = " 10000-3";  // columns 54-61
};

inline std::string withCheck(std::string line)
{
    line.resize(68, ' ');
    return line + char('0' + ElementChecksum::compute(line));
}

inline std::pair<std::string, std::string> lines(const Elements &e)
{
    char l1[80], l2[80];
    std::snprintf(l1, sizeof l1, "1 %05dU 26001A   %02d%012.8f  .00000000  00000-0 %s 0  999", e.catalogue,
                  e.epochYear, e.epochDay, e.bstar);
    std::snprintf(l2, sizeof l2, "2 %05d %8.4f %8.4f %07d %8.4f %8.4f %11.8f    1", e.catalogue, e.inclination, e.raan,
                  int(e.eccentricity * 1e7 + 0.5), e.argPerigee, e.meanAnomaly, e.revsPerDay);
    return {withCheck(l1), withCheck(l2)};
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
inline const Elements kStation{25544, 26, kEpochDay, 51.6416, 247.4627, 0.0006703, 130.5360, 325.0288, 15.50377579, " 30270-3"};
inline const Elements kWeather{33591, 26, kEpochDay, 99.1900, 120.3000, 0.0013500, 200.0000, 160.0000, 14.12500000};
inline const Elements kMolniya{99001, 26, kEpochDay, 62.8000, 281.5000, 0.7010000, 270.0000, 10.0000, 2.00600000};
inline const Elements kGeostationary{99002, 26, kEpochDay, 0.0500, 80.0000, 0.0002000, 90.0000, 100.0000, 1.00273790};

} // namespace testorbits
