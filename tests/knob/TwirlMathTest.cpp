#include "knob/TwirlMath.h"

#include <gtest/gtest.h>

using namespace twirl;

TEST(TwirlMath, NormaliseFoldsAnyAngleIntoOneTurn)
{
    const struct { qint64 in; int out; } cases[] = {
        {0, 0}, {359, 359}, {360, 0}, {720, 0}, {725, 5}, {-1, 359}, {-90, 270},
        {-360, 0}, {-361, 359}, {-32768, 352}, {2147483647LL, 2147483647LL % 360},
    };
    for (const auto &c : cases)
        EXPECT_EQ(normalise(c.in), c.out) << c.in;
}

TEST(TwirlMath, ShortestTurnTakesTheShorterWayAndHalfTurnIsClockwise)
{
    EXPECT_EQ(shortestTurn(350, 10), 20);
    EXPECT_EQ(shortestTurn(10, 350), -20);
    EXPECT_EQ(shortestTurn(0, 180), 180);
    EXPECT_EQ(shortestTurn(180, 0), 180);
    EXPECT_EQ(shortestTurn(90, 90), 0);
    EXPECT_EQ(shortestTurn(0, 360), 0);
    EXPECT_EQ(shortestTurn(45, 360), -45);
}

TEST(TwirlMath, DefaultSpanMapsTenToAngle327AndBackToNine)
{
    EXPECT_EQ(span(0, 10), 11);
    EXPECT_EQ(angleForValue(10, 0, 10), 327);
    EXPECT_EQ(valueForAngle(327, 0, 10), 9);
    // From a span of 360 on, one degree is one unit.
    EXPECT_EQ(angleForValue(200, 0, 359), 200);
    EXPECT_EQ(angleForValue(725, 0, 1000), 5);
    EXPECT_EQ(angleForValue(-5, -100, 1000), 355);
    // A loaded Min above Max must not divide by a zero span.
    EXPECT_EQ(angleForValue(3, 5, 3), 0);
}

TEST(TwirlMath, TickAnglesRoundFractionsAbove049Up)
{
    EXPECT_EQ(tickAngles(7), (std::vector<int>{51, 103, 154, 206, 257, 309, 360}));
    EXPECT_EQ(tickAngles(4), (std::vector<int>{90, 180, 270, 360}));
    EXPECT_EQ(tickAngles(1), (std::vector<int>{360}));
    const auto all = tickAngles(360);
    ASSERT_EQ(all.size(), 360u);
    EXPECT_EQ(all.front(), 1);
    EXPECT_EQ(all.back(), 360);
    EXPECT_TRUE(tickAngles(0).empty());
    EXPECT_TRUE(tickAngles(-3).empty());
}

TEST(TwirlMath, NearestTickPrefersTheHigherTickOnATie)
{
    const auto four = tickAngles(4);
    EXPECT_EQ(nearestTick(four, 45), 4);   // 90 and 360 equally far
    EXPECT_EQ(nearestTick(four, 135), 2);  // 90 and 180: the higher wins
    EXPECT_EQ(nearestTick(four, 100), 1);
    EXPECT_EQ(nearestTick(four, 350), 4);
    EXPECT_EQ(nearestTick(four, 0), 4);
    EXPECT_EQ(nearestTick({}, 10), 0);
}

TEST(TwirlMath, AngleChangeBelow360WithWrap)
{
    KnobState s{350, 10, 0, 10, true};
    const AngleChange r = angleChangeToValue(s, 10);
    EXPECT_EQ(r.delta, 20);
    EXPECT_EQ(r.angle, 10);
    EXPECT_EQ(r.value, 0);
}

TEST(TwirlMath, AngleChangeWithoutWrapStopsAtTheTop)
{
    KnobState s{350, 10, 0, 10, false};
    AngleChange r = angleChangeToValue(s, 10);
    EXPECT_EQ(r.angle, 359);
    EXPECT_EQ(r.value, 10);
    EXPECT_EQ(r.delta, 20);
    // Already at the stop: pushing further keeps it there.
    s.position = 359;
    r = angleChangeToValue(s, 15);
    EXPECT_EQ(r.angle, 359);
    EXPECT_EQ(r.value, 10);
    // Anticlockwise through the top stops at 0 and Min.
    s = KnobState{10, 0, 0, 10, false};
    r = angleChangeToValue(s, 350);
    EXPECT_EQ(r.delta, -20);
    EXPECT_EQ(r.angle, 0);
    EXPECT_EQ(r.value, 0);
    // Moves that do not cross the top are not corrected.
    s = KnobState{100, 3, 0, 10, false};
    r = angleChangeToValue(s, 130);
    EXPECT_EQ(r.angle, 130);
    EXPECT_EQ(r.value, 3);
}

TEST(TwirlMath, AngleChangeFrom360CountsDegreesAsUnits)
{
    KnobState s{350, 710, 0, 1000, true};
    AngleChange r = angleChangeToValue(s, 10);
    EXPECT_EQ(r.angle, 10);
    EXPECT_EQ(r.value, 730);

    // Past Max with Wrap: the value restarts from Min plus the angle.
    s = KnobState{350, 995, 0, 1000, true};
    r = angleChangeToValue(s, 10);
    EXPECT_EQ(r.angle, 10);
    EXPECT_EQ(r.value, 10);
    // Past Max without Wrap: stops at Max, at the span's angle.
    s.wrap = false;
    r = angleChangeToValue(s, 10);
    EXPECT_EQ(r.value, 1000);
    EXPECT_EQ(r.angle, normalise(1001));

    // Below Min with Wrap: 359 and Max minus the span's angle.
    s = KnobState{5, 2, 0, 1000, true};
    r = angleChangeToValue(s, 355);
    EXPECT_EQ(r.delta, -10);
    EXPECT_EQ(r.angle, 359);
    EXPECT_EQ(r.value, 1000 - normalise(1001));
    s.wrap = false;
    r = angleChangeToValue(s, 355);
    EXPECT_EQ(r.angle, 0);
    EXPECT_EQ(r.value, 0);
}

