// Propagations per second of the orbit model, with every check it makes,
// and the next-pass search the views and the map objects run.
#include "orbiter/PassFinder.h"
#include "orbiter/Sgp4.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace orbiter;

namespace {

// A space-station orbit (low, slightly eccentric, strong drag).
const char *const kStation1 = "1 25544U 98067A   26160.50000000  .00016717  00000-0  30270-3 0  9997";
const char *const kStation2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.50377579 50003";
// A Molniya orbit (twelve hours, eccentricity 0.7: deep space with the
// half-day resonance).
const char *const kMolniya1 = "1 99001U 24001A   26160.50000000  .00000100  00000-0  10000-3 0  9991";
const char *const kMolniya2 = "2 99001  62.8000 281.5000 7010000 270.0000  10.0000  2.00600000 10000";

Sgp4 model(const char *line1, const char *line2)
{
    ElementSet elements;
    Sgp4 m;
    if (!parseElementSet(line1, line2, elements) || m.init(elements) != Sgp4Error::None)
        std::abort();
    return m;
}

// One propagation per iteration, walking through a day in 0.7-minute steps
// so no two calls ask for the same time.
void propagateOverADay(benchmark::State &state, Sgp4 m)
{
    double t = 0;
    Vec3 r, v;
    for (auto _ : state) {
        const Sgp4Error e = m.propagate(t, r, v);
        benchmark::DoNotOptimize(e);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(v);
        t += 0.7;
        if (t > 1440.0)
            t = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Sgp4NearEarth(benchmark::State &state)
{
    propagateOverADay(state, model(kStation1, kStation2));
}
BENCHMARK(BM_Sgp4NearEarth);

void BM_Sgp4DeepSpace(benchmark::State &state)
{
    propagateOverADay(state, model(kMolniya1, kMolniya2));
}
BENCHMARK(BM_Sgp4DeepSpace);

// Every pass of the space station over 24 hours for an observer at 52
// degrees north, one search after the other as the views do.
void BM_NextPassSearch24h(benchmark::State &state)
{
    Sgp4 m = model(kStation1, kStation2);
    const Site observer(Geodetic{52.0 * 0.017453292519943295, -1.25 * 0.017453292519943295, 0.1});
    const double start = m.elements().epochUnix + 3600.0;
    const double day = 86400.0;
    long passes = 0;
    for (auto _ : state) {
        PassFinder finder(m, {observer});
        double t = start;
        while (const auto pass = finder.next(t, start + day - t)) {
            benchmark::DoNotOptimize(pass->maxElevation);
            t = pass->aos;
            ++passes;
        }
    }
    state.counters["passes_per_day"] = double(passes) / double(state.iterations());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextPassSearch24h)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
