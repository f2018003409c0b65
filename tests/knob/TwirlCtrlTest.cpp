#include "knob/CTwirlCtrl.h"
#include "knob/CTwirlPropPage.h"
#include "knob/TwirlDispIds.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

namespace {

// Records the knob's value signals in the order they arrive.
struct SignalLog {
    explicit SignalLog(CTwirlCtrl &k)
    {
        QObject::connect(&k, &CTwirlCtrl::PositionChanged, &k,
                         [this](short d) { events.push_back("P" + std::to_string(d)); });
        QObject::connect(&k, &CTwirlCtrl::ValueChanged, &k,
                         [this](int d) { events.push_back("V" + std::to_string(d)); });
    }
    std::vector<std::string> events;
};

using Events = std::vector<std::string>;

} // namespace

TEST(TwirlCtrl, DefaultsAreThoseOfANewKnob)
{
    CTwirlCtrl k;
    EXPECT_EQ(k.Min(), 0);
    EXPECT_EQ(k.Max(), 10);
    EXPECT_EQ(k.Value(), 0);
    EXPECT_EQ(k.Position(), 0);
    EXPECT_EQ(k.IndicatorStyle(), CTwirlCtrl::isDot);
    EXPECT_EQ(k.IndicatorLineWidth(), 2);
    EXPECT_TRUE(k.Wrap());
    EXPECT_EQ(k.KnobColor(), QColor(128, 128, 128));
    EXPECT_EQ(k.IndicatorColor(), QColor(Qt::white));
    EXPECT_EQ(k.RimColor(), QColor(Qt::black));
    EXPECT_EQ(k.Appearence(), CTwirlCtrl::Flat);
    EXPECT_EQ(k.Appearence3DHeight(), 3);
    EXPECT_EQ(k.Version(), QStringLiteral("1.0"));
    EXPECT_FALSE(k.SnapToMouse());
    EXPECT_FALSE(k.AutoSpin());
    EXPECT_EQ(k.AutoSpinSpeed(), 1);
    EXPECT_EQ(k.TickLength(), 8);
    EXPECT_EQ(k.TickCount(), 0);
    EXPECT_EQ(k.TickGap(), 4);
    EXPECT_EQ(k.TickWidth(), 1);
    EXPECT_EQ(k.TickColor(), QColor(Qt::black));
    EXPECT_FALSE(k.TickSnapping());
    EXPECT_FALSE(k.FineAdjust());
    EXPECT_EQ(k.FineAdjustWidth(), 15);
    EXPECT_EQ(k.FineAdjustTicks(), 10);
    EXPECT_EQ(k.FineAdjustPosition(), 0);
    EXPECT_TRUE(k.FineAdjustIndicator());
    EXPECT_EQ(k.FineAdjustColor(), k.KnobColor());
    EXPECT_EQ(k.FineAdjustLineLength(), 2);
    EXPECT_TRUE(k.Text().isEmpty());
    EXPECT_FALSE(k.isModified());
}

TEST(TwirlCtrl, EveryPropertyIsReachableByNameAndNumber)
{
    CTwirlCtrl k;
    const QMetaObject *mo = k.metaObject();
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                   22, 23, 24, 25, 26, 27, 28, 29, 30, -501, -512, -513, -517}) {
        const QByteArray name = twirl::propertyName(id);
        ASSERT_FALSE(name.isEmpty()) << id;
        EXPECT_EQ(twirl::propertyDispId(name), id);
        EXPECT_GE(mo->indexOfProperty(name.constData()), 0) << name.constData();
    }
    EXPECT_EQ(twirl::propertyDispId("Nope"), 0);
    EXPECT_TRUE(twirl::propertyName(31).isEmpty());
}

