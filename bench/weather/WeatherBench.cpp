// Storing reports into a station file that already holds a year of
// five-minute reports, and charting one day of 288 reports from it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXYSeries>

#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "weather/WxChartView.h"
#include "weather/WxDataFile.h"
#include "weather/frmWx.h"

namespace {

constexpr int kDays = 365;
constexpr int kPerDay = 288;
const QDate kFirstDay(2025, 12, 1);

QString reportAt(int minute)
{
    return QStringLiteral("_%1/%2g%3t%4r000p000P%5h%6b%7")
        .arg(200 + minute % 90, 3, 10, QLatin1Char('0'))
        .arg(minute % 15, 3, 10, QLatin1Char('0'))
        .arg(minute % 15 + 5, 3, 10, QLatin1Char('0'))
        .arg(40 + minute % 20, 3, 10, QLatin1Char('0'))
        .arg(minute / 60, 3, 10, QLatin1Char('0'))
        .arg(60 + minute % 30, 2, 10, QLatin1Char('0'))
        .arg(10100 + minute % 50, 5, 10, QLatin1Char('0'));
}

// A year of reports, written as the store writes them.
void writeYear(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(kDays * kPerDay * 96);
    for (int d = 0; d < kDays; ++d) {
        const QDate day = kFirstDay.addDays(d);
        bytes += '[' + WxData::dayText(day).toLatin1() + "]\r\n";
        for (int i = 0; i < kPerDay; ++i) {
            const QDateTime when(day, QTime(0, 0).addSecs(i * 300));
            bytes += "Value" + QByteArray::number(i + 1) + '=' + WxData::timeText(when).toLatin1() + '\xFD'
                     + reportAt(i * 5).toLatin1() + "\r\n";
        }
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// With cold: every store as the first after a start, reading the file's end.
void BM_StoreIntoYearFile(benchmark::State &state)
{
    const bool cold = state.range(0) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("G4KWA.kew"));
    writeYear(path);
    const double megabytes = double(QFileInfo(path).size()) / (1024 * 1024);
    WxDataFile file(path);
    // Live traffic: each new report goes after the last, a new day every 288.
    qint64 n = 0;
    for (auto _ : state) {
        if (cold)
            WxDataFile::forgetTails();
        const QDateTime when(kFirstDay.addDays(kDays + n / kPerDay), QTime(0, 0).addSecs(int(n % kPerDay) * 300));
        if (!file.append(when, reportAt(int(n % kPerDay) * 5))) {
            state.SkipWithError("a report could not be stored");
            break;
        }
        ++n;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["file_MB"] = megabytes;
}
BENCHMARK(BM_StoreIntoYearFile)->ArgName("cold")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The year file ends with a section dated a year ahead (a clock that once
// jumped): every report of the day after it lands in an earlier section.
void BM_StoreBeforeSectionDatedAhead(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("G4KWA.kew"));
    writeYear(path);
    const QDate lastDay = kFirstDay.addDays(kDays - 1);
    {
        QFile file(path);
        if (file.open(QIODevice::Append))
            file.write('[' + WxData::dayText(lastDay.addYears(1)).toLatin1() + "]\r\nValue1=x\xFD_t050\r\n");
    }
    WxDataFile file(path);
    qint64 n = 0;
    for (auto _ : state) {
        const QDateTime when(lastDay, QTime(23, 59, 59));
        if (!file.append(when, reportAt(int(n++ % kPerDay) * 5))) {
            state.SkipWithError("a report could not be stored");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024 * 1024);
}
BENCHMARK(BM_StoreBeforeSectionDatedAhead)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Reading the day from the year file, decoding it and filling the series;
// with draw, also painting the temperature chart as the user sees it.
void BM_ChartOneDay(benchmark::State &state)
{
    const bool draw = state.range(0) != 0;
    TempDirs dirs;
    ScriptedPrompts prompts;
    config() = Configuration{};
    config().wxToolbar = false;
    writeYear(dirs.data() + QStringLiteral("/WxData/G4KWA.kew"));
    shared().currentStation = QStringLiteral("G4KWA");
    frmWx window;
    window.resize(900, 560);
    window.show();
    QCoreApplication::processEvents();
    const QString day = WxData::dayText(kFirstDay.addDays(kDays / 2));
    for (auto _ : state) {
        window.showDay(day);
        if (draw)
            benchmark::DoNotOptimize(window.temperatureChart()->grab());
    }
    if (window.day().reports != kPerDay)
        state.SkipWithError("the day was not charted");
    state.counters["reports"] = double(window.day().reports);
}
BENCHMARK(BM_ChartOneDay)->ArgName("draw")->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
