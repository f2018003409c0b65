// A form with the knob's other kinds of property (enumerations, colour,
// font, text), in the order the form editor saves them, compiled by uic: the
// generated setters must exist under the property names and reach the knob.
#include "ui_TwirlForm.h"

#include <gtest/gtest.h>

TEST(TwirlForm, UicGeneratedFormSetsTheKnobsProperties)
{
    QWidget form;
    Ui::TwirlForm ui;
    ui.setupUi(&form);
    CTwirlCtrl *k = ui.twirl;
    EXPECT_EQ(k->Max(), 99);
    EXPECT_EQ(k->Value(), 33);
    EXPECT_EQ(k->Position(), 118);
    EXPECT_EQ(k->IndicatorStyle(), CTwirlCtrl::isPointer);
    EXPECT_EQ(k->Appearence(), CTwirlCtrl::_3D);
    EXPECT_FALSE(k->Wrap());
    EXPECT_EQ(k->TickCount(), 10);
    EXPECT_EQ(k->KnobColor(), QColor(200, 20, 10));
    EXPECT_EQ(k->Font().pointSize(), 14);
    EXPECT_TRUE(k->Font().bold());
    EXPECT_EQ(k->Text(), QStringLiteral("Level"));
    EXPECT_TRUE(k->Antialiased());
    EXPECT_TRUE(k->isFontSet());
    EXPECT_FALSE(k->isBackColorSet());
    // Set before the layout gave the knob its size: the width is kept.
    EXPECT_EQ(k->FineAdjustWidth(), 40);
}
