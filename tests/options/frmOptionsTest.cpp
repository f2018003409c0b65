// The options dialog as it is filled in: what it shows, what it accepts,
// what each field does to the others.
#include "OptionsFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include <functional>

TEST_F(OptionsTest, LoadingShowsTheConfigurationAndLeavesApplyOff)
{
    Configuration &c = config();
    c.miles = false;
    c.aprsIcons = true;
    c.latitude = 51.5f;
    c.longitude = -0.125f;
    c.secondLatitude = -33.8667f;
    c.secondLongitude = 151.2f;
    c.tempAuto = true;
    c.dxExpire = 45;
    c.timezone = QStringLiteral("Europe/Paris");
    c.debugLogging = true;
    c.lowColour = 0x00FF8000;  // blue 255, green 128, red 0
    shared().autoRecords.add({QStringLiteral("G4KDA"), true});
    shared().autoRecords.add({QStringLiteral("N0XYZ"), false});

    frmOptions &d = open();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Kestrel Options"));
    QStringList tabs;
    for (int i = 0; i < d.tabOptions->count(); ++i)
        tabs << d.tabOptions->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"General", "Weather", "Satellite", "DX Cluster", "Auto Recording", "Statistics"}));
    EXPECT_TRUE(d.optDistKm->isChecked());
    EXPECT_FALSE(d.optDistMiles->isChecked());
    EXPECT_TRUE(d.chkIcons->isChecked());
    EXPECT_TRUE(d.chkDebug->isChecked());
    EXPECT_FALSE(d.chkDisplayErrors->isChecked());
    EXPECT_EQ(d.txtUIDirectory->text(), hostFolder);
    EXPECT_EQ(d.txtLatitude->text(), QStringLiteral("51.30.00N"));
    EXPECT_EQ(d.txtLongitude->text(), QStringLiteral("000.07.50W"));
    EXPECT_EQ(d.txtSecondLat->text(), QStringLiteral("33.52.00S"));
    EXPECT_EQ(d.txtSecondLong->text(), QStringLiteral("151.12.00E"));
    EXPECT_EQ(d.txtExpire->text(), QStringLiteral("45"));
    EXPECT_EQ(d.txtTmpMax->value(), 30);
    EXPECT_FALSE(d.txtTmpMin->isEnabled()) << "an automatic scale takes its limits out of play";
    EXPECT_TRUE(d.txtHumMin->isEnabled());
    EXPECT_FALSE(d.chkAllCalls->isEnabled()) << "only with spot notification";
    EXPECT_EQ(d.cmbTimezones->currentData().toString(), QStringLiteral("Europe/Paris"));
    EXPECT_EQ(d.cmbTimezones->count(), timezones().zones().size());
    EXPECT_EQ(d.picLowColour->property("colour").value<QColor>(), QColor(0, 128, 255));
    EXPECT_EQ(rows(d.lstAutoRecord), (QStringList{"G4KDA|Alan|on", "N0XYZ|Unknown|off"}));
    // Known places up to the first entry with neither code nor name.
    ASSERT_EQ(d.cmbSecondObs->count(), 3);
    EXPECT_EQ(d.cmbSecondObs->itemText(0), QStringLiteral("LON  London"));
    EXPECT_EQ(d.cmbSecondObs->currentIndex(), -1);
    EXPECT_FALSE(d.cmdApply->isEnabled());
}

TEST_F(OptionsTest, UnknownZoneSelectsTheFirst)
{
    config().timezone = QStringLiteral("Not/AZone");
    EXPECT_EQ(open().cmbTimezones->currentIndex(), 0);
}

TEST_F(OptionsTest, EveryKindOfChangeEnablesApply)
{
    const std::pair<const char *, std::function<void(frmOptions &)>> changes[] = {
        {"text", [](frmOptions &d) { d.txtLocator->setText(QStringLiteral("IO91")); }},
        {"check", [](frmOptions &d) { d.chkPreload->click(); }},
        {"option", [](frmOptions &d) { d.optFarenhight->click(); }},
        {"spin", [](frmOptions &d) { d.txtRainMax->stepUp(); }},
        {"zone", [](frmOptions &d) { d.cmbTimezones->setCurrentIndex(d.cmbTimezones->currentIndex() + 1); }},
        {"item check", [](frmOptions &d) { d.lstAutoRecord->topLevelItem(0)->setCheckState(0, Qt::Unchecked); }},
        {"display errors", [](frmOptions &d) { d.chkDisplayErrors->click(); }},
    };
    shared().autoRecords.add({QStringLiteral("G4KDA"), true});
    for (const auto &[what, change] : changes) {
        frmOptions &d = open();
        ASSERT_FALSE(d.cmdApply->isEnabled()) << what;
        change(d);
        EXPECT_TRUE(d.cmdApply->isEnabled()) << what;
    }
}

