#include "HostFolder.h"

#include "host/HostConfig.h"
#include "host/MonitorLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(HostConfig, ReadsFeedsResolvesFilesAndReportsUnusableSections)
{
    HostFolder folder;
    folder.write("KestrelHost.ini",
                 "[host]\r\nbeaconinterval=5\r\nSymbol=/>\r\nDistanceUnit=Miles\r\nLogging=0\r\n"
                 "[Feed1]\r\nType=Replay\r\nFile=traffic.txt\r\nSpeed=60\r\nLoop=yes\r\n"
                 "[Feed2]\r\nType=kiss\r\nEnabled=0\r\nPort=8001\r\n"
                 "[Feed3]\r\nType=aprs-is\r\nHost=example.invalid\r\nPort=14580\r\nFilter=r/51/-1/50\r\n"
                 "[Feed4]\r\nType=dxcluster\r\n"
                 "[Feed5]\r\nType=replay\r\n"
                 "[Feed6]\r\nType=dxreplay\r\nFile=/abs/spots.txt\r\nSpeed=-3\r\n");
    const HostConfig config = HostConfig::read(folder.path());
    EXPECT_EQ(config.beaconIntervalMinutes, 5);
    EXPECT_EQ(config.symbol, QStringLiteral("/>"));
    EXPECT_TRUE(config.distanceInMiles);
    EXPECT_FALSE(config.logging);
    ASSERT_EQ(config.feeds.size(), 4);
    EXPECT_EQ(config.feeds[0].type, FeedSettings::Type::Replay);
    EXPECT_EQ(config.feeds[0].file, QDir(folder.path()).filePath("traffic.txt"));
    EXPECT_DOUBLE_EQ(config.feeds[0].speed, 60);
    EXPECT_TRUE(config.feeds[0].loop);
    EXPECT_TRUE(config.feeds[0].enabled);
    EXPECT_EQ(config.feeds[1].type, FeedSettings::Type::Kiss);
    EXPECT_FALSE(config.feeds[1].enabled) << "listed, for the Feeds window, but not to be started";
    EXPECT_EQ(config.feeds[2].type, FeedSettings::Type::AprsIs);
    EXPECT_EQ(config.feeds[2].port, 14580);
    EXPECT_EQ(config.feeds[2].filter, QStringLiteral("r/51/-1/50"));
    EXPECT_EQ(config.feeds[3].file, QStringLiteral("/abs/spots.txt"));
    EXPECT_DOUBLE_EQ(config.feeds[3].speed, 1.0) << "a speed below zero is ignored";
    ASSERT_EQ(config.problems.size(), 2);
    EXPECT_TRUE(config.problems[0].startsWith(QStringLiteral("Feed4")));
    EXPECT_TRUE(config.problems[1].startsWith(QStringLiteral("Feed5")));
}

TEST(HostConfig, MissingFileGivesDefaults)
{
    QTemporaryDir empty;
    const HostConfig config = HostConfig::read(empty.path());
    EXPECT_EQ(config.beaconIntervalMinutes, 30);
    EXPECT_EQ(config.symbol, QStringLiteral("/-"));
    EXPECT_TRUE(config.feeds.isEmpty());
    EXPECT_TRUE(config.logging);
}

TEST(MonitorLog, OneFilePerDayEachWithItsStartLine)
{
    QTemporaryDir dir;
    MonitorLog log(dir.filePath("Logs"));
    const QDateTime late(QDate(2026, 12, 6), QTime(23, 59, 58));
    const QDateTime early(QDate(2026, 12, 7), QTime(0, 0, 3));
    ASSERT_TRUE(log.append(late, "A>B:one"));
    ASSERT_TRUE(log.append(late.addSecs(1), "A>B:two\r\nwith a line end"));
    ASSERT_TRUE(log.append(early, "A>B:three"));

    QFile first(dir.filePath("Logs/20261206.log"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), QByteArray("2026-12-06 23:59:58 START LOCAL TIME\r\n"
                                          "2026-12-06 23:59:58 A>B:one\r\n"
                                          "2026-12-06 23:59:59 A>B:two  with a line end\r\n"));
    QFile second(dir.filePath("Logs/20261207.log"));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), QByteArray("2026-12-07 00:00:03 START LOCAL TIME\r\n"
                                           "2026-12-07 00:00:03 A>B:three\r\n"));
}

