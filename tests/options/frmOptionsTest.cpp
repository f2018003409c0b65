#include "OptionsFixture.h"

#include "options/ColourValue.h"
#include "options/HostFolderFiles.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include <functional>
#include <unistd.h>

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

TEST_F(OptionsTest, ApplyStoresEveryTabAndHandsOnTheObservers)
{
    SatellitesStandIn satellites;
    WindowRegistry::instance().add(&satellites);
    frmOptions &d = open();
    d.optDistKm->click();
    d.chkAutoSave->click();
    d.chkPreload->click();
    d.chkPHGRNG->click();
    d.chkDebug->click();
    d.txtLocator->setText(QStringLiteral("IO91wr"));
    d.txtSatUpdate->setText(QStringLiteral("0"));
    d.txtSatLocation->setText(QStringLiteral("Home"));
    d.txtLatitude->setText(QStringLiteral("51.30.50N"));
    d.txtLongitude->setText(QStringLiteral("000.07.30W"));
    d.txtHeight->setText(QStringLiteral("120.5"));
    d.cmbTimezones->setCurrentIndex(d.cmbTimezones->findData(QStringLiteral("America/New_York")));
    d.chkDaylightSaving->setChecked(true);
    d.chkAutoAdjust->setChecked(false);
    d.chkSatsAsPics->click();
    d.optFarenhight->click();
    d.txtTmpMin->setValue(-10);
    d.chkRainAuto->click();
    d.txtSample->setText(QStringLiteral("15"));
    d.txtLow->setText(QStringLiteral("5"));
    d.txtHign->setText(QStringLiteral("0"));
    d.txtSecondName->setText(QStringLiteral("Club"));
    d.txtSecondLat->setText(QStringLiteral("TQ3080"));
    d.txtSecondHeight->setText(QStringLiteral("35"));
    d.chkEnableSecond->click();
    d.chkAllowSpotNotification->click();
    d.chkAllCalls->click();

    ASSERT_TRUE(d.Apply());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.texts().join(u'\n').toStdString();
    EXPECT_FALSE(d.cmdApply->isEnabled());
    const Configuration &c = config();
    EXPECT_FALSE(c.miles);
    EXPECT_TRUE(c.autoSave);
    EXPECT_FALSE(c.preload);
    EXPECT_TRUE(c.plotPhg);
    EXPECT_TRUE(c.debugLogging);
    EXPECT_EQ(c.locator, QStringLiteral("IO91wr"));
    EXPECT_EQ(c.satelliteInterval, 1) << "an interval of 0 is stored as 1";
    EXPECT_EQ(c.observer, QStringLiteral("Home"));
    EXPECT_FLOAT_EQ(c.latitude, 3090.5f / 60);
    EXPECT_FLOAT_EQ(c.longitude, -7.3f / 60);
    EXPECT_FLOAT_EQ(c.height, 120.5f);
    EXPECT_EQ(c.timezone, QStringLiteral("America/New_York"));
    EXPECT_EQ(c.timezoneAdjust, 5);
    EXPECT_EQ(timezones().current().standardName, QStringLiteral("America/New_York"));
    EXPECT_TRUE(c.daylightSaving);
    EXPECT_FALSE(c.winAdjust);
    EXPECT_FALSE(c.satelliteIcons);
    EXPECT_FALSE(c.centigrade);
    EXPECT_EQ(c.tempMin, -10);
    EXPECT_TRUE(c.rainAuto);
    EXPECT_EQ(c.statisticsSample, 15);
    EXPECT_EQ(c.lowCount, 5) << "counts are read as leading numbers";
    EXPECT_EQ(c.highCount, 0);
    EXPECT_TRUE(c.dxNotify);
    EXPECT_TRUE(c.dxAllCalls);
    // The grid reference filled both second-observer fields.
    EXPECT_EQ(d.txtSecondLat->text(), QStringLiteral("51.30.47N"));
    EXPECT_EQ(d.txtSecondLong->text(), QStringLiteral("000.07.16W"));
    EXPECT_NEAR(c.secondLatitude, 51 + 30.47 / 60, 1e-5);
    EXPECT_NEAR(c.secondLongitude, -7.16 / 60, 1e-5);
    EXPECT_EQ(c.secondHeight, 35);
    EXPECT_EQ(c.secondLocation, QStringLiteral("Club"));
    EXPECT_TRUE(c.secondUsed);

    const QStringList calls = satellites.orbiterFake.calls;
    // In the order of the loading sequence, which shares the code: the stored
    // flag, then the zone's state on the fixed 1 July.
    const QStringList expected = {
        "setObserverName(Home)", QStringLiteral("setObserverLatitude(%1)").arg(double(3090.5f / 60)),
        QStringLiteral("setObserverLongitude(%1)").arg(double(-7.3f / 60)), "setObserverHeight(120.5)",
        "setTimeZoneAdjust(5)", "setTimeZoneName(America/New_York)",
        "setDaylight(1)", "setDaylightOffset(-1)", "setDaylight(1)", "setDaylightOffset(-1)",
        QStringLiteral("setSecondLatitude(%1)").arg(double(c.secondLatitude)),
        QStringLiteral("setSecondLongitude(%1)").arg(double(c.secondLongitude)), "setSecondHeight(35)",
        "setSecondName(Club)", "setSecondInUse(1)", "setIcons(0)", "applySettings"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(host.calls, QStringList{"refreshMap"});
}

TEST_F(OptionsTest, StrictNumbersStopApplyNamingTheFieldBeforeAnythingIsStored)
{
    const std::pair<std::function<void(frmOptions &)>, const char *> cases[] = {
        {[](frmOptions &d) { d.txtHeight->clear(); }, "The Default Observer Height you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtSecondHeight->setText(QStringLiteral("80m")); },
         "The second Observer Height you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtSample->clear(); },
         "The statistics Sample Period you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtPressMax->findChild<QLineEdit *>()->clear(); },
         "The Pressure Scale maximum you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtSecondHeight->setText(QStringLiteral("40000")); },
         "The second Observer Height you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtMed->setText(QStringLiteral("99999")); },
         "The Med Activity count you have entered is not a valid number"},
        // Checked as the latitude is: letters are refused, not read as 0.
        {[](frmOptions &d) { d.txtLow->setText(QStringLiteral("5 packets")); },
         "The Low Activity count you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtHign->clear(); }, "The High Activity count you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtSatUpdate->setText(QStringLiteral("1O")); },
         "The satellite Update Interval you have entered is not a valid number"},
        {[](frmOptions &d) { d.txtLocator->setText(QStringLiteral("IO9")); },
         "The locator you have entered is not a Maidenhead locator (such as IO91wm)"},
    };
    for (const auto &[change, message] : cases) {
        prompts.shown.clear();
        frmOptions &d = open();
        d.optDistKm->click();
        change(d);
        EXPECT_FALSE(d.Apply()) << message;
        EXPECT_EQ(prompts.texts(), QStringList{QLatin1String(message)});
        EXPECT_TRUE(config().miles) << message;
        EXPECT_TRUE(d.validationFailed());
    }
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

TEST_F(OptionsTest, OkWithAWrongFolderAppliesNothingAndStaysOpen)
{
    const QString empty = dirs.data() + QStringLiteral("/empty");
    QDir().mkpath(empty);
    frmOptions &d = open();
    d.optDistKm->click();
    d.txtUIDirectory->setText(empty);
    d.cmdOK->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(prompts.texts(), QStringList{"Please select the directory containing UIView32.exe"});
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Error"));
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Exclamation);
    EXPECT_TRUE(config().miles);
    EXPECT_EQ(config().hostFolder, hostFolder);

    // Apply alone checks a changed folder the same way.
    EXPECT_FALSE(d.Apply());
    EXPECT_EQ(config().hostFolder, hostFolder);

    d.txtUIDirectory->setText(hostFolder + u'/');
    d.cmdOK->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(config().miles);
}