TEST(TwirlCtrl, EveryEventIsASignalWithItsNumber)
{
    const QMetaObject &mo = CTwirlCtrl::staticMetaObject;
    const struct { int id; const char *signature; } events[] = {
        {1, "PositionChanged(short)"},  {2, "ValueChanged(int)"},
        {3, "LeftDblClick()"},          {4, "RightDblClick()"},
        {5, "TickSnap(short,int)"},     {6, "MouseDownCoarse(short)"},
        {7, "MouseDownFine(short)"},    {-605, "MouseDown(short,short,int,int)"},
        {-607, "MouseUp(short,short,int,int)"},
    };
    for (const auto &e : events) {
        EXPECT_GE(mo.indexOfSignal(e.signature), 0) << e.signature;
        const QByteArray name = QByteArray(e.signature).left(QByteArray(e.signature).indexOf('('));
        EXPECT_EQ(twirl::eventName(e.id), name);
        EXPECT_EQ(twirl::eventDispId(name), e.id);
    }
    EXPECT_GE(mo.indexOfMethod("AboutBox()"), 0);
    EXPECT_EQ(twirl::kDispIdAboutBox, -552);
}

TEST(TwirlCtrl, EnumerationsAreRegistered)
{
    const QMetaEnum styles = QMetaEnum::fromType<CTwirlCtrl::IndicatorStyles>();
    EXPECT_EQ(styles.keyCount(), 5);
    EXPECT_EQ(styles.keyToValue("isHalfShaded"), 4);
    EXPECT_EQ(styles.keyToValue("isNone"), 0);
    const QMetaEnum looks = QMetaEnum::fromType<CTwirlCtrl::AppearenceTypes>();
    EXPECT_EQ(looks.keyToValue("_3D"), 1);
    EXPECT_EQ(looks.keyToValue("Flat"), 0);
}

TEST(TwirlCtrl, VersionCannotBeSet)
{
    CTwirlCtrl k;
    EXPECT_FALSE(k.setProperty("Version", QStringLiteral("2.0")));
    EXPECT_EQ(k.property("Version").toString(), QStringLiteral("1.0"));
    EXPECT_FALSE(k.isModified());
}

TEST(TwirlCtrl, SettersCorrectOutOfRangeValues)
{
    const struct { const char *name; int in; int out; } cases[] = {
        {"IndicatorStyle", -1, 0},     {"IndicatorStyle", 9, 4},
        {"IndicatorLineWidth", 0, 1},  {"Orientation", -90, 270},
        {"Orientation", 725, 5},       {"Appearence", -2, 0},
        {"Appearence", 5, 1},          {"Appearence3DHeight", -1, 1},
        {"AutoSpinSpeed", -7, -7},     {"TickLength", 0, 1},
        {"TickCount", 500, 360},       {"TickCount", -3, 0},
        {"TickCount", 0, 0},           {"TickGap", -1, 0},
        {"TickGap", 0, 0},             {"TickWidth", 0, 1},
        {"FineAdjustTicks", 360, 359}, {"FineAdjustTicks", 0, 1},
        {"FineAdjustTicks", 359, 359}, {"FineAdjustPosition", -1, 0},
        {"FineAdjustPosition", 360, 359}, {"FineAdjustLineLength", -5, 1},
        {"FineAdjustWidth", 0, 1},
    };
    for (const auto &c : cases) {
        CTwirlCtrl k;
        k.resize(100, 100);
        ASSERT_TRUE(k.setProperty(c.name, c.in)) << c.name;
        EXPECT_EQ(k.property(c.name).toInt(), c.out) << c.name << " " << c.in;
        EXPECT_TRUE(k.isModified()) << c.name;
    }
}

TEST(TwirlCtrl, FineAdjustWidthIsLimitedToThreeQuartersOfHalfTheSide)
{
    CTwirlCtrl k;
    k.resize(100, 60);
    k.setFineAdjustWidth(40);
    EXPECT_EQ(k.FineAdjustWidth(), 22);
    k.setFineAdjustWidth(20);
    EXPECT_EQ(k.FineAdjustWidth(), 20);
}

TEST(TwirlCtrl, FineAdjustWidthWaitsForASizeAndRecoversWhenEnlarged)
{
    CTwirlCtrl k;   // not sized yet, as in a form under construction
    k.setFineAdjustWidth(40);
    EXPECT_EQ(k.FineAdjustWidth(), 40);
    k.resize(100, 60);
    k.grab();
    EXPECT_EQ(k.FineAdjustWidth(), 22);
    k.resize(200, 200);
    k.grab();
    EXPECT_EQ(k.FineAdjustWidth(), 40);
}

