// Writing the host's settings back, and the checks of the setup windows' fields.
#include "HostFolder.h"

#include "host/HostConfig.h"
#include "host/feeds/FeedProblems.h"
#include "host/setup/FeedChecks.h"
#include "host/setup/StationPosition.h"
#include "options/PositionFormats.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kHandWritten = "; my settings\r\n"
                                "[Host]\r\nBeaconInterval=5\r\nSymbol=/>\r\nMyOwnKey=kept\r\n"
                                "[Map]\r\nTileMaxZoom=17\r\n"
                                "[Feed1]\r\nType=kiss\r\nPort=8001\r\nEnabled=0\r\n"
                                "[Feed2]\r\nType=aprs-is\r\nHost=rotate.aprs2.net\r\nPort=14580\r\nFilter=m/50\r\n"
                                "[Feed3]\r\nType=bogus\r\n";

TEST(HostConfigWrite, NothingChangedWritesTheSameBytes)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", kHandWritten);
    HostConfig config = HostConfig::read(folder.path());
    ASSERT_EQ(config.feeds.size(), 2) << "a disabled feed is still listed";
    EXPECT_FALSE(config.feeds[0].enabled);
    EXPECT_TRUE(config.feeds[1].enabled);
    ASSERT_TRUE(config.write(folder.path()));
    EXPECT_EQ(readAll(folder.path() + "/KestrelHost.ini"), kHandWritten);
}

TEST(HostConfigWrite, EveryTypeReadsBackAsWrittenAndTheRestOfTheFileStays)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", kHandWritten);
    HostConfig config = HostConfig::read(folder.path());
    config.beaconComment = QStringLiteral("Kestrel on Linux");
    config.feeds.removeAt(0);
    FeedSettings replay;
    replay.type = FeedSettings::Type::Replay;
    replay.file = folder.path() + "/DemoTraffic.txt";
    replay.speed = 1.2345678901;  // every digit back, not six
    replay.loop = true;
    replay.host = QStringLiteral("127.0.0.1");  // what a file feed reads as, unused
    FeedSettings kiss;
    kiss.type = FeedSettings::Type::Kiss;
    kiss.host = QStringLiteral("127.0.0.1");
    kiss.port = 8001;
    kiss.idleTimeoutSeconds = 900;
    kiss.transmit = true;
    kiss.path = QStringLiteral("WIDE2-1");
    FeedSettings cluster;
    cluster.type = FeedSettings::Type::DxCluster;
    cluster.host = QStringLiteral("dx.example.org");
    cluster.port = 7300;
    cluster.callsign = QStringLiteral("G4KDA");
    cluster.idleTimeoutSeconds = 0;
    config.feeds[0].passcode = QStringLiteral("12345");
    config.feeds << replay << kiss << cluster;
    ASSERT_TRUE(config.write(folder.path()));

    const HostConfig back = HostConfig::read(folder.path());
    ASSERT_EQ(back.feeds.size(), 4);
    // Feed1 was removed; Feed3 does not read and is left to the user, so new feeds take 1, 4, 5.
    EXPECT_EQ(back.feeds[0].name, "Feed1");
    EXPECT_EQ(back.feeds[1].name, "Feed2");
    EXPECT_EQ(back.feeds[2].name, "Feed4");
    EXPECT_EQ(back.feeds[3].name, "Feed5");
    for (const FeedSettings &written : config.feeds) {
        const auto found = std::find_if(back.feeds.begin(), back.feeds.end(),
                                        [&](const FeedSettings &f) { return f.name == written.name; });
        ASSERT_NE(found, back.feeds.end()) << written.name.toStdString();
        EXPECT_EQ(*found, written) << written.name.toStdString();
    }
    EXPECT_EQ(back.beaconComment, "Kestrel on Linux");
    EXPECT_EQ(back.tiles.maxZoom, 17);
    const QString text = QString::fromLatin1(readAll(folder.path() + "/KestrelHost.ini"));
    EXPECT_TRUE(text.startsWith("; my settings\r\n"));
    EXPECT_TRUE(text.contains("MyOwnKey=kept\r\n"));
    EXPECT_TRUE(text.contains("[Feed3]\r\nType=bogus\r\n"));
    EXPECT_TRUE(text.contains("File=DemoTraffic.txt\r\n")) << "a file in the host folder stays relative";
    EXPECT_FALSE(text.contains("Port=8001\r\nEnabled=0")) << "the removed feed's section is gone";
}

