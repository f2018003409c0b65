#pragma once

// The knob's arithmetic, free of any widget: angles, value mapping, the
// fine ring and the layout. Angles are whole degrees, 0 straight up,
// growing clockwise on the screen.

#include "twirl_global.h"

#include <QPoint>
#include <QtGlobal>
#include <vector>

namespace twirl {

// The knob was tuned with this factor rather than 180/pi; the pixel
// geometry of indicators and ticks depends on it.
inline constexpr double kDegreesPerRadian = 57.3;

TWIRL_EXPORT int normalise(qint64 n);
// Signed turn from a to b, the shorter way round; a half turn is +180.
TWIRL_EXPORT int shortestTurn(int a, int b);
TWIRL_EXPORT qint64 span(qint32 min, qint32 max);

// Angle that stands for value v (already clamped).
TWIRL_EXPORT int angleForValue(qint32 v, qint32 min, qint32 max);
// Value that a Position set gives, before clamping.
TWIRL_EXPORT qint64 valueForAngle(int angle, qint32 min, qint32 max);

struct AngleChange {
    int angle = 0;   // corrected new angle, 0..359
    qint64 value = 0;
    int delta = 0;   // the turn made, as PositionChanged reports it
};

struct KnobState {
    int position = 0;
    qint32 value = 0;
    qint32 min = 0;
    qint32 max = 10;
    bool wrap = true;
};

// What a proposed new knob angle means for angle and value.
TWIRL_EXPORT AngleChange angleChangeToValue(const KnobState &s, int proposed);

struct FineStep {
    qint64 value = 0;
    int remainder = 0;
};
// Adds a fine-ring rotation to the remainder and turns whole steps into value.
TWIRL_EXPORT FineStep fineValueStep(const KnobState &s, int rotation, int remainder,
                                    int degreesPerStep);

// Tick i (1-based) sits at entry i-1; the last one is 360.
TWIRL_EXPORT std::vector<int> tickAngles(int count);
// Index (1-based) of the tick nearest to position; a tie goes to the higher one.
TWIRL_EXPORT int nearestTick(const std::vector<int> &ticks, int position);

// A rectangle with exclusive right and bottom edges.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // Spelled out: installed headers stay usable from C++17, as Qt 6 itself.
    bool operator==(const Box &o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct LayoutInput {
    int width = 0, height = 0;
    int tickCount = 0, tickLength = 8, tickGap = 4;
    bool raised = false;
    int raisedHeight = 3;
    bool fineAdjust = false;
    int fineAdjustWidth = 15;
};

struct Layout {
    Box outer;
    int outerRadius = 0;
    Box knob;
    int knobRadius = 0;
    QPoint centre;
};

TWIRL_EXPORT Layout computeLayout(const LayoutInput &in);

// Auto-spin: a press turns the knob by the speed at once; held past the
// delay it turns by the speed times the rate, measured by the clock so that
// timer jitter and machine load do not change how fast it goes.
inline constexpr int kSpinDelayMs = 300;
inline constexpr int kSpinDegreesPerSecond = 20;
// A stalled event loop (a busy host) makes up at most this much time when it
// comes back, so the knob never leaps past what the user watched it reach.
inline constexpr int kSpinMaxCatchUpMs = 200;
// Whole degrees turned after holding for heldMs, signed like speed.
TWIRL_EXPORT qint64 spinDegrees(qint64 heldMs, int speed);

// Width that the fine ring may take in a client area of the given size.
TWIRL_EXPORT int limitFineAdjustWidth(int requested, int clientWidth, int clientHeight);
TWIRL_EXPORT int degreesPerFineStep(int fineAdjustTicks);

// Point at angle and distance from the centre; the orientation is added first.
TWIRL_EXPORT QPoint pointAt(QPoint centre, int angle, int distance, int orientation = 0);
TWIRL_EXPORT int angleOf(QPoint centre, QPoint p);
TWIRL_EXPORT bool inFineRing(bool fineAdjust, QPoint centre, int knobRadius, QPoint p);

} // namespace twirl