TEST_F(OptionsTest, NumericFieldsDropEveryOtherKey)
{
    frmOptions &d = open();
    d.txtExpire->clear();
    QTest::keyClicks(d.txtExpire, QStringLiteral("1a-2.x5"));
    EXPECT_EQ(d.txtExpire->text(), QStringLiteral("125"));
    d.txtSample->clear();
    QTest::keyClicks(d.txtSample, QStringLiteral("3 0"));
    EXPECT_EQ(d.txtSample->text(), QStringLiteral("30"));
    QTest::keyClick(d.txtSample, Qt::Key_Backspace);
    EXPECT_EQ(d.txtSample->text(), QStringLiteral("3"));
    // Delete, as desktops deliver it: with the text "\x7f".
    d.txtSample->setText(QStringLiteral("45"));
    d.txtSample->setCursorPosition(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(d.txtSample, &del);
    EXPECT_EQ(d.txtSample->text(), QStringLiteral("5"));
    // The scale fields: digits only, but the arrows still step below zero.
    d.txtTmpMin->setValue(0);
    d.txtTmpMin->selectAll();
    QTest::keyClicks(d.txtTmpMin, QStringLiteral("-7"));
    EXPECT_EQ(d.txtTmpMin->value(), 7);
    d.txtTmpMin->setValue(0);
    QTest::keyClick(d.txtTmpMin, Qt::Key_Down);
    EXPECT_EQ(d.txtTmpMin->value(), -1);
    // Other fields take any key.
    QTest::keyClicks(d.txtLocator, QStringLiteral("IO91wr"));
    EXPECT_EQ(d.txtLocator->text(), QStringLiteral("IO91wr"));
}

TEST_F(OptionsTest, TheLocatorFollowsAPositionTypedButNotOneLoaded)
{
    frmOptions &d = open();
    d.txtLocator->setText(QStringLiteral("JO01"));
    const QString loaded = d.txtLocator->text();
    d.txtLatitude->setText(QStringLiteral("33.52.20S"));
    EXPECT_EQ(d.txtLocator->text(), loaded) << "set by the program, not typed";
    d.txtLongitude->clear();
    QTest::keyClicks(d.txtLongitude, QStringLiteral("151.12.60E"));
    EXPECT_EQ(d.txtLocator->text(), QStringLiteral("QF56od")) << "Sydney";
    QTest::keyClicks(d.txtLongitude, QStringLiteral("X"));
    EXPECT_EQ(d.txtLocator->text(), QStringLiteral("QF56od")) << "an unreadable position leaves it";
}

TEST_F(OptionsTest, AutomaticBoxesSwitchTheirLimitsOffAndOn)
{
    frmOptions &d = open();
    const std::tuple<QCheckBox *, QSpinBox *, QSpinBox *> scales[] = {
        {d.chkTempAuto, d.txtTmpMin, d.txtTmpMax},   {d.chkHumAuto, d.txtHumMin, d.txtHumMax},
        {d.chkWindAuto, d.txtWindMin, d.txtWindMax}, {d.chkPressAuto, d.txtPressMin, d.txtPressMax},
        {d.chkRainAuto, d.txtRainMin, d.txtRainMax},
    };
    for (const auto &[box, low, high] : scales) {
        box->click();
        EXPECT_FALSE(low->isEnabled());
        EXPECT_FALSE(high->isEnabled());
        box->click();
        EXPECT_TRUE(low->isEnabled());
        EXPECT_TRUE(high->isEnabled());
    }
    d.chkAllowSpotNotification->click();
    EXPECT_TRUE(d.chkAllCalls->isEnabled());
}

TEST_F(OptionsTest, SwitchingTheTemperatureUnitConvertsItsScale)
{
    frmOptions &d = open();
    d.txtTmpMin->setValue(-5);
    auto unit = [&d](const char *name) { return d.findChild<QLabel *>(QLatin1String(name))->text(); };
    EXPECT_EQ(unit("txtTmpMinUnit"), "\u00b0C");
    d.optFarenhight->click();
    EXPECT_EQ(d.txtTmpMin->value(), 23);
    EXPECT_EQ(d.txtTmpMax->value(), 86);
    EXPECT_EQ(unit("txtTmpMinUnit"), "\u00b0F");
    EXPECT_EQ(unit("txtTmpMaxUnit"), "\u00b0F");
    d.optCentigrade->click();
    EXPECT_EQ(d.txtTmpMin->value(), -5);
    EXPECT_EQ(d.txtTmpMax->value(), 30);
    EXPECT_EQ(unit("txtTmpMaxUnit"), "\u00b0C");
    EXPECT_EQ(unit("txtWindMaxUnit"), "mph");
    EXPECT_EQ(unit("txtPressMinUnit"), "mb");
}

// Distances shown already follow a new unit at Apply.
TEST_F(OptionsTest, ANewDistanceUnitReachesTheWindowsThatShowDistances)
{
    struct DxUnits : QWidget, DxMonitorWindow
    {
        void AddDxSpot(const QString &, const QString &, const QString &, qint16, qint16, qint16, qint16) override {}
        void PlotDxOnMap() override {}
        void SaveDxList() override {}
        void unitsChanged() override { ++changes; }
        int changes = 0;
    } dx;
    WindowRegistry::instance().add(&dx, WindowTag::DxMonitor);
    config().miles = true;
    frmOptions &d = open();
    d.chkPHGRNG->click();
    ASSERT_TRUE(d.Apply());
    EXPECT_EQ(dx.changes, 0) << "the unit stayed";
    d.optDistKm->click();
    ASSERT_TRUE(d.Apply());
    EXPECT_FALSE(config().miles);
    EXPECT_EQ(dx.changes, 1);
}

TEST_F(OptionsTest, ExpiryOutsideItsRangeBecomesZeroOnLeaving)
{
    frmOptions &d = open();
    d.tabOptions->setCurrentIndex(frmOptions::DxCluster);
    const std::pair<const char *, const char *> cases[] = {{"150", "0"}, {"", "0"}, {"120", "120"}, {"0", "0"},
                                                           {"7", "7"}};
    for (const auto &[typed, left] : cases) {
        d.txtExpire->setFocus();
        d.txtExpire->setText(QLatin1String(typed));
        d.chkPlotOnMap->setFocus();
        EXPECT_EQ(d.txtExpire->text(), QLatin1String(left)) << typed;
    }
    // Applied without leaving the field, the same rule holds.
    d.txtExpire->setText(QStringLiteral("150"));
    ASSERT_TRUE(d.Apply());
    EXPECT_EQ(config().dxExpire, 0);
}

TEST_F(OptionsTest, EachBadPositionStopsApplyWithItsOwnMessage)
{
    const struct { QLineEdit *frmOptions::*field; const char *message; } cases[] = {
        {&frmOptions::txtLongitude, "The Default Observer Longitude you have entered is invalid"},
        {&frmOptions::txtLatitude, "The Default Observer Latitude you have entered is invalid"},
        {&frmOptions::txtSecondLong, "The second Observer Longitude you have entered is invalid"},
        {&frmOptions::txtSecondLat, "The second Observer Latitude you have entered is invalid"},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        frmOptions &d = open();
        d.txtSecondLong->setText(QStringLiteral("0.7.30W"));  // valid, not yet canonical
        d.optDistKm->click();
        (d.*c.field)->setText(QStringLiteral("91.00.00X"));
        EXPECT_FALSE(d.Apply());
        ASSERT_EQ(prompts.shown.size(), 1) << c.message;
        EXPECT_EQ(prompts.shown[0].text, QLatin1String(c.message));
        EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Error"));
        EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Critical);
        EXPECT_TRUE(d.validationFailed());
        EXPECT_TRUE(d.cmdApply->isEnabled());
        EXPECT_TRUE(config().miles) << "nothing stored";
        EXPECT_EQ(d.tabOptions->currentIndex(), frmOptions::Satellite) << "the field is shown";
        // Only the fields checked before the bad one were rewritten.
        if (c.field != &frmOptions::txtSecondLong) {
            const bool secondLongChecked = c.field == &frmOptions::txtSecondLat;
            EXPECT_EQ(d.txtSecondLong->text(),
                      secondLongChecked ? QStringLiteral("000.07.30W") : QStringLiteral("0.7.30W"));
        }
        EXPECT_EQ((d.*c.field)->text(), QStringLiteral("91.00.00X")) << "the bad field stays as typed";
    }
    // An empty field is invalid too.
    prompts.shown.clear();
    frmOptions &d = open();
    d.txtLatitude->clear();
    EXPECT_FALSE(d.Apply());
    EXPECT_EQ(prompts.texts(), QStringList{"The Default Observer Latitude you have entered is invalid"});
}

