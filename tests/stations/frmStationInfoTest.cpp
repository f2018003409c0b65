#include "StationListFixture.h"

#include "stations/frmStationInfo.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

class StationInfoTest : public StationListTest
{
protected:
    void SetUp() override
    {
        StationListTest::SetUp();
        config().hostFolder = dirs.data();
        QFile ini(dirs.data() + QStringLiteral("/STATIONS.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[N0CALL]\r\nNAME=Fred Bloggs\r\n");
    }
};

TEST_F(StationInfoTest, CaptionNameAndEveryBox)
{
    HostStationRecord &r = known(QStringLiteral("N0CALL"), 2174.79f, -5749.68f);
    r.heardDirect = true;
    r.course = 270;
    shared().currentStation = QStringLiteral("N0CALL");
    frmStationInfo info;
    EXPECT_EQ(info.windowTitle(), "Station Information for N0CALL [Fred Bloggs]");
    EXPECT_TRUE(info.chkDirect->isChecked());
    EXPECT_EQ(info.chkDirect->text(), "Heard Direct");
    EXPECT_EQ(info.txtLatitude->text(), "36.14.79N");
    EXPECT_EQ(info.txtLongitude->text(), "095.49.68W");
    EXPECT_EQ(info.txtCourse->text(), "270");
    QStringList frames;
    for (QGroupBox *box : info.findChildren<QGroupBox *>())
        frames << box->title();
    EXPECT_EQ(frames, (QStringList{" Position", " Moibile"}));
    EXPECT_FALSE(info.picSymbol->pixmap().isNull());
}

TEST_F(StationInfoTest, HeightAndSpeedInTheOptionsUnitWithTheUnitBeside)
{
    HostStationRecord &r = known(QStringLiteral("N0CALL"));
    r.course = 90;
    r.height = 120;    // feet
    r.speed = 42.5f;   // knots
    shared().currentStation = QStringLiteral("N0CALL");
    const struct
    {
        bool miles;
        const char *height, *heightUnit, *speed, *speedUnit;
    } cases[] = {{true, "120", "ft", "48.9", "mph"}, {false, "37", "m", "78.7", "km/h"}};
    for (const auto &c : cases) {
        config().miles = c.miles;
        frmStationInfo info;
        EXPECT_EQ(info.txtHeight->text(), c.height);
        EXPECT_EQ(info.txtSpeed->text(), c.speed);
        EXPECT_EQ(info.findChild<QLabel *>("lblHeightUnit")->text(), c.heightUnit);
        EXPECT_EQ(info.findChild<QLabel *>("lblSpeedUnit")->text(), c.speedUnit);
        EXPECT_EQ(info.findChild<QLabel *>("lblCourseUnit")->text(), "degrees");
    }
}

TEST_F(StationInfoTest, NoNameNoBracketsAndValuesNotSentShowEmpty)
{
    // A fixed station: no course, height or speed, rather than -32768, 0 ft and 0 mph.
    known(QStringLiteral("G1ABC"));
    shared().currentStation = QStringLiteral("G1ABC");
    frmStationInfo info;
    EXPECT_EQ(info.windowTitle(), "Station Information for G1ABC");
    EXPECT_TRUE(info.txtCourse->text().isEmpty());
    EXPECT_TRUE(info.txtHeight->text().isEmpty());
    EXPECT_TRUE(info.txtSpeed->text().isEmpty());
}

TEST_F(StationInfoTest, ABalloonsHeightIsShownWhole)
{
    HostStationRecord &r = known(QStringLiteral("N0CALL"));
    r.height = 60054;  // feet, past what 16 bits hold
    r.speed = 0;       // sent as 0: a reading, shown
    shared().currentStation = QStringLiteral("N0CALL");
    for (const auto &[miles, height] : {std::pair{true, "60054"}, std::pair{false, "18304"}}) {
        config().miles = miles;
        frmStationInfo info;
        EXPECT_EQ(info.txtHeight->text(), height);
        EXPECT_EQ(info.txtSpeed->text(), "0");
    }
}

TEST_F(StationInfoTest, TheMicEMessageTypeIsShown)
{
    for (const char *message : {"En Route", "Emergency", ""}) {
        known(QStringLiteral("N0CALL")).message = QString::fromLatin1(message);
        shared().currentStation = QStringLiteral("N0CALL");
        frmStationInfo info;
        EXPECT_EQ(info.txtMessage->text(), message);
    }
}

TEST_F(StationInfoTest, UnknownStationFillsNothing)
{
    shared().currentStation = QStringLiteral("NOBODY");
    frmStationInfo info;
    EXPECT_EQ(info.windowTitle(), "Station Information");
    EXPECT_TRUE(info.txtLatitude->text().isEmpty());
}

TEST_F(StationInfoTest, TelemetryShowsEveryChannelWithNameValueAndUnit)
{
    known(QStringLiteral("N0CALL"), 2174.79f, -5749.68f);
    HostTelemetry t;
    t.project = QStringLiteral("Weather balloon");
    t.sequence = QStringLiteral("005");
    t.channels = {{"Battery", "1034.8", "v/100"}, {"Chute", "OPEN", ""}};
    host.telemetry.insert(QStringLiteral("N0CALL"), t);
    shared().currentStation = QStringLiteral("N0CALL");
    frmStationInfo info;
    ASSERT_NE(info.lstTelemetry, nullptr);
    ASSERT_EQ(info.lstTelemetry->topLevelItemCount(), 2);
    const QTreeWidgetItem *battery = info.lstTelemetry->topLevelItem(0);
    EXPECT_EQ(battery->text(0), "Battery");
    EXPECT_EQ(battery->text(1), "1034.8");
    EXPECT_EQ(battery->text(2), "v/100");
    EXPECT_EQ(info.lstTelemetry->topLevelItem(1)->text(1), "OPEN");
    auto *about = info.findChild<QLabel *>(QStringLiteral("lblTelemetry"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->text().contains("Weather balloon"));
    EXPECT_TRUE(about->text().contains("005"));
    // The window grows to show every channel without scrolling.
    EXPECT_GE(info.lstTelemetry->height(), info.lstTelemetry->sizeHintForRow(0) * 3);

    // A station without telemetry gets no telemetry box at all.
    known(QStringLiteral("G1ABC"));
    shared().currentStation = QStringLiteral("G1ABC");
    frmStationInfo plain;
    EXPECT_EQ(plain.lstTelemetry, nullptr);
    EXPECT_EQ(plain.findChild<QGroupBox *>(QStringLiteral("fraTelemetry")), nullptr);
}
