// Forms saved with knobs whose Min, Max, Value, Position and Wrap were edited
// in every order, compiled by uic: each knob holds what its designer set.
#include "TwirlFormCases.h"
#include "ui_TwirlRoundTrip.h"

#include <gtest/gtest.h>

#include <QMetaProperty>

TEST(TwirlRoundTrip, EveryKnobOfAUicFormHoldsWhatTheDesignerSet)
{
    QWidget form;
    Ui::TwirlRoundTrip ui;
    ui.setupUi(&form);
    for (const twirlform::Case &c : twirlform::kCases) {
        SCOPED_TRACE(c.name);
        auto *built = form.findChild<CTwirlCtrl *>(QString::fromLatin1(c.name));
        ASSERT_NE(built, nullptr);
        // The knob the designer looked at: the same edits, made through the
        // meta-object as a form editor makes them.
        CTwirlCtrl designed;
        for (const twirlform::Edit &e : c.edits)
            designed.setProperty(e.property, e.value);
        // What the form saved holds exactly; the limits always agree.
        for (const twirlform::Edit &e : c.edits)
            EXPECT_EQ(built->property(e.property), designed.property(e.property)) << e.property;
        EXPECT_EQ(built->Min(), designed.Min());
        EXPECT_EQ(built->Max(), designed.Max());
        EXPECT_EQ(built->Wrap(), designed.Wrap());
    }
}

TEST(TwirlRoundTrip, TheFormsThatCameBackWrongNowHoldTheirValues)
{
    QWidget form;
    Ui::TwirlRoundTrip ui;
    ui.setupUi(&form);
    EXPECT_EQ(ui.valueAboveDefaultMax->Value(), 33);
    EXPECT_EQ(ui.positionOnAFullTurn->Position(), 200);
    EXPECT_EQ(ui.positionOnAFullTurn->Value(), 200);
    EXPECT_EQ(ui.negativeRange->Min(), -20);
    EXPECT_EQ(ui.negativeRange->Max(), -5);
    EXPECT_EQ(ui.rangeAboveDefaults->Min(), 50);
    EXPECT_EQ(ui.rangeAboveDefaults->Max(), 100);
    EXPECT_EQ(ui.rangeAboveDefaults->Value(), 70);
    EXPECT_EQ(ui.wideRangeWrapOff->Value(), 1234);
    EXPECT_FALSE(ui.wideRangeWrapOff->Wrap());
}
