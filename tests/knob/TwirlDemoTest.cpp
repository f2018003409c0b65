#include "knob/demo/TwirlDemoWindow.h"
#include "knob/CTwirlCtrl.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>

TEST(TwirlDemo, ThreeDifferentKnobsAndALogOfTheirSignals)
{
    TwirlDemoWindow w;
    CTwirlCtrl *plain = w.knob(0);
    CTwirlCtrl *ticks = w.knob(1);
    CTwirlCtrl *fine = w.knob(2);
    EXPECT_EQ(plain->TickCount(), 0);
    EXPECT_FALSE(plain->FineAdjust());
    EXPECT_GT(ticks->TickCount(), 0);
    EXPECT_TRUE(ticks->TickSnapping());
    EXPECT_FALSE(ticks->Text().isEmpty());
    EXPECT_TRUE(fine->FineAdjust());
    EXPECT_TRUE(fine->AutoSpin());

    w.log()->clear();
    plain->setValue(10);
    const QString log = w.log()->toPlainText();
    EXPECT_TRUE(log.contains(QStringLiteral("knob1: ValueChanged(10)"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("knob1: PositionChanged(-33)"))) << log.toStdString();
    auto *state = w.findChild<QLabel *>(QStringLiteral("lblState1"));
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->text().contains(QStringLiteral("327")));
    EXPECT_TRUE(state->text().contains(QStringLiteral("10")));
}
