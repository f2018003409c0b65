// The options dialog closing: Apply, OK and Cancel, what they store and
// whom they tell, and the buttons that open a dialog of their own.
#include "OptionsFixture.h"

#include "options/ColourValue.h"

#include <QApplication>
#include <QTest>

#include <functional>

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