TEST(MonitorLog, UnwritableFolderIsReportedNotThrown)
{
    MonitorLog log(QStringLiteral("/proc/no-such-place/Logs"));
    EXPECT_FALSE(log.append(QDateTime::currentDateTime(), "A>B:x"));
}

} // namespace

namespace {

TEST(MonitorLog, KeepsOnlyTheLastDaysAndNothingElseIsTouched)
{
    QTemporaryDir dir;
    const QString logs = dir.filePath("Logs");
    QDir().mkpath(logs);
    for (const char *name : {"20261101.log", "20261107.log", "20261108.log", "20261206.log", "notes.log",
                             "20261301.log", "2026110.log", "20261101.log.bak"}) {
        QFile f(logs + u'/' + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    MonitorLog log(logs);
    log.setKeepDays(30);
    // On 7 December the last thirty days start on 8 November.
    ASSERT_TRUE(log.append(QDateTime(QDate(2026, 12, 7), QTime(9, 0)), "A>B:x"));
    QStringList left = QDir(logs).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left, (QStringList{"2026110.log", "20261101.log.bak", "20261108.log", "20261206.log",
                                 "20261207.log", "20261301.log", "notes.log"}));
    // The next day one more goes, checked once that day.
    ASSERT_TRUE(log.append(QDateTime(QDate(2026, 12, 8), QTime(0, 0, 1)), "A>B:y"));
    EXPECT_FALSE(QFile::exists(logs + "/20261108.log"));
    // Zero keeps everything.
    MonitorLog keepAll(logs);
    EXPECT_EQ(keepAll.prune(QDate(2030, 1, 1)), 0);
}

TEST(HostConfig, GrowthLimitsReadWithDefaults)
{
    HostFolder folder;
    const HostConfig defaults = HostConfig::read(folder.path());
    EXPECT_EQ(defaults.logDays, 30);
    EXPECT_EQ(defaults.stationHours, 24);
    EXPECT_GT(defaults.maxStations, 100000);
    folder.write("KestrelHost.ini", "[Host]\r\nLogDays=7\r\nStationHours=0\r\nMaxStations=-5\r\n");
    const HostConfig set = HostConfig::read(folder.path());
    EXPECT_EQ(set.logDays, 7);
    EXPECT_EQ(set.stationHours, 0);
    EXPECT_EQ(set.maxStations, defaults.maxStations) << "nonsense keeps the default";
}

TEST(HostConfig, OnlyASymbolTheBeaconCanCarryIsTaken)
{
    HostFolder folder;
    const struct {
        const char *text;
        const char *taken;
    } cases[] = {{"/>", "/>"}, {"\\k", "\\k"}, {"D&", "D&"}, {"P\x04", "/-"}, {"x-", "/-"}, {"/ ", "/-"}};
    for (const auto &c : cases) {
        folder.write("KestrelHost.ini", QByteArray("[Host]\r\nSymbol=") + c.text + "\r\n");
        EXPECT_EQ(HostConfig::read(folder.path()).symbol, QString::fromLatin1(c.taken)) << c.text;
    }
}

// Beacon and idle times are kept by timers, which hold at most 24.8 days.
TEST(HostConfig, TimesPastWhatATimerHoldsAreCutToIt)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=2000000000\r\n"
                                    "[Feed1]\r\nType=kiss\r\nPort=8001\r\nIdleTimeout=2000000000\r\n"
                                    "[Feed2]\r\nType=replay\r\nFile=a.txt\r\nSpeed=inf\r\n");
    const HostConfig config = HostConfig::read(folder.path());
    EXPECT_EQ(config.beaconIntervalMinutes, INT_MAX / 60000);
    ASSERT_EQ(config.feeds.size(), 2);
    EXPECT_EQ(config.feeds[0].idleTimeoutSeconds, INT_MAX / 1000);
    EXPECT_DOUBLE_EQ(config.feeds[1].speed, 1.0) << "an endless speed keeps the default";
}

} // namespace
