#include "TwirlMath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace twirl {

int normalise(qint64 n)
{
    if (n < 0)
        n += 360 * ((359 - n) / 360);
    else if (n >= 360)
        n %= 360;
    return int(n);
}

int shortestTurn(int a, int b)
{
    const int cw = normalise(qint64(b) - a);
    const int ccw = normalise(qint64(a) - b);
    return ccw < cw ? -ccw : cw;
}

qint64 span(qint32 min, qint32 max)
{
    return qint64(max) - min + 1;
}

int angleForValue(qint32 v, qint32 min, qint32 max)
{
    const qint64 s = span(min, max);
    if (s < 360) {
        // Min above Max (a caller outside the knob) leaves no span to divide by.
        if (s <= 0)
            return 0;
        return int(std::trunc(double(qint64(v) - min) / double(s) * 360.0));
    }
    return normalise(v);
}

qint64 valueForAngle(int angle, qint32 min, qint32 max)
{
    return min + qint64(std::trunc(double(span(min, max)) * (angle * (1.0 / 360.0))));
}

AngleChange angleChangeToValue(const KnobState &s, int proposed)
{
    AngleChange r;
    r.delta = shortestTurn(s.position, proposed);
    r.angle = normalise(qint64(s.position) + r.delta);
    const qint64 sp = span(s.min, s.max);
    if (sp < 360) {
        r.value = valueForAngle(r.angle, s.min, s.max);
        if (!s.wrap) {
            if (r.delta >= 0 && r.angle < s.position) {
                r.angle = 359;
                r.value = s.max;
            } else if (r.delta < 0 && r.angle > s.position) {
                r.angle = 0;
                r.value = s.min;
            }
        }
    } else {
        r.value = qint64(s.value) + r.delta;
        if (r.value > s.max) {
            if (s.wrap) {
                r.value = normalise(qint64(s.min) + r.angle);
            } else {
                r.angle = normalise(sp);
                r.value = s.max;
            }
        }
        if (r.value < s.min) {
            if (s.wrap) {
                r.angle = 359;
                r.value = s.max - normalise(sp);
            } else {
                r.angle = 0;
                r.value = s.min;
            }
        }
    }
    return r;
}

FineStep fineValueStep(const KnobState &s, int rotation, int remainder, int degreesPerStep)
{
    const int step = std::max(1, degreesPerStep);
    const int total = rotation + remainder;
    const int q = total / step;
    FineStep r;
    r.remainder = total - q * step;
    r.value = qint64(s.value) + q;
    if (r.value > s.max)
        r.value = s.wrap ? s.min : s.max;
    else if (r.value < s.min)
        r.value = s.wrap ? s.max : s.min;
    return r;
}

std::vector<int> tickAngles(int count)
{
    std::vector<int> ticks;
    if (count <= 0)
        return ticks;
    ticks.reserve(size_t(count));
    for (int i = 1; i <= count; ++i) {
        const double x = i * (360.0 / count);
        int t = int(std::trunc(x));
        if (x - t > 0.49)
            ++t;
        ticks.push_back(t);
    }
    return ticks;
}

int nearestTick(const std::vector<int> &ticks, int position)
{
    const int n = int(ticks.size());
    if (n == 0)
        return 0;
    int best = n;
    int bestDistance = std::abs(shortestTurn(position, ticks[size_t(n - 1)]));
    for (int i = n - 1; i >= 1; --i) {
        const int d = std::abs(shortestTurn(position, ticks[size_t(i - 1)]));
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

Layout computeLayout(const LayoutInput &in)
{
    int w = in.width;
    int h = in.height;
    Box b{0, 0, w, h};
    if (h < w) {
        b.left += (w - h) / 2;
        b.right = b.left + h;
    } else {
        b.top += (h - w) / 2;
        b.bottom = b.top + w;
    }
    if (in.tickCount > 0) {
        const int m = in.tickLength + in.tickGap;
        b = {b.left + m, b.top + m, b.right - m, b.bottom - m};
        w -= 2 * m;
        h -= 2 * m;
    }
    if (in.raised) {
        b.right -= in.raisedHeight;
        b.bottom -= in.raisedHeight;
        w -= in.raisedHeight;
        h -= in.raisedHeight;
    }
    Layout l;
    l.outer = b;
    l.outerRadius = std::min(w, h) / 2;
    if (in.fineAdjust) {
        const int inset = in.fineAdjustWidth / 2;
        b = {b.left + inset, b.top + inset, b.right - inset, b.bottom - inset};
        w -= in.fineAdjustWidth;
        h -= in.fineAdjustWidth;
    }
    l.knob = b;
    l.centre = QPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    l.knobRadius = std::min(w, h) / 2;
    return l;
}

qint64 spinDegrees(qint64 heldMs, int speed)
{
    const qint64 running = std::max<qint64>(0, heldMs - kSpinDelayMs);
    // Integer arithmetic truncates toward zero, so both directions match.
    return speed + running * kSpinDegreesPerSecond * speed / 1000;
}

int limitFineAdjustWidth(int requested, int clientWidth, int clientHeight)
{
    const int half = std::min(clientWidth, clientHeight) / 2;
    const int limit = int(std::trunc(0.75 * half));
    int v = std::max(1, requested);
    if (v > limit)
        v = limit;
    return v;
}

int degreesPerFineStep(int fineAdjustTicks)
{
    // Never divide by zero, whatever a caller passes.
    if (fineAdjustTicks < 1)
        return 360;
    return std::max(1, 360 / fineAdjustTicks);
}

QPoint pointAt(QPoint centre, int angle, int distance, int orientation)
{
    const double e = normalise(qint64(angle) + orientation) / kDegreesPerRadian;
    return QPoint(centre.x() + int(std::trunc(distance * std::sin(e))),
                  centre.y() - int(std::trunc(distance * std::cos(e))));
}

int angleOf(QPoint centre, QPoint p)
{
    int a = int(std::trunc(std::atan2(double(p.x() - centre.x()), double(centre.y() - p.y()))
                           * kDegreesPerRadian));
    if (a < 0)
        a += 360;
    return a;
}

bool inFineRing(bool fineAdjust, QPoint centre, int knobRadius, QPoint p)
{
    if (!fineAdjust)
        return false;
    const double dx = p.x() - centre.x();
    const double dy = p.y() - centre.y();
    return std::sqrt(dx * dx + dy * dy) > knobRadius;
}

} // namespace twirl
