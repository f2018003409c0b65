#include "knob/CTwirlCtrl.h"
#include "TwirlTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace twirl;
using namespace twirltest;

TEST(TwirlPaint, DotIsA4By4BlockWithBlackTopRowAndLeftColumn)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    const QImage img = render(k);
    // Centre (50,50), r 50: the dot is centred on (50, 5).
    for (int dy = -2; dy <= 1; ++dy) {
        for (int dx = -2; dx <= 1; ++dx) {
            const QColor want = (dx == -2 || dy == -2) ? QColor(Qt::black) : QColor(Qt::white);
            EXPECT_EQ(at(img, 50 + dx, 5 + dy), want) << dx << "," << dy;
        }
    }
    EXPECT_EQ(at(img, 52, 5), QColor(128, 128, 128));
    EXPECT_EQ(at(img, 50, 7), QColor(128, 128, 128));
}

TEST(TwirlPaint, DotFollowsPositionAndOrientation)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setMax(359);
    k.setValue(90);
    // 45 * sin(90 / 57.3) truncates to 44: the dot centres on (94, 50).
    QImage img = render(k);
    EXPECT_EQ(at(img, 92, 48), QColor(Qt::black));
    EXPECT_EQ(at(img, 95, 51), QColor(Qt::white));
    k.setValue(0);
    k.setOrientation(90);
    img = render(k);
    EXPECT_EQ(at(img, 95, 51), QColor(Qt::white));
    EXPECT_EQ(at(img, 51, 6), QColor(128, 128, 128));
}

TEST(TwirlPaint, TicksStandOutsideTheDiscAndIgnoreOrientation)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setTickCount(4);
    k.setTickColor(Qt::red);
    k.setOrientation(45);
    const QImage img = render(k);
    // Outer radius (100 - 24) / 2 = 38; ticks from 42 to 50 from (50,50).
    EXPECT_EQ(at(img, 50, 8), QColor(Qt::red));     // top tick, inner end
    EXPECT_EQ(at(img, 50, 1), QColor(Qt::red));     // top tick, outer part
    EXPECT_NE(at(img, 50, 9), QColor(Qt::red));     // the gap below it
    EXPECT_EQ(at(img, 91, 50), QColor(Qt::red));    // right tick, inner end (41 after truncation)
    EXPECT_NE(at(img, 90, 50), QColor(Qt::red));
    EXPECT_EQ(at(img, 50, 91), QColor(Qt::red));    // bottom tick
    EXPECT_EQ(at(img, 9, 50), QColor(Qt::red));     // left tick: -41 from 50
    EXPECT_NE(at(img, 10, 50), QColor(Qt::red));
    EXPECT_EQ(k.tickTable(), (std::vector<int>{90, 180, 270, 360}));
}

TEST(TwirlPaint, RaisedLookShadowsTheLowerRightOnly)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setAppearence(CTwirlCtrl::_3D);
    k.setBackColor(Qt::white);
    const QImage img = render(k);
    // Outer rectangle (0,0)-(97,97); the shadow lies to the right and below.
    EXPECT_EQ(at(img, 98, 50), QColor(Qt::black));
    EXPECT_EQ(at(img, 50, 98), QColor(Qt::black));
    EXPECT_EQ(at(img, 99, 50), QColor(Qt::white));
    EXPECT_EQ(at(img, 50, 99), QColor(Qt::white));
    EXPECT_EQ(at(img, 2, 20), QColor(Qt::white));    // no shadow up and left
    EXPECT_EQ(at(img, 48, 0), QColor(Qt::black));   // the rim itself
    EXPECT_EQ(k.knobLayout().outerRadius, 48);
}

TEST(TwirlPaint, FineRingUsesItsColourAndShowsTheMark)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setFineAdjust(true);
    k.setFineAdjustColor(Qt::yellow);
    k.setFineAdjustLineLength(6);
    k.setIndicatorColor(Qt::blue);
    k.setFineAdjustPosition(180);
    const QImage img = render(k);
    // Knob radius 42, outer 50: the ring mark sits at mid 46, from 43 to 49.
    EXPECT_EQ(at(img, 50, 4), QColor(Qt::yellow));
    EXPECT_EQ(at(img, 50, 96), QColor(Qt::blue));
    EXPECT_EQ(at(img, 50, 50), QColor(128, 128, 128));
}

