// Log details over a day's monitor log of 200,000 lines, as the host writes
// it, from the file on disk: it must take well under a second.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "hostlogs/LogDetails.h"

namespace {

constexpr int kLines = 200000;

QByteArray dayLog()
{
    QByteArray log = "2026-07-01 00:00:00 START LOCAL TIME\r\n";
    log.reserve(kLines * 80);
    for (int i = 1; i < kLines; ++i) {
        const int second = int(qint64(i) * 86399 / kLines);
        const QByteArray stamp = QStringLiteral("2026-07-01 %1:%2:%3")
                                     .arg(second / 3600, 2, 10, QLatin1Char('0'))
                                     .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
                                     .arg(second % 60, 2, 10, QLatin1Char('0'))
                                     .toLatin1();
        // 2,000 stations, a few of them very busy.
        const int station = i % 7 == 0 ? i % 5 : (i * 7919) % 2000;
        log += stamp + " M" + QByteArray::number(station) + "ABC-" + QByteArray::number(station % 16)
               + ">APRS,WIDE1-1,WIDE2-1:!5130.00N/00007.50W-PHG2360 a station at home\r\n";
    }
    return log;
}

void BM_LogDetailsDayFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("20260701.log"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(dayLog());
    file.close();
    for (auto _ : state) {
        LogDetails::Summary summary;
        QString error;
        LogDetails::examineFile(path, &summary, &error);
        benchmark::DoNotOptimize(summary);
        if (!summary.valid || summary.stations.size() != 2000)
            state.SkipWithError("the summary is wrong");
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("200,000 lines");
}
BENCHMARK(BM_LogDetailsDayFile)->Unit(benchmark::kMillisecond);

void BM_LogDetailsListLines(benchmark::State &state)
{
    const LogDetails::Summary summary = LogDetails::examine(dayLog());
    for (auto _ : state)
        benchmark::DoNotOptimize(LogDetails::stationLines(summary.stations));
}
BENCHMARK(BM_LogDetailsListLines)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
