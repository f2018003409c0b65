// Input beyond the plain drag: auto-spin by the clock, press and release
// signals, the disabled knob, the wheel at the ends, hit tests right after a
// layout change, and the notify signals and slots form editors wire.
#include "knob/CTwirlCtrl.h"
#include "knob/TwirlPropExchange.h"
#include "TwirlTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QWheelEvent>

using namespace twirl;
using namespace twirltest;

namespace {

// Runs the event loop until the knob's spin timer has had its first tick.
bool waitForPosition(const CTwirlCtrl &k, int position, int timeoutMs = 2000)
{
    QElapsedTimer t;
    t.start();
    while (k.Position() != position && t.elapsed() < timeoutMs)
        QTest::qWait(5);
    return k.Position() == position;
}

QWheelEvent wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    return QWheelEvent(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                       mods, Qt::NoScrollPhase, false);
}

} // namespace

TEST(TwirlSpin, APressStepsOnceThenTheKnobTurnsByTheClock)
{
    ScriptedKnob k;
    k.resize(100, 100);
    k.setAutoSpin(true);
    k.setMax(359);   // one degree per value
    QElapsedTimer held;
    held.start();
    k.held = Qt::RightButton;
    press(k, QPoint(50, 10), Qt::RightButton);
    ASSERT_TRUE(waitForPosition(k, 1));
    QTest::qWait(1000);
    k.held = Qt::NoButton;
    const qint64 elapsed = held.elapsed();
    QTest::qWait(60);
    const int turned = k.Position();
    // Never faster than the rate, however often the timer ticked...
    EXPECT_LE(turned, spinDegrees(elapsed, 1));
    // ... and slow enough to stop on a chosen value: 20 degrees a second.
    EXPECT_LE(turned, 1 + (1000 + 100) * kSpinDegreesPerSecond / 1000);
    EXPECT_GT(turned, 1);
    EXPECT_EQ(k.Value(), turned);
    // Released: it stays.
    QTest::qWait(100);
    EXPECT_EQ(k.Position(), turned);
}

TEST(TwirlSpin, AStalledEventLoopDoesNotMakeTheKnobLeap)
{
    ScriptedKnob k;
    k.resize(100, 100);
    k.setAutoSpin(true);
    k.setAutoSpinSpeed(2);
    k.setMax(359);
    k.held = Qt::RightButton;
    press(k, QPoint(50, 10), Qt::RightButton);
    ASSERT_TRUE(waitForPosition(k, 2));
    // The host is busy for a second and a half while the button stays down.
    QThread::msleep(1500);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // Without a cap this tick would turn 2 * 20 * 1.2 = 48 degrees at once.
    EXPECT_LE(k.Position(), 2 + 2 * 2 * kSpinMaxCatchUpMs * kSpinDegreesPerSecond / 1000);
    k.held = Qt::NoButton;
    QTest::qWait(40);
}

TEST(TwirlSpin, LeftTurnsAnticlockwiseRightClockwiseAndDragsAreIgnored)
{
    ScriptedKnob k;
    k.resize(100, 100);
    k.setAutoSpin(true);
    k.setAutoSpinSpeed(5);
    k.setMax(359);
    k.held = Qt::LeftButton;
    press(k, QPoint(50, 10));
    drag(k, QPoint(90, 50));   // no drag while spinning
    // Below Min with a span of 360 it wraps to 359.
    ASSERT_TRUE(waitForPosition(k, 359));
    EXPECT_EQ(k.Value(), 359);
    k.held = Qt::NoButton;
    QTest::qWait(40);
    EXPECT_EQ(k.Position(), 359);

    k.setValue(0);
    k.held = Qt::RightButton;
    press(k, QPoint(50, 10), Qt::RightButton);
    EXPECT_TRUE(waitForPosition(k, 5));
    k.held = Qt::NoButton;
    QTest::qWait(40);
}

TEST(TwirlSpin, InTheFineRingTheRingTurnsAndCarriesTheValue)
{
    ScriptedKnob k;
    k.resize(100, 100);
    k.setFineAdjust(true);
    k.setAutoSpin(true);
    k.setAutoSpinSpeed(40);
    k.setMax(1000);
    k.held = Qt::RightButton;
    press(k, QPoint(2, 2), Qt::RightButton);
    QElapsedTimer t;
    t.start();
    while (k.FineAdjustPosition() < 80 && t.elapsed() < 3000)
        QTest::qWait(5);
    k.held = Qt::NoButton;
    QTest::qWait(40);
    const int ring = k.FineAdjustPosition();
    EXPECT_GE(ring, 80);
    EXPECT_EQ(k.Position(), k.Value() % 360);
    // 36 degrees per step: the value is the ring's whole steps.
    EXPECT_EQ(k.Value(), ring / 36);
    EXPECT_EQ(k.fineRemainder(), ring % 36);
}

