#pragma once

#include "orbiter/EarthFrames.h"
#include "orbiter/Sgp4.h"

#include <optional>
#include <vector>

namespace orbiter {

// One pass over the horizon. Times in seconds since 1970 UTC, angles in radians.
struct Pass
{
    double aos = 0;          // acquisition of signal: rises above the horizon
    double los = 0;          // loss of signal: sets
    double culmination = 0;  // time of the highest elevation
    double maxElevation = 0;
    double aosAzimuth = 0;
    double losAzimuth = 0;
};

// Finds passes by walking the elevation in steps that cannot jump over a
// rising or a setting: from the distance to the satellite and the most its
// Earth-fixed speed can be, no step is longer than the time the line of
// sight needs to turn from where it is to the horizon. Crossings are then
// narrowed to a millisecond. With two or more sites a pass is a time when
// every site sees the satellite (mutual visibility).
class PassFinder
{
public:
    PassFinder(Sgp4 &model, std::vector<Site> sites);

    // The first pass that rises after `from` (a pass in progress at `from`
    // is not it) and no later than `window` seconds after `from`. None when
    // there is none, or when the model fails on the way.
    std::optional<Pass> next(double from, double window);
    // The pass in progress at `at`, if the satellite is up then.
    std::optional<Pass> current(double at, double window);

    // The lowest elevation of the sites (the one that decides), or none
    // where the model fails.
    std::optional<double> elevation(double unixSeconds);

private:
    struct Sample
    {
        bool ok = false;
        double worst = 0;  // lowest elevation over the sites
        double step = 0;   // the longest safe step from here
    };
    Sample sample(double t);
    // Where the sign of the elevation changes, walking from t in the given
    // direction for at most span seconds: the last time on the starting
    // side and the first on the other, a millisecond apart.
    struct Crossing
    {
        double before;
        double after;
    };
    std::optional<Crossing> crossing(double t, int direction, double span);
    std::optional<Pass> completePass(double aos, double los);

    Sgp4 &m_model;
    std::vector<Site> m_sites;
    double m_speedLimit = 0;  // km/s, Earth-fixed
};

} // namespace orbiter
