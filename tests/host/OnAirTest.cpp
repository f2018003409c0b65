// When the station beacons and what it says, on a fake clock through a feed
// that records what it is given.
#include "host/OnAir.h"
#include "host/feeds/Feed.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RecordingFeed : public Feed
{
public:
    explicit RecordingFeed(bool transmit)
        : Feed(settingsFor(transmit))
    {
    }
    void start() override { becameReady(); }
    void stop() override {}
    bool canTransmit() const override { return true; }
    bool canSendNow() const override { return up; }

    bool up = true;
    QStringList written;

protected:
    QString describe() const override { return QStringLiteral("recording"); }
    bool writeFrame(const QString &line) override
    {
        written.append(line);
        return true;
    }

private:
    static FeedSettings settingsFor(bool transmit)
    {
        FeedSettings s;
        s.type = FeedSettings::Type::Kiss;
        s.transmit = transmit;
        return s;
    }
};

class OnAirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        air.setClock([this] { return now; });
        air.setTickMs(5);
        air.addFeed(&feed);
        air.addFeed(&listener);
        OnAir::Station station;
        station.callsign = QStringLiteral("G0HOM");
        station.latitude = 51.5;
        station.longitude = -0.125;
        station.symbol = QStringLiteral("/>");
        station.intervalMinutes = 10;
        air.setStation(station);
        air.start();
    }
    // Moves the clock on and lets the beacon's timer look.
    int after(qint64 ms)
    {
        const int before = int(feed.written.size());
        now += ms;
        QTest::qWait(20);
        return int(feed.written.size()) - before;
    }

    QTemporaryDir dir;
    qint64 now = 1'700'000'000'000;
    OnAir air{dir.filePath("Messages.txt")};
    RecordingFeed feed{true};
    RecordingFeed listener{false};
};

TEST_F(OnAirTest, AFixedStationBeaconsAFewSecondsAfterStartThenAtItsInterval)
{
    EXPECT_EQ(after(OnAir::FirstBeaconMs - 100), 0);
    ASSERT_EQ(after(100), 1);
    EXPECT_EQ(feed.written.last(), "G0HOM>APZKES,WIDE1-1,WIDE2-1:=5130.00N/00007.50W>");
    EXPECT_TRUE(listener.written.isEmpty()) << "a feed that does not transmit sends nothing";
    EXPECT_EQ(after(10 * 60000 - 1000), 0);
    EXPECT_EQ(after(1000), 1);
    // A feed coming up carries the station soon, unless a beacon just went.
    feed.start();
    EXPECT_EQ(after(OnAir::FirstBeaconMs), 0);
    now += OnAir::MinIntervalMs;
    feed.start();
    EXPECT_EQ(after(OnAir::FirstBeaconMs), 1);
}

TEST_F(OnAirTest, AMovingStationFollowsTheSpeedAndTurnRule)
{
    air.setGpsFix(51.6, -0.2, 90, 100, now);
    ASSERT_EQ(after(OnAir::FirstBeaconMs), 1);
    EXPECT_EQ(feed.written.last(), "G0HOM>APZKES,WIDE1-1,WIDE2-1:=5136.00N/00012.00W>090/054");
    air.setGpsFix(51.6, -0.19, 150, 100, now + 20000);
    EXPECT_EQ(after(20000), 1) << "a turn of 60 degrees goes at once";
    air.setGpsFix(51.6, -0.18, 250, 100, now + 5000);
    EXPECT_EQ(after(5000), 0) << "but never within 15 s";
    EXPECT_EQ(after(10000), 1);
    EXPECT_EQ(after(60000), 0);
    EXPECT_EQ(after(30000), 1) << "at speed, every ninety seconds";
    // A fix gone stale leaves the station where it was set, at the interval.
    EXPECT_EQ(after(OnAir::FixFreshMs), 0);
    EXPECT_EQ(after(10 * 60000), 1);
    EXPECT_TRUE(feed.written.last().endsWith(":=5130.00N/00007.50W>"));
}

TEST_F(OnAirTest, NothingIsReportedAsSentThatDidNotGo)
{
    QSignalSpy sent(&air, &OnAir::beaconSent);
    feed.up = false;
    EXPECT_FALSE(air.beaconNow());
    EXPECT_EQ(air.beaconStatus(), "Beacon: not sent (no transmitting feed is connected)");
    feed.up = true;
    EXPECT_TRUE(air.beaconNow());
    EXPECT_EQ(sent.count(), 1);
    EXPECT_EQ(sent[0][0].toString(), "G0HOM>APZKES:=5130.00N/00007.50W>");
    EXPECT_TRUE(air.beaconStatus().startsWith("Beacon: sent at ")) << air.beaconStatus().toStdString();
    OnAir::Station none = air.station();
    none.callsign.clear();
    air.setStation(none);
    EXPECT_FALSE(air.beaconNow());
    EXPECT_EQ(feed.written.size(), 1) << "never without a callsign";
}

} // namespace
