// Frames per second through the whole intake into the main station list,
// shown offscreen, with 100, 10,000 and 100,000 stations already listed, and
// the peak memory of the process at the end. The sorted case lists half the
// stations first and sorts by callsign, so new stations land inside the list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QLineEdit>
#include <QRandomGenerator>

#include <sys/resource.h>

#include "FakeHost.h"
#include "ScriptedPorts.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowRegistry.h"
#include "stations/FrameIntake.h"
#include "stations/WeatherStorePort.h"
#include "stations/frmDocument.h"
#include "stations/StationListModel.h"
#include "stations/frmIncoming.h"

namespace {

QString callsignOf(int n) { return QStringLiteral("N%1").arg(n, 6, 10, QLatin1Char('0')); }

HostStationRecord recordOf(int n)
{
    HostStationRecord record;
    record.callsign = callsignOf(n);
    record.latitude = 3084.0f + float(n % 300) * 0.37f;
    record.longitude = -7.5f + float(n % 500) * 0.41f;
    record.symbolCode = n % 4 == 1 ? QStringLiteral("_") : QStringLiteral("-");
    record.symbolTable = QStringLiteral("/");
    record.header = record.callsign + QStringLiteral(">APRS,N0GATE*,WIDE2-1 Port=1 <UI C Len=56>:");
    record.status = QStringLiteral("status text for the station");
    record.timeHeard = QStringLiteral("2026-12-07 20:00:00");
    record.course = n % 3 == 0 ? qint16(90) : HostStationRecord::NoCourse;
    return record;
}

// Frames from stations spread over the whole list.
QStringList trafficFor(int stations)
{
    QStringList frames;
    QRandomGenerator random(7);
    for (int i = 0; i < 4096; ++i) {
        const QString header = "1" + callsignOf(int(random.bounded(stations))) + ">APRS,N0GATE*,WIDE2-1:\r\n";
        switch (i % 4) {
        case 0: frames << header + "!5130.00N/00007.50W-PHG5130 home station\r\n"; break;
        case 1: frames << header + "@071200z5130.00N/00007.50W_090/005g010t050r000p000P000h81b10186\r\n"; break;
        case 2: frames << header + ":N0CALL   :hello there{12\r\n"; break;
        default: frames << header + ">status text for the station\r\n"; break;
        }
    }
    return frames;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_IntakeIntoStationList(benchmark::State &state)
{
    const int stations = int(state.range(0));
    const bool sorted = state.range(1) != 0;
    config() = Configuration{};
    config().preload = false;
    shared() = SharedState{};
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(20, 0)));
    FakeHostApplication host;
    host.stations.reserve(stations);
    for (int n = 0; n < stations; ++n)
        host.stations.insert(callsignOf(n), recordOf(n));
    shared().host = &host;
    shared().home.latitude = 3084.0;
    shared().home.longitude = -7.5;

    RecordingWeatherStore store(16);
    frmIncoming terminal;  // loaded, never shown
    frmDocument list;
    list.resize(1000, 700);
    list.show();
    // Every station (every other one when sorted) is listed before the clock starts.
    for (int n = 0; n < stations; n += sorted ? 2 : 1) {
        HostStationRecord record = host.stations.value(callsignOf(n));
        list.RxData(record, true);
    }
    if (sorted)
        emit list.view()->horizontalHeader()->sectionClicked(StationListModel::Station);
    QCoreApplication::processEvents();
    WindowRegistry::instance().clear();
    WindowRegistry::instance().add(&terminal);
    WindowRegistry::instance().add(&list, WindowTag::StationList);

    FrameIntake intake(host);
    intake.setTerminal(&terminal);
    intake.setWeatherStore(&store);
    QLineEdit Text1;
    QObject::connect(&Text1, &QLineEdit::textChanged, &intake, &FrameIntake::receive);

    const QStringList frames = trafficFor(stations);
    qsizetype i = 0;
    for (auto _ : state) {
        Text1.setText(frames.at(i++ & 4095));
        if ((i & 255) == 0) {
            QCoreApplication::processEvents();  // the list repaints what changed
            host.calls.clear();
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["rows"] = double(list.model().count());
    state.counters["peak_MB"] = double(peakKilobytes()) / 1024.0;
    WindowRegistry::instance().clear();
    shared() = SharedState{};
}
BENCHMARK(BM_IntakeIntoStationList)
    ->ArgNames({"stations", "sorted"})
    ->Args({100, 0})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
