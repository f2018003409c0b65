// How much the cached background saves: a full paint of a busy knob (drawn
// with the original pixel rules and drawn smooth) against the face-only
// redraw a turn causes and the mark-only redraw of the fine ring, and the
// value rules alone.
#include "knob/CTwirlCtrl.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {

void busyKnob(CTwirlCtrl &k)
{
    k.resize(240, 240);
    k.setTickCount(36);
    k.setTickWidth(2);
    k.setAppearence(CTwirlCtrl::_3D);
    k.setAppearence3DHeight(6);
    k.setFineAdjust(true);
    k.setFineAdjustWidth(24);
    k.setMax(999);
    k.setText(QStringLiteral("Gain"));
    k.setIndicatorStyle(CTwirlCtrl::isPointer);
}

void BM_FullPaint(benchmark::State &state)
{
    CTwirlCtrl k;
    busyKnob(k);
    QImage img(k.size(), QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) {
        // Changing a colour throws the cached background away.
        k.setTickColor(QColor(i & 1 ? 0 : 40, 0, 0));
        k.render(&img);
        ++i;
    }
}
BENCHMARK(BM_FullPaint);

void BM_FullPaintAntialiased(benchmark::State &state)
{
    CTwirlCtrl k;
    busyKnob(k);
    k.setAntialiased(true);
    QImage img(k.size(), QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) {
        k.setTickColor(QColor(i & 1 ? 0 : 40, 0, 0));
        k.render(&img);
        ++i;
    }
}
BENCHMARK(BM_FullPaintAntialiased);

void BM_TurnRedrawsFace(benchmark::State &state)
{
    CTwirlCtrl k;
    busyKnob(k);
    k.show();
    QApplication::processEvents();
    int v = 0;
    for (auto _ : state) {
        v = (v + 7) % 1000;
        k.setValue(v);   // repaints the face at once, before PositionChanged
    }
    state.counters["background renders"] = k.backgroundRenderCount();
}
BENCHMARK(BM_TurnRedrawsFace);

void BM_FineTurnRedrawsMark(benchmark::State &state)
{
    CTwirlCtrl k;
    busyKnob(k);
    k.setTickSnapping(true);
    k.show();
    QApplication::processEvents();
    int snaps = 0;
    QObject::connect(&k, &CTwirlCtrl::TickSnap, [&snaps] { ++snaps; });
    int a = 0;
    for (auto _ : state) {
        a = (a + 7) % 360;
        k.setFineAdjustPosition(short(a));   // repaints the old and new mark only
    }
    state.counters["tick snaps"] = snaps;
}
BENCHMARK(BM_FineTurnRedrawsMark);

void BM_AngleChangeRule(benchmark::State &state)
{
    twirl::KnobState s{0, 0, 0, 10, false};
    int a = 0;
    for (auto _ : state) {
        a = (a + 13) % 360;
        benchmark::DoNotOptimize(twirl::angleChangeToValue(s, a));
        s.position = a;
    }
}
BENCHMARK(BM_AngleChangeRule);

} // namespace