TEST(TwirlPaint, IndicatorStylesDrawWhereExpected)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setIndicatorColor(Qt::green);
    k.setIndicatorStyle(CTwirlCtrl::isLine);
    QImage img = render(k);
    EXPECT_EQ(at(img, 50, 30), QColor(Qt::green));
    EXPECT_EQ(at(img, 50, 70), QColor(128, 128, 128));
    k.setIndicatorStyle(CTwirlCtrl::isPointer);
    img = render(k);
    EXPECT_EQ(at(img, 50, 10), QColor(Qt::green));
    EXPECT_EQ(at(img, 50, 70), QColor(128, 128, 128));
    k.setIndicatorStyle(CTwirlCtrl::isHalfShaded);
    img = render(k);
    EXPECT_EQ(at(img, 50, 80), QColor(Qt::green));   // the half away from the indicator
    EXPECT_EQ(at(img, 50, 20), QColor(128, 128, 128));
    k.setIndicatorStyle(CTwirlCtrl::isNone);
    img = render(k);
    EXPECT_EQ(at(img, 50, 5), QColor(128, 128, 128));
}

TEST(TwirlPaint, CaptionIsCentredOnTheOuterRectangle)
{
    CTwirlCtrl k;
    k.resize(120, 100);
    k.setForeColor(Qt::black);
    k.setText(QStringLiteral("WWW"));
    const QImage img = render(k);
    int left = 200, right = -1, top = 200, bottom = -1;
    for (int y = 10; y < 90; ++y) {
        for (int x = 10; x < 110; ++x) {
            if (qGray(img.pixel(x, y)) < 60) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, 60, 2.5);
    EXPECT_NEAR((top + bottom) / 2.0, 50, 4);
}

TEST(TwirlPaint, TickSnappingDrawsOnTheNearestTickAndReportsIt)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setTickCount(4);
    k.setTickSnapping(true);
    k.setPosition(45);
    ASSERT_EQ(k.Value(), 1);
    QSignalSpy snaps(&k, &CTwirlCtrl::TickSnap);
    const QImage img = render(k);
    ASSERT_EQ(snaps.count(), 1);
    EXPECT_EQ(snaps.at(0).at(0).value<short>(), 360);   // the tie goes to tick 4
    EXPECT_EQ(snaps.at(0).at(1).toInt(), 0);
    EXPECT_EQ(k.Position(), 45);
    EXPECT_EQ(k.Value(), 1);
    // The dot is drawn at the top (r 38 - 5 = 33 above the centre).
    EXPECT_EQ(at(img, 48, 15), QColor(Qt::black));
    EXPECT_EQ(at(img, 50, 17), QColor(Qt::white));
}

TEST(TwirlPaint, SnappedTurnStillReportsTheTurnMade)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setTickCount(4);
    k.setTickSnapping(true);
    k.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
    QSignalSpy turns(&k, &CTwirlCtrl::PositionChanged);
    QSignalSpy snaps(&k, &CTwirlCtrl::TickSnap);
    k.setPosition(100);
    ASSERT_EQ(turns.count(), 1);
    EXPECT_EQ(turns.at(0).at(0).value<short>(), 100);
    ASSERT_GE(snaps.count(), 1);   // the face was drawn before the event
    EXPECT_EQ(snaps.last().at(0).value<short>(), 90);
}

TEST(TwirlPaint, LayoutOf200By100AndCornersCountAsTheFineRing)
{
    CTwirlCtrl k;
    k.resize(200, 100);
    render(k);
    const Layout l = k.knobLayout();
    EXPECT_EQ(l.outer, (Box{50, 0, 150, 100}));
    EXPECT_EQ(l.outerRadius, 50);
    EXPECT_EQ(l.knobRadius, 50);

    CTwirlCtrl f;
    f.resize(100, 100);
    f.setFineAdjust(true);
    QSignalSpy fine(&f, &CTwirlCtrl::MouseDownFine);
    QSignalSpy coarse(&f, &CTwirlCtrl::MouseDownCoarse);
    press(f, QPoint(0, 0));
    press(f, QPoint(99, 99), Qt::RightButton);
    press(f, QPoint(50, 50));
    ASSERT_EQ(fine.count(), 2);
    EXPECT_EQ(fine.at(0).at(0).value<short>(), 1);
    EXPECT_EQ(fine.at(1).at(0).value<short>(), 2);
    EXPECT_EQ(coarse.count(), 1);
}