TEST(TwirlCtrl, IndicatorStyleChangeIsAnnouncedToBoundHosts)
{
    CTwirlCtrl k;
    QSignalSpy spy(&k, &CTwirlCtrl::IndicatorStyleChanged);
    k.setProperty("IndicatorStyle", 3);
    EXPECT_EQ(spy.count(), 1);
    const QMetaProperty p = k.metaObject()->property(k.metaObject()->indexOfProperty("IndicatorStyle"));
    EXPECT_TRUE(p.hasNotifySignal());
}

TEST(TwirlCtrl, PositionIsReducedToOneTurn)
{
    CTwirlCtrl k;
    k.setPosition(-90);
    EXPECT_EQ(k.Position(), 270);
    k.setPosition(720);
    EXPECT_EQ(k.Position(), 0);
}

TEST(TwirlCtrl, ValueSetFiresValueThenPosition)
{
    CTwirlCtrl k;
    SignalLog log(k);
    k.setValue(10);
    EXPECT_EQ(k.Position(), 327);
    EXPECT_EQ(log.events, (Events{"V10", "P-33"}));
    log.events.clear();
    k.setValue(99);   // clamped to Max: nothing changes
    EXPECT_EQ(k.Value(), 10);
    EXPECT_TRUE(log.events.empty());
    k.setValue(-4);
    EXPECT_EQ(k.Value(), 0);
    EXPECT_EQ(k.Position(), 0);
    EXPECT_EQ(log.events, (Events{"V-10", "P33"}));
}

TEST(TwirlCtrl, PositionSetFiresPositionThenValue)
{
    CTwirlCtrl k;
    SignalLog log(k);
    k.setPosition(327);
    EXPECT_EQ(k.Value(), 9);
    EXPECT_EQ(log.events, (Events{"P-33", "V9"}));
    log.events.clear();
    k.setPosition(327 + 360);   // the same angle: nothing at all
    EXPECT_TRUE(log.events.empty());
    k.setPosition(300);          // same value 9 on another angle
    EXPECT_EQ(log.events, (Events{"P-27"}));
}

TEST(TwirlCtrl, SameValueOnAnotherAngleFiresOnlyPositionChanged)
{
    CTwirlCtrl k;
    k.setPosition(330);          // value 10 * 330 / 360 -> 10
    ASSERT_EQ(k.Value(), 10);
    SignalLog log(k);
    k.setValue(10);              // its own angle is 327
    EXPECT_EQ(k.Position(), 327);
    EXPECT_EQ(log.events, (Events{"P-3"}));
}

TEST(TwirlCtrl, ALimitSetPastTheOtherMovesItAlong)
{
    CTwirlCtrl k;
    k.setMin(5);
    EXPECT_EQ(k.Value(), 5);
    k.setValue(8);
    k.setMax(2);   // Min makes way, Value follows Max down
    EXPECT_EQ(k.Max(), 2);
    EXPECT_EQ(k.Min(), 2);
    EXPECT_EQ(k.Value(), 2);
    k.setMin(50);   // Max makes way
    EXPECT_EQ(k.Min(), 50);
    EXPECT_EQ(k.Max(), 50);
    EXPECT_EQ(k.Value(), 50);
    k.setMax(100);
    EXPECT_EQ(k.Min(), 50);
    EXPECT_EQ(k.Value(), 50);
    // Within each other's range nothing else moves.
    k.setMin(-20);
    EXPECT_EQ(k.Max(), 100);
    EXPECT_EQ(k.Value(), 50);
}

TEST(TwirlCtrl, ChangingTheSpanMovesTheIndicatorNotTheValue)
{
    CTwirlCtrl k;
    k.setValue(5);
    ASSERT_EQ(k.Position(), 163);
    SignalLog log(k);
    k.setMax(20);
    EXPECT_EQ(k.Value(), 5);
    EXPECT_EQ(k.Position(), 85);
    EXPECT_EQ(log.events, (Events{"P-78"}));
}