TEST(TwirlSpin, RepaintsNoMoreOftenThanTheDisplayShowsFrames)
{
    ScriptedKnob k;
    k.resize(100, 100);
    k.setAutoSpin(true);
    k.setAutoSpinSpeed(100);   // fast enough to move on every tick
    k.setMax(359);
    k.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
    PaintRecorder paints;
    k.installEventFilter(&paints);
    QElapsedTimer t;
    t.start();
    k.held = Qt::RightButton;
    press(k, QPoint(50, 10), Qt::RightButton);
    QTest::qWait(600);
    k.held = Qt::NoButton;
    const qint64 elapsed = t.elapsed();
    QTest::qWait(40);
    const qreal hz = k.screen()->refreshRate() >= 1 ? k.screen()->refreshRate() : 60.0;
    EXPECT_GT(paints.rects.size(), 2u);
    EXPECT_LE(double(paints.rects.size()), elapsed * hz / 1000.0 + 3);
}

TEST(TwirlInput, PressedAndReleasedBracketTheButtonsHeld)
{
    CTwirlCtrl k;
    k.resize(100, 100);
    QSignalSpy down(&k, &CTwirlCtrl::pressed);
    QSignalSpy up(&k, &CTwirlCtrl::released);
    press(k, QPoint(50, 20));
    mouse(k, QEvent::MouseButtonPress, QPoint(50, 20), Qt::RightButton,
          Qt::LeftButton | Qt::RightButton);
    release(k, QPoint(50, 20), Qt::RightButton, Qt::LeftButton);
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(up.count(), 0);
    release(k, QPoint(50, 20));
    EXPECT_EQ(up.count(), 1);
    // The middle button is not a press of the knob.
    mouse(k, QEvent::MouseButtonPress, QPoint(50, 20), Qt::MiddleButton, Qt::MiddleButton);
    EXPECT_EQ(down.count(), 1);
    // Disabled while held: the press ends.
    press(k, QPoint(50, 20));
    k.setEnabled(false);
    EXPECT_EQ(down.count(), 2);
    EXPECT_EQ(up.count(), 2);
}

TEST(TwirlInput, ADisabledKnobTakesNoInputAndStopsSpinning)
{
    ScriptedKnob k;
    k.resize(100, 100);
    k.setMax(359);
    k.setValue(100);
    k.setEnabled(false);
    QSignalSpy changes(&k, &CTwirlCtrl::ValueChanged);
    QSignalSpy downs(&k, &CTwirlCtrl::MouseDown);
    press(k, QPoint(50, 10));
    drag(k, QPoint(90, 50));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&k, &key);
    QWheelEvent w = wheel(120);
    QApplication::sendEvent(&k, &w);
    EXPECT_EQ(k.Value(), 100);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(downs.count(), 0);
    // A program may still set it.
    k.setValue(5);
    EXPECT_EQ(k.Value(), 5);

    k.setEnabled(true);
    k.setAutoSpin(true);
    k.held = Qt::RightButton;
    press(k, QPoint(50, 10), Qt::RightButton);
    ASSERT_TRUE(waitForPosition(k, 6));
    k.setEnabled(false);
    QTest::qWait(400);   // past the delay: a running spin would have moved it
    EXPECT_EQ(k.Position(), 6);
}

TEST(TwirlInput, TheWheelGoesOnWhenTheValueCannotMove)
{
    // An ignored wheel event is the one Qt hands on to the knob's parent.
    CTwirlCtrl k;
    k.resize(100, 100);
    k.setWrap(false);
    k.setValue(9);
    const auto turn = [&k](int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent w = wheel(delta, mods);
        w.setAccepted(false);
        QApplication::sendEvent(&k, &w);
        return w.isAccepted();
    };
    EXPECT_TRUE(turn(120));
    EXPECT_EQ(k.Value(), 10);
    EXPECT_FALSE(turn(120));
    EXPECT_EQ(k.Value(), 10);
    EXPECT_TRUE(turn(-120));   // away from the end it takes the wheel again
    EXPECT_EQ(k.Value(), 9);
    EXPECT_FALSE(turn(0));     // a sideways scroll is not for the knob
    k.setValue(0);
    EXPECT_FALSE(turn(-120, Qt::ControlModifier));
    // With Wrap the fine ring carries on past the end.
    k.setWrap(true);
    EXPECT_TRUE(turn(-120, Qt::ControlModifier));
    EXPECT_EQ(k.Value(), 10);
}

