// The host map on street tiles from a loopback tile server: a drag across
// tiles already fetched with 50,000 stations in view, and a zoom step
// whose tiles arrive one by one, each arrival painted as the window would.
#include "BusyMap.h"
#include "TileServer.h"

#include "host/tiles/NetworkMapSource.h"

#include <ctime>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct TileMap
{
    QTemporaryDir cache;
    TileServer server;
    StationDatabase database;
    EmbeddedHostMap map{&database};

    explicit TileMap(bool withStations)
    {
        map.setHome(QStringLiteral("G0HOM"), HomeLat, HomeLon);
        map.setSize({800, 600});
        if (withStations)
            addStations(database, nullptr);
        NetworkMapSource::Settings settings;
        settings.urlTemplate = server.urlTemplate();
        settings.attribution = QStringLiteral("Test tiles");
        settings.cacheFolder = cache.path();
        map.tiles()->setSources({new NetworkMapSource(settings)});
    }
};

// A drag back and forth over 400 pixels, 8 pixels a mouse move: every tile
// is at hand, every station is drawn, and the drawings went with the first
// move, as a pan clears them.
void BM_MapPanTilesCached(benchmark::State &state)
{
    static TileMap tiles(true);
    EmbeddedHostMap &map = tiles.map;
    map.projection().reset();
    for (const double x : {-200.0, 400.0, -200.0}) {
        map.projection().panBy({x, 0});
        settle(map);
    }
    map.clearDrawings();
    QImage target(800, 600, QImage::Format_ARGB32_Premultiplied);
    int step = 8, travelled = 0;
    for (auto _ : state) {
        if (std::abs(travelled + step) > 200)
            step = -step;
        travelled += step;
        map.projection().panBy({double(step), 0});
        QPainter painter(&target);
        map.render(painter);
    }
    state.counters["stations"] = tiles.database.size();
    state.counters["tiles_in_memory"] = map.tiles()->tileCount();
    state.counters["requests"] = tiles.server.requests();
}

// The processor time this thread has used, in milliseconds: the benchmark
// shares its thread with the loopback server, and the machine with others.
double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// One zoom step in, over an area not seen before: the paint right after the
// step (tiles above stand in), then a paint for every time tiles came, until
// all have. The time is the whole of it, the server's work included; the
// counters give the processor time of the paints alone.
void BM_MapZoomStepTilesArriving(benchmark::State &state)
{
    static TileMap tiles(false);
    EmbeddedHostMap &map = tiles.map;
    map.projection().reset();
    QImage target(800, 600, QImage::Format_ARGB32_Premultiplied);
    double firstPaint = 0, arrivalPaints = 0, arrivals = 0, tilesCame = 0;
    int area = 0;
    for (auto _ : state) {
        state.PauseTiming();
        map.projection().setZoom(9);
        map.projection().centreOn(HomeLat + 2.0 * (area % 7), HomeLon + 3.0 * (area / 7));
        ++area;
        settle(map);
        const int before = tiles.server.requests();
        state.ResumeTiming();

        double started = threadMs();
        map.projection().zoomAt({400, 300}, 1);
        {
            QPainter painter(&target);
            map.render(painter);
        }
        firstPaint += threadMs() - started;
        quint64 drawn = map.tiles()->generation();
        while (map.tiles()->waiting() > 0) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            if (map.tiles()->generation() == drawn)
                continue;
            drawn = map.tiles()->generation();
            started = threadMs();
            {
                QPainter painter(&target);
                map.render(painter);
            }
            arrivalPaints += threadMs() - started;
            ++arrivals;
        }
        tilesCame += tiles.server.requests() - before;
    }
    const double n = double(state.iterations());
    state.counters["first_paint_cpu_ms"] = firstPaint / n;
    state.counters["arrival_paint_cpu_ms"] = arrivals ? arrivalPaints / arrivals : 0;
    state.counters["paints_per_step"] = arrivals / n;
    state.counters["tiles_per_step"] = tilesCame / n;
}

} // namespace

BENCHMARK(BM_MapPanTilesCached)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MapZoomStepTilesArriving)->Unit(benchmark::kMillisecond)->Iterations(20);