TEST(HostConfigWrite, TenFeedsOrALineEndAreRefusedAndNothingIsWritten)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", kHandWritten);
    HostConfig config = HostConfig::read(folder.path());
    HostConfig tooMany = config;
    while (tooMany.feeds.size() < 10)
        tooMany.feeds.append(config.feeds[1]);
    for (FeedSettings &f : tooMany.feeds)
        f.name.clear();
    QString why;
    EXPECT_FALSE(tooMany.write(folder.path(), &why));
    EXPECT_FALSE(why.isEmpty());
    config.feeds[1].filter = QStringLiteral("m/50\r\n[Feed9]");
    EXPECT_FALSE(config.write(folder.path(), &why));
    EXPECT_EQ(readAll(folder.path() + "/KestrelHost.ini"), kHandWritten);
}

TEST(AprsIsFilter, TheCommonFormsPassAndSlipsSayWhatIsWrong)
{
    struct Case
    {
        const char *filter;
        const char *problem;  // nullptr: good
    };
    const Case cases[] = {
        {"", nullptr},
        {"r/51.75/-1.25/150", nullptr},
        {"m/50", nullptr},
        {"b/G4KDA*/M0KDB", nullptr},
        {"t/poimqstunw", nullptr},
        {"t/w/G4KDA/25", nullptr},
        {"r/51/-1/50 -t/x", "t/"},
        {"r/51/-1/50   b/G4*  -b/G4XYZ", nullptr},
        {"a/52/-2/51/0 f/G4KDA/10 p/G/M s/-> o/REPEATER", nullptr},
        {"r/51.5/-1.2", "r/lat/lon/km"},
        {"r/91/0/10", "r/lat/lon/km"},
        {"r/51/-1/x", "r/lat/lon/km"},
        {"m/", "m/km"},
        {"m/-5", "m/km"},
        {"b/", "b/CALL*"},
        {"t/abc", "poimqstunw"},
        {"x/1", "not a filter the servers know"},
        {"filter", "not a filter"},
        {"-", "not a filter"},
    };
    for (const Case &c : cases) {
        const QString problem = checkAprsIsFilter(QString::fromLatin1(c.filter));
        if (!c.problem)
            EXPECT_TRUE(problem.isEmpty()) << c.filter << ": " << problem.toStdString();
        else
            EXPECT_TRUE(problem.contains(QLatin1String(c.problem))) << c.filter << ": " << problem.toStdString();
    }
}

TEST(FeedChecks, PortsCallsignsPathsAndNumbers)
{
    quint16 port = 0;
    EXPECT_TRUE(FeedChecks::port(" 14580 ", &port).isEmpty());
    EXPECT_EQ(port, 14580);
    for (const char *bad : {"", "0", "65536", "-1", "80a", "8 001"})
        EXPECT_FALSE(FeedChecks::port(QString::fromLatin1(bad), &port).isEmpty()) << bad;
    for (const char *good : {"G4KDA", "g4kda-9", "M0KDB-15", "2E0ABC"})
        EXPECT_TRUE(FeedChecks::callsign(QString::fromLatin1(good), false).isEmpty()) << good;
    for (const char *bad : {"G4KDA-16", "G4KDA-9X", "NOCALL", "G4 KDA", "-9"})
        EXPECT_FALSE(FeedChecks::callsign(QString::fromLatin1(bad), false).isEmpty()) << bad;
    EXPECT_TRUE(FeedChecks::callsign("", true).isEmpty());
    EXPECT_FALSE(FeedChecks::callsign("", false).isEmpty());
    EXPECT_TRUE(FeedChecks::path("WIDE1-1,WIDE2-1").isEmpty());
    EXPECT_TRUE(FeedChecks::path("").isEmpty());
    EXPECT_FALSE(FeedChecks::path("WIDE1-1,,WIDE2").isEmpty());
    EXPECT_FALSE(FeedChecks::path("WIDE1-16").isEmpty());
    int n = 0;
    EXPECT_TRUE(FeedChecks::whole("30", 0, 1440, "interval", &n).isEmpty());
    EXPECT_EQ(n, 30);
    EXPECT_FALSE(FeedChecks::whole("3O", 0, 1440, "interval", &n).isEmpty());
    EXPECT_FALSE(FeedChecks::whole("1441", 0, 1440, "interval", &n).isEmpty());
    EXPECT_TRUE(FeedChecks::hostName("rotate.aprs2.net").isEmpty());
    EXPECT_FALSE(FeedChecks::hostName("my server").isEmpty());
}

