// Frames per second through the host's intake: TNC2 parsing, APRS decoding
// and the station database update, with 100 and 100,000 stations known.
// And keeping the database across restarts with 50,000 stations: the copy
// the user-interface thread takes, the writing done on another thread, and
// the reading at start.
#include "host/StationDatabase.h"
#include "host/StationFile.h"
#include "host/aprs/Tnc2.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

QString callsign(int i)
{
    return QStringLiteral("G%1").arg(i, 6, 36, QChar(u'0')).toUpper();
}

// A realistic mix: plain and time-stamped positions, Mic-E, status, weather.
QStringList makeLines(int stations, int count)
{
    QRandomGenerator random(1234);
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString source = callsign(int(random.bounded(stations)));
        const int lat = 5000 + int(random.bounded(300));
        const int lon = int(random.bounded(500));
        switch (i % 5) {
        case 0:
            lines.append(QStringLiteral("%1>APRS,WIDE1-1,WIDE2-1:!%2.%3N/%4.%5W-PHG2360")
                             .arg(source).arg(lat).arg(i % 100, 2, 10, QChar(u'0'))
                             .arg(lon, 5, 10, QChar(u'0')).arg(i % 100, 2, 10, QChar(u'0')));
            break;
        case 1:
            lines.append(QStringLiteral("%1>APRS,RELAY*,WIDE2-1:@092345z%2.50N/%3.75W>088/036/A=001234")
                             .arg(source).arg(lat).arg(lon, 5, 10, QChar(u'0')));
            break;
        case 2:
            lines.append(source + QStringLiteral(">512WQR,WIDE1-1:`x?IoPO>/\"54}Going home"));
            break;
        case 3:
            lines.append(source + QStringLiteral(">APRS,TCPIP*,qAC,T2TEST:>On the air"));
            break;
        default:
            lines.append(source + QStringLiteral(">APRS:_10090556c220s004g005t077r000p000P000h50b09900wRSW"));
            break;
        }
    }
    return lines;
}

void BM_HostIntake(benchmark::State &state)
{
    const int stations = int(state.range(0));
    StationDatabase db;
    db.reserve(stations + 16);
    const QString time = QStringLiteral("2026-12-07 20:00:00");
    // Every station known, with a position, before timing starts.
    for (int i = 0; i < stations; ++i) {
        Tnc2Frame frame;
        parseTnc2(QStringLiteral("%1>APRS:!5130.00N/00007.50W-").arg(callsign(i)), &frame);
        db.applyFrame(frame, time);
    }
    const QStringList lines = makeLines(stations, 4096);
    qsizetype next = 0;
    for (auto _ : state) {
        Tnc2Frame frame;
        parseTnc2(lines[next], &frame);
        auto result = db.applyFrame(frame, time);
        benchmark::DoNotOptimize(result);
        next = (next + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["stations"] = db.size();
}

// A database of that many stations, each heard by a frame of the realistic mix.
void fill(StationDatabase &db, int stations)
{
    db.reserve(stations + 16);
    const QStringList lines = makeLines(stations, stations * 3);
    for (const QString &line : lines) {
        Tnc2Frame frame;
        parseTnc2(line, &frame);
        db.applyFrame(frame, QStringLiteral("2026-12-07 20:00:00"), 1'800'000'000);
    }
}

void BM_StationSnapshot(benchmark::State &state)
{
    StationDatabase db;
    fill(db, int(state.range(0)));
    for (auto _ : state) {
        StationDatabase::Snapshot copy = db.snapshot();
        benchmark::DoNotOptimize(copy);
    }
    state.counters["stations"] = db.size();
}

void BM_StationFileWrite(benchmark::State &state)
{
    StationDatabase db;
    fill(db, int(state.range(0)));
    const StationDatabase::Snapshot copy = db.snapshot();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray text = StationFile::serialise(copy);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["stations"] = db.size();
    state.counters["MB"] = double(bytes) / 1e6;
}

void BM_StationFileRead(benchmark::State &state)
{
    StationDatabase db;
    fill(db, int(state.range(0)));
    QByteArray text = StationFile::serialise(db.snapshot());
    for (auto _ : state) {
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        StationDatabase back;
        const StationFile::ReadResult read = StationFile::read(buffer, back, 0);
        benchmark::DoNotOptimize(read);
    }
    state.counters["stations"] = db.size();
}

} // namespace

BENCHMARK(BM_StationSnapshot)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StationFileWrite)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StationFileRead)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostIntake)->Arg(100)->Arg(100000)->MinTime(1.0);
BENCHMARK_MAIN();