TEST_F(OptionsTest, OkWithABadPositionStaysOpenAndOkWithoutChangesJustCloses)
{
    frmOptions &d = open();
    d.txtLatitude->setText(QStringLiteral("95N"));
    d.cmdOK->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.validationFailed());

    frmOptions &fresh = open();
    fresh.cmdOK->click();
    EXPECT_FALSE(fresh.isVisible());
    EXPECT_TRUE(host.calls.isEmpty()) << "Apply did not run";
}

TEST_F(OptionsTest, CancelCopiesNothingBack)
{
    shared().autoRecords.add({QStringLiteral("G4KDA"), true});
    frmOptions &d = open();
    d.optDistKm->click();
    d.lstAutoRecord->clear();
    d.cmbTimezones->setCurrentIndex(d.cmbTimezones->findData(QStringLiteral("Asia/Tokyo")));
    d.cmdCancel->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(config().miles);
    EXPECT_EQ(shared().autoRecords.count(), 1);
    EXPECT_EQ(timezones().current().standardName, QStringLiteral("Europe/London")) << "the zone changes on Apply";
}

TEST_F(OptionsTest, FolderButtonsCheckTheHostFolderAndKeepACancelledCaptureFolder)
{
    const QString empty = dirs.data() + QStringLiteral("/empty");
    QDir().mkpath(empty);
    config().hostFolder.clear();
    config().captureFolder = QStringLiteral("/captures");
    frmOptions &d = open();
    prompts.fileAnswers << empty << hostFolder + u'/' << QString();
    d.cmdUIPath->click();
    EXPECT_EQ(prompts.texts(), QStringList{"Please select the directory containing UIView32.exe"});
    EXPECT_TRUE(d.txtUIDirectory->text().isEmpty());
    d.cmdUIPath->click();
    EXPECT_EQ(d.txtUIDirectory->text(), hostFolder);
    d.cdmCapturepath->click();
    EXPECT_EQ(d.txtCapturePath->text(), QStringLiteral("/captures"));
    EXPECT_EQ(prompts.fileTitles, (QStringList{"Select UIView32 Folder", "Select UIView32 Folder", "Select Capture Folder"}));
}

