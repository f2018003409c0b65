// The statistics chart with a year of one-minute bars: a paint at a fixed
// size, a paint after each resize (as while the user drags the window's
// edge), the chart's share of a timer tick, and indexing the bars anew.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "core/WallClock.h"
#include "statistics/StatisticsBarIndex.h"
#include "statistics/StatisticsChart.h"
#include "statistics/StatisticsSeries.h"

namespace {

constexpr QSize kSize(900, 420);

// Minute bars from 1 July 2025, a daily swell of traffic with some noise,
// timed as a statistics file's bars are read.
StatisticsSeries minuteBars(qsizetype count)
{
    StatisticsSeries series;
    const QDateTime start = wallClock(QDate(2025, 7, 1), QTime(0, 0));
    quint32 noise = 12345;
    for (qsizetype i = 0; i < count; ++i) {
        noise = noise * 1103515245u + 12345u;
        const int minuteOfDay = int(i % 1440);
        const int swell = minuteOfDay > 420 && minuteOfDay < 1320 ? 12 : 3;
        series.AddStatisticsBar(start.addSecs(i * 60), swell + int((noise >> 16) % 16));
    }
    return series;
}

void paintOnce(StatisticsChartView &view, QImage &image)
{
    QPainter painter(&image);
    view.render(&painter);
}

void BM_StatisticsChartPaint(benchmark::State &state)
{
    const StatisticsSeries series = minuteBars(state.range(0));
    StatisticsChartView view(series);
    view.resize(kSize);
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        paintOnce(view, image);
    state.counters["bars"] = double(series.count());
}
BENCHMARK(BM_StatisticsChartPaint)->ArgName("bars")->Arg(1440)->Arg(525600)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_StatisticsChartResize(benchmark::State &state)
{
    const StatisticsSeries series = minuteBars(state.range(0));
    StatisticsChartView view(series);
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    int width = kSize.width();
    for (auto _ : state) {
        width = width == kSize.width() ? kSize.width() - 37 : kSize.width();
        view.resize(width, kSize.height());
        paintOnce(view, image);
    }
    state.counters["bars"] = double(series.count());
}
BENCHMARK(BM_StatisticsChartResize)->ArgName("bars")->Arg(525600)->UseRealTime()->Unit(benchmark::kMillisecond);

// A bar every minute, the shortest period: each tick closes a bar and opens the next.
void BM_StatisticsChartTick(benchmark::State &state)
{
    StatisticsSeries series = minuteBars(state.range(0));
    StatisticsChartView view(series);
    view.setLastInProgress(true);
    QDateTime next = series.bars().last().time;
    for (auto _ : state) {
        series.addToLastBar(7);
        next = next.addSecs(60);
        series.AddStatisticsBar(next, 0);
        view.refresh();
    }
    state.counters["bars"] = double(series.count());
}
BENCHMARK(BM_StatisticsChartTick)->ArgName("bars")->Arg(525600)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Indexing the bars anew, as after a saved year is opened.
void BM_StatisticsChartIndex(benchmark::State &state)
{
    const StatisticsSeries series = minuteBars(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(StatisticsBarIndex(series.bars()));
    state.counters["bars"] = double(series.count());
}
BENCHMARK(BM_StatisticsChartIndex)->ArgName("bars")->Arg(525600)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