TEST(TwirlCtrl, SpanOf360MakesValueAndPositionEqual)
{
    CTwirlCtrl k;
    k.setMax(359);
    for (int v : {0, 1, 90, 180, 200, 359}) {
        k.setValue(v);
        EXPECT_EQ(k.Position(), v);
    }
    k.setMax(1000);
    k.setValue(725);
    EXPECT_EQ(k.Position(), 5);
}

TEST(TwirlCtrl, KeyboardAndWheelGoThroughTheValueRules)
{
    CTwirlCtrl k;
    k.setMax(99);
    SignalLog log(k);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&k, &up);
    EXPECT_EQ(k.Value(), 1);
    EXPECT_EQ(log.events, (Events{"V1", "P3"}));
    QKeyEvent pgUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(&k, &pgUp);
    EXPECT_EQ(k.Value(), 11);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&k, &end);
    EXPECT_EQ(k.Value(), 99);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&k, &right);
    EXPECT_EQ(k.Value(), 99);
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(&k, &home);
    EXPECT_EQ(k.Value(), 0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&k, &down);
    EXPECT_EQ(k.Value(), 0);

    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&k, &wheel);
    EXPECT_EQ(k.Value(), 2);
    // Ctrl: the fine ring turns by one step's worth and carries the value.
    QWheelEvent fine(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&k, &fine);
    EXPECT_EQ(k.Value(), 1);
    EXPECT_EQ(k.FineAdjustPosition(), 360 - 36);
}

TEST(TwirlCtrl, AccessibleValueFollowsTheKnob)
{
    CTwirlCtrl k;
    k.setText(QStringLiteral("Volume"));
    k.setValue(4);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&k);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Dial);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Volume"));
    QAccessibleValueInterface *v = a->valueInterface();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->currentValue().toInt(), 4);
    EXPECT_EQ(v->maximumValue().toInt(), 10);
    QSignalSpy spy(&k, &CTwirlCtrl::ValueChanged);
    v->setCurrentValue(7);
    EXPECT_EQ(k.Value(), 7);
    EXPECT_EQ(spy.count(), 1);
}

TEST(TwirlCtrl, PropertyPageEditsTheTextBothWays)
{
    CTwirlCtrl k;
    k.setText(QStringLiteral("Tune"));
    CTwirlPropPage page;
    EXPECT_EQ(page.windowTitle(), QStringLiteral("General"));
    auto *label = page.findChild<QLabel *>(QStringLiteral("lblText"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Text:"));
    page.setObject(&k);
    EXPECT_EQ(page.textField()->text(), QStringLiteral("Tune"));
    page.textField()->setText(QStringLiteral("Drive"));
    EXPECT_EQ(k.Text(), QStringLiteral("Tune"));
    page.apply();
    EXPECT_EQ(k.Text(), QStringLiteral("Drive"));
    k.setText(QStringLiteral("Again"));
    page.load();
    EXPECT_EQ(page.textField()->text(), QStringLiteral("Again"));
}

TEST(TwirlCtrl, AboutBoxShowsTitleIconNameVersionAndOk)
{
    CTwirlCtrl k;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        seen = true;
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("About Twirl Control"));
        auto *name = dlg->findChild<QLabel *>(QStringLiteral("lblName"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Twirl Control"));
        auto *icon = dlg->findChild<QLabel *>(QStringLiteral("lblIcon"));
        ASSERT_NE(icon, nullptr);
        EXPECT_FALSE(icon->pixmap().isNull());
        auto *version = dlg->findChild<QLabel *>(QStringLiteral("lblVersion"));
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text(), QStringLiteral("Version 1.0"));
        auto *ok = dlg->findChild<QPushButton *>(QStringLiteral("cmdOK"));
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        // Sized to its texts: none cut short, no empty stretch, and wide
        // enough for its title.
        for (QLabel *label : {name, version})
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        EXPECT_EQ(dlg->size(), dlg->sizeHint());
        EXPECT_GT(dlg->width(), dlg->fontMetrics().horizontalAdvance(dlg->windowTitle()));
        ok->click();
    });
    QMetaObject::invokeMethod(&k, "AboutBox");
    EXPECT_TRUE(seen);
}