TEST(StationPosition, EveryFormTheWindowTakes)
{
    struct Case
    {
        const char *text;
        bool ok;
        double latitude, longitude;
    };
    const Case cases[] = {
        {"51.30.00N 000.07.50W", true, 51.5, -0.125},
        {"51.30.00n, 000.07.50w", true, 51.5, -0.125},
        {"51.5 -0.125", true, 51.5, -0.125},
        {"-33.87, 151.21", true, -33.87, 151.21},
        {"IO91", true, 51.5, -1.0},
        {"io91wm", true, 51.5208, -0.125},
        {"SU 123 456", true, 51.209, -1.824},
        {"TQ 300 800", true, 51.5, -0.13},
        {"XX 123 456", false, 0, 0},
        {"ZZ 000 000", false, 0, 0},
        {"91 0", false, 0, 0},
        {"51.5 181", false, 0, 0},
        {"51.30.00N", false, 0, 0},
        {"51.61.00N 000.07.50W", false, 0, 0},
        {"SS99", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case &c : cases) {
        StationPosition p;
        QString problem;
        const bool ok = readStationPosition(QString::fromLatin1(c.text), &p, &problem);
        EXPECT_EQ(ok, c.ok) << c.text << ": " << problem.toStdString();
        if (!c.ok) {
            EXPECT_FALSE(problem.isEmpty()) << c.text;
            continue;
        }
        EXPECT_NEAR(p.latitude, c.latitude, 0.01) << c.text;
        EXPECT_NEAR(p.longitude, c.longitude, 0.01) << c.text;
    }
}

TEST(StationPosition, LocatorsAndTheProgramsFormReadBack)
{
    for (const auto &[lat, lon] : {std::pair{51.5, -0.125}, {-33.87, 151.21}, {0.0, 0.0}, {89.99, -179.99}}) {
        double la = 0, lo = 0;
        ASSERT_TRUE(readMaidenhead(maidenheadLocator(lat, lon), &la, &lo));
        EXPECT_NEAR(la, lat, 1.0 / 24);
        EXPECT_NEAR(lo, lon, 2.0 / 24);
        StationPosition p;
        ASSERT_TRUE(readStationPosition(stationPositionText({lat, lon}), &p, nullptr));
        EXPECT_NEAR(p.latitude, lat, 0.0002);
        EXPECT_NEAR(p.longitude, lon, 0.0002);
    }
    EXPECT_EQ(maidenheadLocator(51.5, -0.125), "IO91wm");
}

TEST(FeedProblems, RefusedConnectionsNameTheTnc)
{
    FeedSettings tnc;
    tnc.type = FeedSettings::Type::Kiss;
    tnc.host = QStringLiteral("127.0.0.1");
    tnc.port = 8001;
    EXPECT_EQ(explainSocketError(QAbstractSocket::ConnectionRefusedError, tnc, "Connection refused"),
              QStringLiteral("connection refused by 127.0.0.1:8001 \u2014 is the TNC running?"));
    EXPECT_TRUE(explainSocketError(QAbstractSocket::HostNotFoundError, tnc, "").contains("127.0.0.1"));
    EXPECT_TRUE(explainSocketError(QAbstractSocket::UnknownSocketError, tnc, "odd").endsWith("odd"));
}

} // namespace
