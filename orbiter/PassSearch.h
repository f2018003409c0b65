#pragma once

#include "orbiter/EarthFrames.h"
#include "orbiter/PassFinder.h"
#include "orbiter/Sgp4.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace orbiter {

// One satellite's pass search with copies of all it needs, so that it can
// run on any thread; the tracker hands it out and takes the answer back.
struct PassSearch
{
    int entry = 0;
    std::uint64_t epoch = 0;  // of the tracker's satellites and observers
    Sgp4 model;
    std::vector<Site> own;     // the observer
    std::vector<Site> mutual;  // both observers; empty without a second one
    double time = 0;           // seconds since 1970 UTC
    bool up = false;           // above the observer's horizon at that time
    double window = 0;         // seconds ahead to look
};

struct PassesFound
{
    int entry = 0;
    std::uint64_t epoch = 0;
    double time = 0;
    std::optional<Pass> current;
    std::optional<Pass> next;
    std::optional<Pass> nextMutual;
};

PassesFound findPasses(PassSearch search);

} // namespace orbiter