TEST_F(OptionsTest, AutoRecordListAddsChecksSortsAndDeletes)
{
    shared().autoRecords.add({QStringLiteral("M0KDB"), true});
    frmOptions &d = open();
    auto add = [&d](const char *typed) {
        d.txtCallsign->setText(QLatin1String(typed));
        d.cmdAdd->click();
    };
    add("q1xyz");
    EXPECT_EQ(rows(d.lstAutoRecord), (QStringList{"M0KDB|Unknown|on", "Q1XYZ|Quentin|on"}));
    EXPECT_TRUE(d.txtCallsign->text().isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());

    add("q1xyz");
    add("");
    add("Q1");
    for (const auto &shown : prompts.shown) {
        EXPECT_EQ(shown.title, QStringLiteral("Callsign Error"));
        EXPECT_EQ(shown.icon, Prompts::Icon::Exclamation);
    }
    EXPECT_EQ(prompts.texts(), (QStringList{"This callsign already exists in the list.", "Please enter a valid callsign.",
                                            "Please enter a valid callsign."}));
    EXPECT_EQ(d.lstAutoRecord->topLevelItemCount(), 2);

    // Enter in the field adds and leaves the dialog open.
    d.txtCallsign->setText(QStringLiteral("g4kda-9 "));
    QTest::keyClick(d.txtCallsign, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.lstAutoRecord->topLevelItem(2)->text(0), QStringLiteral("G4KDA-9"));

    // The header sorts, turning the order over on each click.
    QHeaderView *header = d.lstAutoRecord->header();
    emit header->sectionClicked(0);
    EXPECT_EQ(d.lstAutoRecord->topLevelItem(0)->text(0), QStringLiteral("G4KDA-9"));
    emit header->sectionClicked(0);
    EXPECT_EQ(d.lstAutoRecord->topLevelItem(0)->text(0), QStringLiteral("Q1XYZ"));
    emit header->sectionClicked(1);
    EXPECT_EQ(d.lstAutoRecord->topLevelItem(0)->text(1), QStringLiteral("Quentin")) << "by name, ascending";

    d.lstAutoRecord->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
    const QString unticked = d.lstAutoRecord->topLevelItem(2)->text(0);
    d.lstAutoRecord->setCurrentItem(d.lstAutoRecord->topLevelItem(0));
    d.cmdDelete->click();
    ASSERT_EQ(d.lstAutoRecord->topLevelItemCount(), 2);

    ASSERT_TRUE(d.Apply());
    const QList<cAutoRecord> &entries = shared().autoRecords.entries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].Callsign, d.lstAutoRecord->topLevelItem(0)->text(0)) << "row order";
    EXPECT_EQ(entries[1].Callsign, unticked);
    EXPECT_FALSE(entries[1].Recording);
}

