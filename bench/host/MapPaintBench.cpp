// Painting the host map on a busy day: 50,000 stations in view and the
// drawings a feed of 500 frames a second leaves after 24 hours when every
// tenth frame carries PHG and the station list plots each one.
#include "BusyMap.h"

#include "host/map/EmbeddedHostMap.h"
#include "host/StationDatabase.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr qint64 FramesPerDay = 500LL * 86400;

struct BusyMap
{
    StationDatabase database;
    EmbeddedHostMap map{&database};
    QList<QPointF> positions;  // minutes
    long long circlesDrawn = 0;

    BusyMap()
    {
        map.setHome(QStringLiteral("G0HOM"), HomeLat, HomeLon);
        map.setSize({800, 600});
        addStations(database, &positions);
        QRandomGenerator random(7);
        // A day of PHG circles: every tenth frame, from any station, each
        // plotted where the station is; the map keeps what it keeps.
        map.setPenSetting(2);
        map.setModeSetting(13);
        for (qint64 frame = 0; frame < FramesPerDay / 10; ++frame) {
            const QPointF at = positions[int(random.bounded(Stations))];
            map.drawCircle(float(at.x()), float(at.y()), 12.79f, 0xFF0000, 1.0f, 6.28, 1.0f);
            ++circlesDrawn;
        }
        settle(map);
    }
};

BusyMap &busyMap()
{
    static BusyMap map;
    return map;
}

// What a repaint of the window costs: the view has not moved.
void BM_MapPaint(benchmark::State &state)
{
    BusyMap &busy = busyMap();
    QImage target(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        busy.map.render(painter);
    }
    state.counters["stations"] = busy.database.size();
    state.counters["drawings"] = busy.map.drawingCount();
    state.counters["circle_calls"] = double(busy.circlesDrawn);
}

// After a pan or zoom everything is drawn afresh (the drawings included:
// the host clears them on a view change, but a client may draw them all
// again at once).
void BM_MapPaintViewMoved(benchmark::State &state)
{
    BusyMap &busy = busyMap();
    QImage target(800, 600, QImage::Format_ARGB32_Premultiplied);
    double step = 1;
    for (auto _ : state) {
        busy.map.projection().panBy(QPointF(step, 0));
        step = -step;
        QPainter painter(&target);
        busy.map.render(painter);
    }
    state.counters["drawings"] = busy.map.drawingCount();
}

// The parts of a fresh paint: the tiles and graticule, the drawings.
void BM_MapBackgroundFresh(benchmark::State &state)
{
    BusyMap &busy = busyMap();
    MapProjection projection = busy.map.projection();
    MapBackground background(busy.map.tiles());
    double step = 1;
    for (auto _ : state) {
        projection.panBy(QPointF(step, 0));
        step = -step;
        benchmark::DoNotOptimize(background.image(projection, 1.0));
    }
}

void BM_MapDrawingsFresh(benchmark::State &state)
{
    BusyMap &busy = busyMap();
    MapDrawings drawings;
    for (const EmbeddedHostMap::Drawing &d : busy.map.drawings())
        drawings.add(d);
    MapProjection projection = busy.map.projection();
    double step = 1;
    for (auto _ : state) {
        projection.panBy(QPointF(step, 0));
        step = -step;
        benchmark::DoNotOptimize(drawings.layer(projection, 1.0));
    }
    state.counters["drawings"] = drawings.size();
}

} // namespace

BENCHMARK(BM_MapBackgroundFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapDrawingsFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapPaint)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MapPaintViewMoved)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
