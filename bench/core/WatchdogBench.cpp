// What the stall watchdog adds to every event of the user-interface thread
// (its bracket around the event) and to each heartbeat. Multiplied by the
// events a second of a busy run (the exerciser prints them) this is its cost.
#include <benchmark/benchmark.h>

#include "core/StallWatchdog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {

void BM_EventBracket(benchmark::State &state)
{
    StallWatchdog watchdog;
    QObject owner;
    QTimer timer(&owner);
    timer.setObjectName(QStringLiteral("tmrSatUpdate"));
    QTimerEvent event(1);
    for (auto _ : state) {
        watchdog.enterEvent(&timer, &event);
        watchdog.leave();
    }
}
BENCHMARK(BM_EventBracket);

// Three events deep, as a socket read that paints and sends a signal is.
void BM_NestedEvents(benchmark::State &state)
{
    StallWatchdog watchdog;
    QObject receiver;
    QEvent event(QEvent::MetaCall);
    for (auto _ : state) {
        watchdog.enterEvent(&receiver, &event);
        watchdog.enterActivity("frame intake", {});
        watchdog.enterEvent(&receiver, &event);
        watchdog.leave();
        watchdog.leave();
        watchdog.leave();
    }
}
BENCHMARK(BM_NestedEvents);

void BM_Heartbeat(benchmark::State &state)
{
    StallWatchdog watchdog;
    for (auto _ : state)
        watchdog.heartbeat();
}
BENCHMARK(BM_Heartbeat);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