TEST(TwirlMath, FineStepsCarryTheirRemainder)
{
    const KnobState s{0, 5, 0, 10, true};
    FineStep f = fineValueStep(s, 50, 0, degreesPerFineStep(10));
    EXPECT_EQ(degreesPerFineStep(10), 36);
    EXPECT_EQ(f.value, 6);
    EXPECT_EQ(f.remainder, 14);
    f = fineValueStep(s, 22, 14, 36);
    EXPECT_EQ(f.value, 6);
    EXPECT_EQ(f.remainder, 0);
    // Truncation toward zero: backwards keeps a negative remainder.
    f = fineValueStep(s, -50, 0, 36);
    EXPECT_EQ(f.value, 4);
    EXPECT_EQ(f.remainder, -14);
    f = fineValueStep(s, 10, -14, 36);
    EXPECT_EQ(f.value, 5);
    EXPECT_EQ(f.remainder, -4);
}

TEST(TwirlMath, FineStepsPastTheEndsWrapOrStop)
{
    KnobState s{0, 10, 0, 10, true};
    EXPECT_EQ(fineValueStep(s, 36, 0, 36).value, 0);
    s.wrap = false;
    EXPECT_EQ(fineValueStep(s, 36, 0, 36).value, 10);
    s = KnobState{0, 0, 0, 10, true};
    EXPECT_EQ(fineValueStep(s, -36, 0, 36).value, 10);
    s.wrap = false;
    EXPECT_EQ(fineValueStep(s, -36, 0, 36).value, 0);
    // Corrupt tick counts never divide by zero.
    EXPECT_GE(degreesPerFineStep(0), 1);
    EXPECT_GE(degreesPerFineStep(400), 1);
    EXPECT_EQ(fineValueStep(s, 5, 0, 0).remainder, 0);
}

TEST(TwirlMath, LayoutOfA200By100ControlIsACentredSquare)
{
    LayoutInput in;
    in.width = 200;
    in.height = 100;
    const Layout l = computeLayout(in);
    EXPECT_EQ(l.outer, (Box{50, 0, 150, 100}));
    EXPECT_EQ(l.knob, l.outer);
    EXPECT_EQ(l.outerRadius, 50);
    EXPECT_EQ(l.knobRadius, 50);
    EXPECT_EQ(l.centre, QPoint(100, 50));

    in.width = 80;
    in.height = 120;
    const Layout tall = computeLayout(in);
    EXPECT_EQ(tall.outer, (Box{0, 20, 80, 100}));
    EXPECT_EQ(tall.outerRadius, 40);
}

TEST(TwirlMath, LayoutStepsForTicksRaisedLookAndFineRing)
{
    LayoutInput in;
    in.width = 100;
    in.height = 100;
    in.tickCount = 12;      // margin 8 + 4
    in.raised = true;       // 3 off right and bottom
    in.fineAdjust = true;   // width 15, inset 7
    const Layout l = computeLayout(in);
    EXPECT_EQ(l.outer, (Box{12, 12, 85, 85}));
    EXPECT_EQ(l.outerRadius, (100 - 24 - 3) / 2);
    EXPECT_EQ(l.knob, (Box{19, 19, 78, 78}));
    EXPECT_EQ(l.knobRadius, (100 - 24 - 3 - 15) / 2);
    EXPECT_EQ(l.centre, QPoint(48, 48));
}

TEST(TwirlMath, FineAdjustWidthIsLimitedByTheClientArea)
{
    EXPECT_EQ(limitFineAdjustWidth(15, 100, 100), 15);
    EXPECT_EQ(limitFineAdjustWidth(60, 100, 200), 37);
    EXPECT_EQ(limitFineAdjustWidth(0, 100, 100), 1);
    EXPECT_EQ(limitFineAdjustWidth(-4, 100, 100), 1);
}

TEST(TwirlMath, PointAndAngleRulesUse57Point3DegreesPerRadian)
{
    const QPoint c(50, 50);
    EXPECT_EQ(pointAt(c, 0, 45), QPoint(50, 5));
    EXPECT_EQ(pointAt(c, 90, 45), QPoint(94, 50));   // 45 * sin(90/57.3) truncates to 44
    EXPECT_EQ(pointAt(c, 180, 45), QPoint(50, 94));
    EXPECT_EQ(pointAt(c, 0, 45, 90), pointAt(c, 90, 45));
    EXPECT_EQ(angleOf(c, QPoint(50, 0)), 0);
    EXPECT_EQ(angleOf(c, QPoint(100, 50)), 90);
    EXPECT_EQ(angleOf(c, QPoint(50, 100)), 180);
    EXPECT_EQ(angleOf(c, QPoint(0, 50)), 270);
    EXPECT_EQ(angleOf(c, QPoint(0, 0)), 315);
    EXPECT_EQ(angleOf(c, c), 0);
}

TEST(TwirlMath, EveryPointOutsideTheKnobIsInTheFineRing)
{
    const QPoint c(50, 50);
    EXPECT_TRUE(inFineRing(true, c, 40, QPoint(0, 0)));
    EXPECT_TRUE(inFineRing(true, c, 40, QPoint(91, 50)));
    EXPECT_FALSE(inFineRing(true, c, 40, QPoint(90, 50)));
    EXPECT_FALSE(inFineRing(false, c, 40, QPoint(0, 0)));
}