TEST_F(OptionsTest, ColourButtonsOpenOnTheSwatchAndApplyStoresThePick)
{
    frmOptions &d = open();
    prompts.colourAnswers << QColor(10, 20, 30) << QColor();
    d.cmdColour3->click();
    EXPECT_EQ(prompts.colourStarts.value(0), QColor(255, 0, 0)) << "the stored 255 is red";
    d.cmdColour1->click();  // cancelled
    ASSERT_TRUE(d.Apply());
    EXPECT_EQ(config().highColour, valueFromColour(QColor(10, 20, 30)));
    EXPECT_EQ(config().highColour, 10 | 20 << 8 | 30 << 16);
    EXPECT_EQ(config().lowColour, 65280);
}

TEST_F(OptionsTest, ApplyReachesTheDxAndWeatherWindows)
{
    DxStandIn dx;
    dx.box("chkPlot")->setChecked(true);
    WindowRegistry::instance().add(&dx, WindowTag::DxMonitor);
    WeatherStandIn weather[2];
    WindowRegistry::instance().add(&weather[0], WindowTag::WxStation);
    WindowRegistry::instance().add(&weather[1], WindowTag::WxStation);
    frmOptions &d = open();
    d.chkPlotOnMap->click();        // off
    d.chkHighlightNew->click();     // off: already off in the window
    d.txtExpire->setText(QStringLiteral("30"));
    ASSERT_TRUE(d.Apply());
    EXPECT_FALSE(dx.box("chkPlot")->isChecked());
    EXPECT_EQ(dx.clicks, QStringList{"chkPlot"}) << "only a box that differs is clicked";
    EXPECT_EQ(dx.expire->text(), QStringLiteral("30"));
    EXPECT_EQ(weather[0].rangeUpdates, 1);
    EXPECT_EQ(weather[1].rangeUpdates, 1);
}

TEST_F(OptionsTest, AutomaticDaylightFollowsThePickedZone)
{
    frmOptions &d = open();
    d.chkAutoAdjust->setChecked(true);
    d.chkDaylightSaving->setChecked(false);
    const int london = d.cmbTimezones->findData(QStringLiteral("Europe/London"));
    d.cmbTimezones->setCurrentIndex(london);
    emit d.cmbTimezones->activated(london);
    EXPECT_TRUE(d.chkDaylightSaving->isChecked()) << "1 July is summer time in London";
    const int tokyo = d.cmbTimezones->findData(QStringLiteral("Asia/Tokyo"));
    d.cmbTimezones->setCurrentIndex(tokyo);
    emit d.cmbTimezones->activated(tokyo);
    EXPECT_FALSE(d.chkDaylightSaving->isChecked());
}

TEST(HostFolderFiles, TheEmbeddedHostsFolderIsKnownByItsOwnFiles)
{
    TempDirs dirs;
    const QString folder = dirs.data();
    auto touch = [&](const char *name) {
        QFile file(folder + u'/' + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    touch("KestrelHost.ini");
    EXPECT_FALSE(CheckUIPath(folder)) << "no home station there";
    touch("uiview32.ini");
    EXPECT_TRUE(CheckUIPath(folder)) << "no program file, but the host's own files";
}

TEST(HostFolderFiles, ProgramFileIsFoundWhateverItsCase)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    const QString folder = dirs.data();
    EXPECT_FALSE(CheckUIPath(folder));
    EXPECT_FALSE(CheckUIPath(QString()));
    QFile file(folder + QStringLiteral("/UIVIEW32.EXE"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(CheckUIPath(folder));
    EXPECT_TRUE(CheckUIPath(folder + u'/'));
    EXPECT_TRUE(prompts.shown.isEmpty());
    if (geteuid() != 0) {
        // A file that exists but cannot be opened is reported and still counts.
        file.setPermissions({});
        EXPECT_TRUE(CheckUIPath(folder));
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Error in ERROR_CheckUIPath : ")));
    }
}
