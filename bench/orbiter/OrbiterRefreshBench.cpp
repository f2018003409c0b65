// The satellite status window's once-a-second refresh, as the text view (0)
// or the world view (1) is kept moving with the clock: with the dozen demo
// sets, and with a full table of 101 sets of which twenty are geostationary.
// Besides the mean, the worst single refresh of the run (worst_ms, and
// worst_cpu_ms in processor time, which a busy machine does not stretch),
// which must stay within a frame. Also the paint of the world view and the
// globe.
#include "core/Clock.h"
#include "orbiter/OrbiterCanvas.h"
#include "orbiter/OrbiterView.h"

#include "TestOrbits.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

namespace {

class SteppedClock : public Clock
{
public:
    QDateTime now() const override { return time; }
    QDateTime time = QDateTime(QDate(2026, 6, 10), QTime(15, 20, 0), Qt::UTC);
};

SteppedClock &steppedClock()
{
    static SteppedClock stepped;
    return stepped;
}

// The demo's dozen, then geostationary sets every 18 degrees, then low orbits
// of every inclination to make 101.
std::vector<std::pair<QString, testorbits::Elements>> sets(int count)
{
    using testorbits::Elements;
    const double day = testorbits::kEpochDay;
    std::vector<std::pair<QString, Elements>> all = {
        {"ISS", testorbits::kStation},
        {"SO-50", {27607, 26, day, 64.555, 210.0, 0.0076, 300.0, 60.0, 14.81}},
        {"AO-07", {7530, 26, day, 101.99, 330.0, 0.0012, 150.0, 210.0, 12.5365}},
        {"FO-29", {24278, 26, day, 98.53, 60.0, 0.035, 200.0, 160.0, 13.531}},
        {"AO-91", {43017, 26, day, 97.68, 140.0, 0.022, 100.0, 260.0, 14.78}},
        {"RS-44", {44909, 26, day, 82.52, 20.0, 0.0215, 40.0, 320.0, 12.797}},
        {"AO-27", {22825, 26, day, 98.62, 250.0, 0.0008, 110.0, 30.0, 14.30}},
        {"IO-86", {40931, 26, day, 6.0, 300.0, 0.0013, 260.0, 100.0, 14.77}},
        {"NOAA-19", testorbits::kWeather},
        {"NOAA-18", {28654, 26, day, 98.88, 95.0, 0.0014, 220.0, 140.0, 14.13}},
        {"MOLNIYA 1-93", testorbits::kMolniya},
        {"QO-100", testorbits::kGeostationary},
    };
    for (int i = 0; i < 20; ++i)
        all.push_back({QStringLiteral("GEO-%1").arg(i + 1),
                       {60000 + i, 26, day, 0.05, 80.0, 0.0002, 90.0, 18.0 * i, 1.0027379}});
    for (int i = 0; int(all.size()) < 101; ++i)
        all.push_back({QStringLiteral("LEO-%1").arg(i + 1),
                       {61000 + i, 26, day, 10.0 + 1.3 * i, 5.0 * i, 0.001 + 0.0003 * (i % 7), 40.0 + i,
                        7.0 * i, 13.2 + 0.03 * i}});
    all.resize(std::size_t(count));
    return all;
}

// The status window's control on the world view, every set loaded and
// computed once as the satellite update does.
struct Sky
{
    orbiter::OrbiterView view;

    explicit Sky(int count)
    {
        view.resize(1000, 560);
        view.setObserverName(QStringLiteral("Oxford"));
        view.setObserverLatitude(51.75);
        view.setObserverLongitude(-1.25);
        view.setObserverHeight(70);
        view.setTimeZoneName(QStringLiteral("UTC"));
        view.applySettings();
        for (const auto &[name, elements] : sets(count)) {
            const auto [l1, l2] = testorbits::lines(elements);
            view.addSatelliteEntry();
            const qint16 entry = view.satelliteCount();
            view.loadElementSet(name, QString::fromStdString(l1), QString::fromStdString(l2), entry, 0);
        }
        view.setDisplayStyle(1);
        const QDateTime t = steppedClock().time;
        view.setComputationTime(qint16(t.date().year() / 100), qint16(t.date().year()), qint16(t.date().month()),
                                qint16(t.date().day()), qint16(t.time().hour()), qint16(t.time().minute()),
                                qint16(t.time().second()));
        view.computePosition();
        view.computePass();
    }
};

double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A little over an hour of refreshes, one a second, so that the hourly
// second look for passes of satellites that never rise is among them. Pass
// searches run on the thread pool; taking their answers is counted.
void BM_ViewRefresh(benchmark::State &state)
{
    Sky sky(int(state.range(1)));
    sky.view.setDisplayStyle(qint32(state.range(0)));
    double worstWall = 0, worstCpu = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        steppedClock().time = steppedClock().time.addSecs(1);
        timer.start();
        const double cpu = threadMs();
        sky.view.followClock();
        // Answers of searches made elsewhere are taken as they come back.
        QCoreApplication::processEvents();
        worstCpu = std::max(worstCpu, threadMs() - cpu);
        worstWall = std::max(worstWall, timer.nsecsElapsed() / 1e6);
    }
    state.counters["worst_ms"] = worstWall;
    state.counters["worst_cpu_ms"] = worstCpu;
    state.counters["sets"] = double(sky.view.satelliteCount());
}
BENCHMARK(BM_ViewRefresh)
    ->ArgNames({"view", "sets"})
    ->ArgsProduct({{0, 1}, {12, 101}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3700);

// The world view (1) and the globe (3), as drawn after a refresh; processor
// time of the whole program, since the painter hands some work to its threads.
void BM_ViewPaint(benchmark::State &state)
{
    Sky sky(int(state.range(1)));
    sky.view.setDisplayStyle(qint32(state.range(0)));
    QImage image(1000, 560, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        sky.view.canvas()->render(painter, QRectF(image.rect()));
    }
}
BENCHMARK(BM_ViewPaint)->ArgNames({"view", "sets"})->ArgsProduct({{1, 3}, {12, 101}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Clock::install(&steppedClock());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
