// Frames per second through the whole intake: link field change to the last
// consumer, with the terminal loaded but hidden and one station list window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHash>
#include <QLineEdit>

#include "FakeHost.h"
#include "ScriptedPorts.h"
#include "core/WindowRegistry.h"
#include "stations/FrameIntake.h"
#include "stations/WeatherStorePort.h"
#include "stations/frmIncoming.h"

namespace {

// A station list that does what a real one must at least do per frame: find
// the station's row through a hash and count it.
class HashedStationList : public QObject, public StationListWindow
{
public:
    void RxData(HostStationRecord &cStation, bool) override
    {
        auto it = rows.find(cStation.callsign);
        if (it == rows.end())
            it = rows.insert(cStation.callsign, 0);
        ++*it;
    }
    void PlotDX() override {}
    void PlotPHGRNGcircles() override {}
    void PlotStationPath() override {}
    void SaveStationList() override {}
    void MergeStationList(const QString &) override {}
    QString selectedCallsign() const override { return {}; }
    void setListFont(const QString &) override {}
    void setListFontSize(int) override {}

    QHash<QString, int> rows;
};

QString callsignOf(int n) { return QStringLiteral("N%1").arg(n, 6, 10, QLatin1Char('0')); }

// A mix like a busy channel: positions, weather, messages and status.
QStringList trafficFor(int stations)
{
    QStringList frames;
    for (int i = 0; i < 1024; ++i) {
        const QString header = "1" + callsignOf((i * 7919) % stations) + ">APRS,WIDE1-1,WIDE2-1:\r\n";
        switch (i % 4) {
        case 0: frames << header + "!5130.00N/00007.50W-PHG5130 home station\r\n"; break;
        case 1: frames << header + "@071200z5130.00N/00007.50W_090/005g010t050r000p000P000h81b10186\r\n"; break;
        case 2: frames << header + ":N0CALL   :hello there{12\r\n"; break;
        default: frames << header + ">status text for the station\r\n"; break;
        }
    }
    return frames;
}

void BM_IntakeFromLinkField(benchmark::State &state)
{
    const int stations = int(state.range(0));
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(20, 0)));
    FakeHostApplication host;
    for (int n = 0; n < stations; ++n) {
        HostStationRecord record;
        record.callsign = callsignOf(n);
        record.latitude = 3084.0f;
        record.longitude = -7.5f;
        host.stations.insert(record.callsign, record);
    }
    RecordingWeatherStore store(16);
    frmIncoming terminal;  // loaded, never shown
    HashedStationList list;
    WindowRegistry::instance().clear();
    WindowRegistry::instance().add(&terminal);
    WindowRegistry::instance().add(&list, WindowTag::StationList);

    FrameIntake intake(host);
    intake.setTerminal(&terminal);
    intake.setWeatherStore(&store);
    bool lit = false;
    intake.setIndicator([&lit](bool on) { lit = on; });
    QLineEdit Text1;  // the hidden link field
    QObject::connect(&Text1, &QLineEdit::textChanged, &intake, &FrameIntake::receive);

    const QStringList frames = trafficFor(stations);
    qsizetype i = 0;
    for (auto _ : state) {
        Text1.setText(frames.at(i++ & 1023));
        if (host.calls.size() > 4096)
            host.calls.clear();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["dropped"] = double(intake.framesDropped());
    WindowRegistry::instance().clear();
}
BENCHMARK(BM_IntakeFromLinkField)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_DecodeOnly(benchmark::State &state)
{
    const QStringList frames = trafficFor(1000);
    const QDateTime now(QDate(2026, 12, 7), QTime(20, 0));
    qsizetype i = 0;
    for (auto _ : state) {
        FrameDecode frame = decodeFrame(frames.at(i++ & 1023), now);
        benchmark::DoNotOptimize(frame);
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_TerminalOnly(benchmark::State &state)
{
    const QStringList frames = trafficFor(1000);
    frmIncoming terminal;
    qsizetype i = 0;
    for (auto _ : state)
        terminal.RxData(frames.at(i++ & 1023));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TerminalOnly)->Unit(benchmark::kMicrosecond);

// For comparison: the terminal on screen appends and lays out every frame.
void BM_TerminalShown(benchmark::State &state)
{
    const QStringList frames = trafficFor(1000);
    frmIncoming terminal;
    terminal.show();
    qsizetype i = 0;
    for (auto _ : state) {
        terminal.RxData(frames.at(i++ & 1023));
        if ((i & 63) == 0)
            QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TerminalShown)->Unit(benchmark::kMicrosecond);

void BM_LinkFieldOnly(benchmark::State &state)
{
    const QStringList frames = trafficFor(1000);
    QLineEdit Text1;
    qsizetype i = 0;
    for (auto _ : state)
        Text1.setText(frames.at(i++ & 1023));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LinkFieldOnly)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMicrosecond);

} // namespace