TEST_F(OptionsTest, AutoRecordListStopsAtTheHundredTheStoreKeeps)
{
    for (int i = 0; i < 100; ++i)
        shared().autoRecords.add({QStringLiteral("Q%1XYZ").arg(i % 10) + QChar(u'A' + i / 10), true});
    frmOptions &d = open();
    d.txtCallsign->setText(QStringLiteral("G4KDA"));
    d.cmdAdd->click();
    EXPECT_EQ(d.lstAutoRecord->topLevelItemCount(), 100);
    EXPECT_EQ(prompts.texts(), QStringList{"The auto-record list is full: it holds at most 100 callsigns."});
}

TEST_F(OptionsTest, SecondObserverPickFillsPositionNameAndHeight)
{
    frmOptions &d = open();
    d.cmbSecondObs->setCurrentIndex(2);
    emit d.cmbSecondObs->activated(2);  // Oxford, 51.75 N, 1.5 W (west positive in the file)
    EXPECT_EQ(d.txtSecondLat->text(), QStringLiteral("51.45.00N"));
    EXPECT_EQ(d.txtSecondLong->text(), QStringLiteral("001.30.00W"));
    EXPECT_EQ(d.txtSecondName->text(), QStringLiteral("Oxford"));
    EXPECT_EQ(d.txtSecondHeight->text(), QStringLiteral("0"));
    EXPECT_TRUE(d.cmdApply->isEnabled());
}