TEST(TwirlInput, APressRightAfterALayoutChangeHitsTheNewGeometry)
{
    // A 100 x 100 knob with a fine ring; each point is on the face before the
    // change and in the ring after it.
    const struct {
        const char *name;
        int value;
        QPoint p;
    } changes[] = {
        {"TickCount", 8, {50, 14}},           // r 42 -> 30
        {"TickLength", 14, {50, 23}},         // with 4 ticks: r 30 -> 24
        {"TickGap", 12, {50, 23}},            // with 4 ticks: r 30 -> 22
        {"Appearence", CTwirlCtrl::_3D, {92, 50}},   // centre (50,50) r 42 -> (48,48) r 41
        {"Appearence3DHeight", 20, {50, 8}},  // raised: (48,48) r 41 -> (40,40) r 32
    };
    for (const auto &c : changes) {
        CTwirlCtrl k;
        k.resize(100, 100);
        k.setFineAdjust(true);
        const QByteArray name(c.name);
        if (name == "TickLength" || name == "TickGap")
            k.setTickCount(4);
        if (name == "Appearence3DHeight")
            k.setAppearence(CTwirlCtrl::_3D);
        k.grab();   // lays the knob out
        QSignalSpy fine(&k, &CTwirlCtrl::MouseDownFine);
        press(k, c.p);
        ASSERT_EQ(fine.count(), 0) << c.name;
        k.setProperty(c.name, c.value);
        press(k, c.p);
        EXPECT_EQ(fine.count(), 1) << c.name;
    }
}

TEST(TwirlInput, NotifySignalsCarryTheNewStateOnceItIsWhole)
{
    CTwirlCtrl k;
    std::vector<std::string> seen;
    QObject::connect(&k, &CTwirlCtrl::valueChanged, [&](int v) {
        seen.push_back("value " + std::to_string(v) + " at " + std::to_string(k.Position()));
    });
    QObject::connect(&k, &CTwirlCtrl::positionChanged, [&](int p) {
        seen.push_back("position " + std::to_string(p) + " value " + std::to_string(k.Value()));
    });
    k.setValue(10);
    EXPECT_EQ(seen, (std::vector<std::string>{"value 10 at 327", "position 327 value 10"}));
    seen.clear();
    k.setMax(5);   // value and angle follow the new limit
    EXPECT_EQ(seen, (std::vector<std::string>{"value 5 at 300", "position 300 value 5"}));
    seen.clear();
    k.setValue(5);   // nothing changes, nothing is said
    k.setPosition(305);   // same value on another angle
    EXPECT_EQ(seen, (std::vector<std::string>{"position 305 value 5"}));
    seen.clear();
    QVariantMap bag = saveToBag(k);
    bag["Value"] = 2;
    bag["Position"] = 120;
    loadFromBag(k, bag);
    EXPECT_EQ(seen, (std::vector<std::string>{"value 2 at 120", "position 120 value 2"}));

    const QMetaObject *mo = k.metaObject();
    EXPECT_EQ(mo->property(mo->indexOfProperty("Value")).notifySignal().methodSignature(),
              QByteArray("valueChanged(int)"));
    EXPECT_EQ(mo->property(mo->indexOfProperty("Position")).notifySignal().methodSignature(),
              QByteArray("positionChanged(int)"));
}

TEST(TwirlInput, SlotsLetOneKnobDriveAnother)
{
    CTwirlCtrl a, b, c;
    const QMetaObject *mo = a.metaObject();
    for (const char *slot : {"setValue(int)", "setPosition(int)"}) {
        const int i = mo->indexOfSlot(slot);
        ASSERT_GE(i, 0) << slot;
        EXPECT_EQ(mo->method(i).methodType(), QMetaMethod::Slot);
    }
    // Wired by name, as a form editor's connection is.
    ASSERT_TRUE(QObject::connect(&a, SIGNAL(valueChanged(int)), &b, SLOT(setValue(int))));
    ASSERT_TRUE(QObject::connect(&a, SIGNAL(positionChanged(int)), &c, SLOT(setPosition(int))));
    a.setValue(7);
    EXPECT_EQ(b.Value(), 7);
    EXPECT_EQ(c.Position(), a.Position());
}