TEST(TwirlPaint, StockMouseEventsComeBeforeTheKnobsOwn)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    std::vector<std::string> order;
    QObject::connect(&k, &CTwirlCtrl::MouseDown, [&](short b, short s, int x, int y) {
        order.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " "
                        + std::to_string(x) + " " + std::to_string(y));
    });
    QObject::connect(&k, &CTwirlCtrl::MouseDownCoarse,
                     [&](short b) { order.push_back("coarse " + std::to_string(b)); });
    QObject::connect(&k, &CTwirlCtrl::MouseUp,
                     [&](short b, short, int, int) { order.push_back("up " + std::to_string(b)); });
    QObject::connect(&k, &CTwirlCtrl::LeftDblClick, [&] { order.push_back("dbl left"); });
    QObject::connect(&k, &CTwirlCtrl::RightDblClick, [&] { order.push_back("dbl right"); });
    mouse(k, QEvent::MouseButtonPress, QPoint(40, 45), Qt::LeftButton, Qt::LeftButton,
          Qt::ShiftModifier | Qt::ControlModifier);
    mouse(k, QEvent::MouseButtonRelease, QPoint(40, 45), Qt::LeftButton, Qt::NoButton);
    mouse(k, QEvent::MouseButtonDblClick, QPoint(40, 45), Qt::LeftButton, Qt::LeftButton);
    mouse(k, QEvent::MouseButtonDblClick, QPoint(40, 45), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(order, (std::vector<std::string>{"down 1 3 40 45", "coarse 1", "up 1",
                                               "down 1 0 40 45", "dbl left", "down 2 0 40 45",
                                               "dbl right"}));
}

TEST(TwirlPaint, KnobDragTurnsByTheMouseAngle)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    std::vector<int> turns;
    QObject::connect(&k, &CTwirlCtrl::PositionChanged, [&](short d) { turns.push_back(d); });
    press(k, QPoint(50, 10));            // angle 0
    drag(k, QPoint(90, 50));             // angle 90
    EXPECT_EQ(k.Position(), 90);
    EXPECT_EQ(k.Value(), 2);
    drag(k, QPoint(50, 90));             // angle 180
    EXPECT_EQ(k.Position(), 180);
    EXPECT_EQ(turns, (std::vector<int>{90, 90}));
    // A move with a key held, or without the left button, does not drag.
    mouse(k, QEvent::MouseMove, QPoint(10, 50), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    mouse(k, QEvent::MouseMove, QPoint(10, 50), Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(k.Position(), 180);
}

TEST(TwirlPaint, DragThroughTheTopWithoutWrapStopsAtMax)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setWrap(false);
    k.setPosition(300);
    const QPoint c(50, 50);
    press(k, pointAt(c, 300, 40));
    for (int a : {320, 340, 355, 10, 30, 60})
        drag(k, pointAt(c, a, 40));
    EXPECT_EQ(k.Position(), 359);
    EXPECT_EQ(k.Value(), 10);
    // Back the other way it moves off the stop.
    drag(k, pointAt(c, 30, 40));
    EXPECT_LT(k.Position(), 359);
}

TEST(TwirlPaint, FineDragOf50DegreesAddsOneAndKeeps14)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setFineAdjust(true);
    QSignalSpy values(&k, &CTwirlCtrl::ValueChanged);
    press(k, QPoint(50, 2));               // angle 0, in the ring
    drag(k, QPoint(86, 20));               // angle 50
    EXPECT_EQ(k.FineAdjustPosition(), 50);
    EXPECT_EQ(k.Value(), 1);
    EXPECT_EQ(k.fineRemainder(), 14);
    ASSERT_EQ(values.count(), 1);
    EXPECT_EQ(values.at(0).at(0).toInt(), 1);
    // Setting the ring's position drops the remainder.
    k.setFineAdjustPosition(10);
    EXPECT_EQ(k.fineRemainder(), 0);
}

