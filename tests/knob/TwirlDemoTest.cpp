#include "knob/demo/TwirlDemoWindow.h"
#include "knob/CTwirlCtrl.h"
#include "knob/TwirlMath.h"

#include <gtest/gtest.h>

#include <QLCDNumber>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

using twirl::pointAt;

namespace {

int lightness(const QColor &c)
{
    return qGray(c.rgb());
}

} // namespace

TEST(TwirlDemo, EachKnobShowsOneThingAndTheLogShowsTheirSignals)
{
    TwirlDemoWindow w;
    EXPECT_EQ(w.knob(TwirlDemoWindow::Defaults)->TickCount(), 0);
    CTwirlCtrl *ticks = w.knob(TwirlDemoWindow::Ticks);
    EXPECT_TRUE(ticks->TickSnapping());
    EXPECT_FALSE(ticks->Text().isEmpty());
    // Its indicator stands out from the face, away from the caption.
    EXPECT_EQ(ticks->IndicatorStyle(), CTwirlCtrl::isPointer);
    EXPECT_GT(std::abs(lightness(ticks->IndicatorColor()) - lightness(ticks->KnobColor())), 80);
    // The fine ring is dragged, not spun: a press there follows the mouse.
    EXPECT_TRUE(w.knob(TwirlDemoWindow::FineRing)->FineAdjust());
    EXPECT_FALSE(w.knob(TwirlDemoWindow::FineRing)->AutoSpin());
    EXPECT_TRUE(w.knob(TwirlDemoWindow::AutoSpin)->AutoSpin());
    CTwirlCtrl *smooth = w.knob(TwirlDemoWindow::Smooth);
    EXPECT_TRUE(smooth->Antialiased());
    EXPECT_GT(std::abs(lightness(smooth->IndicatorColor()) - lightness(smooth->KnobColor())), 80);
    EXPECT_FALSE(w.knob(TwirlDemoWindow::Disabled)->isEnabled());
    // The gallery keeps every style, the half-shaded one included.
    for (int s = 0; s < 5; ++s) {
        ASSERT_NE(w.styleKnob(CTwirlCtrl::IndicatorStyles(s)), nullptr);
        EXPECT_EQ(w.styleKnob(CTwirlCtrl::IndicatorStyles(s))->IndicatorStyle(), s);
    }

    w.log()->clear();
    CTwirlCtrl *plain = w.knob(TwirlDemoWindow::Defaults);
    plain->setValue(10);
    const QString log = w.log()->toPlainText();
    EXPECT_TRUE(log.contains(QStringLiteral("knob1: ValueChanged(10)"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("knob1: PositionChanged(-33)"))) << log.toStdString();
    auto *state = w.findChild<QLabel *>(QStringLiteral("lblState1"));
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->text(), QStringLiteral("Position 327    Value 10"));

    // The LCD hangs on valueChanged(int) and nothing else.
    EXPECT_EQ(w.lcd()->intValue(), smooth->Value());
    smooth->setValue(77);
    EXPECT_EQ(w.lcd()->intValue(), 77);
}

TEST(TwirlDemo, DraggingTheFineRingClockwiseTurnsItClockwise)
{
    TwirlDemoWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    CTwirlCtrl *k = w.knob(TwirlDemoWindow::FineRing);
    k->grab();
    const twirl::Layout l = k->knobLayout();
    const int mid = (l.knobRadius + l.outerRadius) / 2;
    const int ring = k->FineAdjustPosition();
    const int value = k->Value();

    // Through the ordinary mouse path, a quarter turn clockwise on screen
    // (angles grow clockwise from the top).
    QTest::mousePress(k, Qt::LeftButton, Qt::NoModifier, pointAt(l.centre, 0, mid));
    for (int a = 10; a <= 90; a += 10)
        QTest::mouseMove(k, pointAt(l.centre, a, mid));
    EXPECT_EQ(k->FineAdjustPosition(), ring + 90);
    EXPECT_EQ(k->Value(), value + 2);   // 90 degrees: two steps of 36, 18 left over
    QApplication::processEvents();
    // The mark is drawn where the ring now points.
    const QImage img = k->grab().toImage();
    const QPoint mark = pointAt(l.centre, ring + 90, mid);
    EXPECT_EQ(QColor(img.pixel(mark)), k->IndicatorColor());
    // And back anticlockwise.
    for (int a = 80; a >= 0; a -= 10)
        QTest::mouseMove(k, pointAt(l.centre, a, mid));
    QTest::mouseRelease(k, Qt::LeftButton, Qt::NoModifier, pointAt(l.centre, 0, mid));
    EXPECT_EQ(k->FineAdjustPosition(), ring);
    EXPECT_EQ(k->Value(), value);
}