TEST(TwirlPaint, SnapToMouseTurnsTheIndicatorToThePress)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setMax(359);
    k.setSnapToMouse(true);
    press(k, QPoint(95, 50));
    EXPECT_EQ(k.Position(), 90);
    EXPECT_EQ(k.Value(), 90);
    press(k, QPoint(50, 95));
    EXPECT_EQ(k.Position(), 180);
}

TEST(TwirlPaint, TurningRepaintsOnlyTheFaceFromTheCachedBackground)
{
    CTwirlCtrl k;
    k.resize(120, 120);
    k.setTickCount(12);
    k.setFineAdjust(true);
    k.setAppearence(CTwirlCtrl::_3D);
    k.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
    QApplication::processEvents();
    const int renders = k.backgroundRenderCount();
    ASSERT_GE(renders, 1);
    PaintRecorder rec;
    k.installEventFilter(&rec);
    const Layout l = k.knobLayout();
    const QRect knobArea(l.knob.left - 1, l.knob.top - 1, l.knob.width() + 2, l.knob.height() + 2);

    press(k, QPoint(l.centre.x(), l.centre.y() - 10));
    drag(k, QPoint(l.centre.x() + 10, l.centre.y()));
    drag(k, QPoint(l.centre.x(), l.centre.y() + 10));
    ASSERT_EQ(k.Position(), 180);
    ASSERT_FALSE(rec.rects.empty());
    for (const QRect &r : rec.rects)
        EXPECT_TRUE(knobArea.contains(r)) << r.x() << "," << r.y() << " " << r.width();

    rec.rects.clear();
    k.setFineAdjustPosition(90);
    ASSERT_FALSE(rec.rects.empty());
    for (const QRect &r : rec.rects)
        EXPECT_LT(r.width() * r.height(), 20 * 20);
    EXPECT_EQ(k.backgroundRenderCount(), renders);

    // A property that changes the look renders the background again.
    k.setTickColor(Qt::blue);
    QApplication::processEvents();
    EXPECT_GT(k.backgroundRenderCount(), renders);
}

TEST(TwirlPaint, FocusShowsAsARingInsideTheRim)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    k.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
    const QColor highlight = k.palette().color(QPalette::Highlight);
    k.clearFocus();
    QApplication::processEvents();
    ASSERT_FALSE(k.hasFocus());
    EXPECT_NE(at(render(k), 50, 2), highlight);
    k.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(k.hasFocus());
    const QImage img = render(k);
    EXPECT_EQ(at(img, 50, 2), highlight);
    EXPECT_EQ(at(img, 50, 0), QColor(Qt::black));   // the rim stays
}

TEST(TwirlPaint, PartialRedrawsLeaveTheSamePixelsAsAFullPaint)
{
    CTwirlCtrl k;
    k.resize(140, 140);
    k.setTickCount(8);
    k.setTickSnapping(true);
    k.setFineAdjust(true);
    k.setFineAdjustWidth(20);
    k.setFineAdjustLineLength(8);
    k.setAppearence(CTwirlCtrl::_3D);
    k.setIndicatorStyle(CTwirlCtrl::isHalfShaded);
    k.setText(QStringLiteral("Mix"));
    k.setMax(99);
    k.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
    QApplication::processEvents();
    const Layout l = k.knobLayout();
    const int mid = (l.knobRadius + l.outerRadius) / 2;

    press(k, pointAt(l.centre, 0, 20));
    for (int a = 10; a <= 200; a += 10)
        drag(k, pointAt(l.centre, a, 20));
    press(k, pointAt(l.centre, 0, mid));
    for (int a = 10; a <= 130; a += 10)
        drag(k, pointAt(l.centre, a, mid));
    ASSERT_NE(k.FineAdjustPosition(), 0);
    QApplication::processEvents();

    const QImage onScreen = k.screen()->grabWindow(k.winId()).toImage().convertToFormat(
        QImage::Format_RGB32);
    const QImage full = render(k);
    ASSERT_EQ(onScreen.size(), full.size());
    int differing = 0;
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x)
            differing += onScreen.pixel(x, y) != full.pixel(x, y);
    }
    EXPECT_EQ(differing, 0);
}
