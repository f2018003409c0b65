#include "HostFolder.h"

#include "host/EmbeddedHost.h"
#include "host/Kiss.h"
#include "host/NetworkFeeds.h"
#include "host/ReplayFeed.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A one-connection-at-a-time server on a free loopback port.
class LocalServer
{
public:
    LocalServer() { EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0)); }
    quint16 port() const { return m_server.serverPort(); }
    QTcpSocket *accept(int timeoutMs = 3000)
    {
        if (!QTest::qWaitFor([&] { return m_server.hasPendingConnections(); }, timeoutMs))
            return nullptr;
        ++m_connections;
        return m_server.nextPendingConnection();
    }
    int connections() const { return m_connections; }

private:
    QTcpServer m_server;
    int m_connections = 0;
};

QByteArray readLine(QTcpSocket *socket, int timeoutMs = 3000)
{
    if (!QTest::qWaitFor([&] { return socket->canReadLine(); }, timeoutMs))
        return {};
    return socket->readLine();
}

FeedSettings tcpSettings(FeedSettings::Type type, quint16 port)
{
    FeedSettings s;
    s.type = type;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    s.callsign = QStringLiteral("G0HOM");
    return s;
}

QByteArray garbage(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, 0);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

TEST(AprsIsFeed, LogsInReceiveOnlyAndSkipsServerComments)
{
    LocalServer server;
    FeedSettings settings = tcpSettings(FeedSettings::Type::AprsIs, server.port());
    settings.filter = QStringLiteral("r/51.5/-0.1/100");
    AprsIsFeed feed(settings);
    QSignalSpy lines(&feed, &Feed::lineReceived);
    feed.start();
    QTcpSocket *client = server.accept();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(readLine(client),
              QByteArray("user G0HOM pass -1 vers Kestrel " KESTREL_VERSION " filter r/51.5/-0.1/100\r\n"));
    EXPECT_EQ(feed.stateText(), QStringLiteral("Connected"));
    client->write("# aprsc 2.1.10\r\n# logresp G0HOM unverified, server T2TEST\r\n");
    client->write("G4ONE>APRS,TCPIP*,qAC,T2TEST:!5130.00N/00007.50W-\r\nG4TW");
    client->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 1; }, 3000));
    client->write("O>APRS:>split across reads\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 2; }, 3000));
    EXPECT_EQ(lines[0][0].toString(), QStringLiteral("G4ONE>APRS,TCPIP*,qAC,T2TEST:!5130.00N/00007.50W-"));
    EXPECT_EQ(lines[1][0].toString(), QStringLiteral("G4TWO>APRS:>split across reads"));
    feed.stop();
}

TEST(AprsIsFeed, LoginWithoutFilterHasNoFilterWord)
{
    EXPECT_EQ(AprsIsFeed::loginLine("N0CALL", ""), QByteArray("user N0CALL pass -1 vers Kestrel " KESTREL_VERSION "\r\n"));
}

TEST(TcpFeed, ReconnectsWithGrowingDelays)
{
    LocalServer server;
    KissFeed feed(tcpSettings(FeedSettings::Type::Kiss, server.port()));
    feed.setRetryDelays(50, 200);
    feed.start();
    QTcpSocket *first = server.accept();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.stateText() == QStringLiteral("Connected"); }, 2000));
    first->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.stateText().contains(QStringLiteral("retrying")); }, 2000));
    EXPECT_EQ(feed.nextRetryMs(), 100);
    QTcpSocket *second = server.accept();
    ASSERT_NE(second, nullptr) << "the feed came back by itself";
    EXPECT_EQ(server.connections(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.stateText() == QStringLiteral("Connected"); }, 2000));
    EXPECT_EQ(feed.nextRetryMs(), 50) << "a good connection resets the delay";
    feed.stop();
}

TEST(TcpFeed, NobodyListeningGivesARetryState)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    AprsIsFeed feed(tcpSettings(FeedSettings::Type::AprsIs, port));
    feed.setRetryDelays(5000, 5000);
    feed.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.stateText().contains(QStringLiteral("retrying in 5 s")); }, 3000))
        << feed.stateText().toStdString();
    feed.stop();
}

TEST(KissFeed, FramesSplitAcrossWritesAndGarbageBetween)
{
    LocalServer server;
    KissFeed feed(tcpSettings(FeedSettings::Type::Kiss, server.port()));
    QSignalSpy lines(&feed, &Feed::lineReceived);
    feed.start();
    QTcpSocket *client = server.accept();
    ASSERT_NE(client, nullptr);
    QByteArray one, two;
    ASSERT_TRUE(tnc2ToAx25("G4KIS-7>APRS,RELAY*,WIDE2-1:!5130.00N/00007.50W>", &one));
    ASSERT_TRUE(tnc2ToAx25("G4KIS-8>APRS:>second", &two));
    const QByteArray stream = garbage(300, 1) + kissEncode(one) + kissEncode(two);
    client->write(stream.left(310));
    client->flush();
    QTest::qWait(30);
    client->write(stream.mid(310));
    client->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 2; }, 3000));
    EXPECT_EQ(lines[lines.count() - 2][0].toString(), QStringLiteral("G4KIS-7>APRS,RELAY*,WIDE2-1:!5130.00N/00007.50W>"));
    EXPECT_EQ(lines.last()[0].toString(), QStringLiteral("G4KIS-8>APRS:>second"));
    feed.stop();
}

TEST(DxClusterFeed, LogsInAtThePromptAndReadsSpots)
{
    LocalServer server;
    DxClusterFeed feed(tcpSettings(FeedSettings::Type::DxCluster, server.port()));
    QSignalSpy spots(&feed, &Feed::spotReceived);
    feed.start();
    QTcpSocket *client = server.accept();
    ASSERT_NE(client, nullptr);
    // Telnet option negotiation first, then a prompt without a line end.
    client->write(QByteArray("\xFF\xFB\x01\xFF\xFD\x03", 6) + "Welcome to the test cluster\r\nlogin: ");
    client->flush();
    EXPECT_EQ(readLine(client), QByteArray("G0HOM\r\n"));
    client->write("Hello G0HOM, this is TEST-1\r\n"
                  "DX de G4ABC:     14025.0  VK2XYZ       CW loud                        1234Z\r\n"
                  "WWV de W0MU <18>:   SFI=70, A=5, K=1\r\n"
                  "DX de W1AW:       7074.0  JA1XYZ       FT8                            1235Z\a\a\r\n");
    client->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return spots.count() >= 2; }, 3000));
    EXPECT_TRUE(spots[0][0].toString().startsWith(QStringLiteral("DX de G4ABC:")));
    EXPECT_TRUE(spots[1][0].toString().endsWith(QStringLiteral("1235Z"))) << "the bell is not part of the spot";
    EXPECT_EQ(spots.count(), 2);
    feed.stop();
}

TEST(ReplayFeed, PlaysInOrderHonouringStampsAndLoops)
{
    FeedSettings settings;
    settings.type = FeedSettings::Type::Replay;
    settings.file = QStringLiteral("inline.txt");
    settings.speed = 100;  // one second of the file takes 10 ms
    settings.loop = true;
    ReplayFeed feed(settings);
    feed.setText("# demo\r\n12:00:00 G4A>APRS:>a\r\n12:00:00 G4B>APRS:>b\r\n\r\n12:00:20 G4C>APRS:>c\r\n");
    EXPECT_EQ(feed.lineCount(), 3);
    QSignalSpy lines(&feed, &Feed::lineReceived);
    QElapsedTimer clock;
    clock.start();
    feed.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 3; }, 3000));
    EXPECT_GE(clock.elapsed(), 150) << "the 20 s gap is kept at 100x";
    EXPECT_EQ(lines[0][0].toString(), QStringLiteral("G4A>APRS:>a"));
    EXPECT_EQ(lines[2][0].toString(), QStringLiteral("G4C>APRS:>c"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 4; }, 3000)) << "loops";
    EXPECT_EQ(lines[3][0].toString(), QStringLiteral("G4A>APRS:>a"));
    feed.stop();
}

TEST(ReplayFeed, MissingFileIsAStateNotACrash)
{
    FeedSettings settings;
    settings.file = QStringLiteral("/nonexistent/traffic.txt");
    ReplayFeed feed(settings);
    feed.start();
    EXPECT_EQ(feed.stateText(), QStringLiteral("Cannot open file"));
}

TEST(FeedGarbage, EveryNetworkFeedSurvivesRandomBytesAndStillHearsFrames)
{
    for (FeedSettings::Type type : {FeedSettings::Type::Kiss, FeedSettings::Type::AprsIs, FeedSettings::Type::DxCluster}) {
        LocalServer server;
        std::unique_ptr<Feed> feed(createFeed(tcpSettings(type, server.port()), "G0HOM", nullptr));
        QSignalSpy lines(feed.get(), &Feed::lineReceived);
        QSignalSpy spots(feed.get(), &Feed::spotReceived);
        feed->start();
        QTcpSocket *client = server.accept();
        ASSERT_NE(client, nullptr);
        for (quint32 seed = 1; seed <= 20; ++seed)
            client->write(garbage(2000, seed));
        // A line end and a frame end close whatever the garbage left open.
        if (type == FeedSettings::Type::Kiss)
            client->write(QByteArray(1, char(0xC0)));
        else
            client->write("\r\n\r\n");
        QByteArray good;
        if (type == FeedSettings::Type::Kiss) {
            ASSERT_TRUE(tnc2ToAx25("G4OK>APRS:>fine", &good));
            good = kissEncode(good);
        } else if (type == FeedSettings::Type::AprsIs) {
            good = "G4OK>APRS:>fine\r\n";
        } else {
            good = "DX de G4OK: 14000.0 K1ABC test 0000Z\r\n";
        }
        client->write(good);
        client->flush();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const QList<QList<QVariant>> &got = type == FeedSettings::Type::DxCluster ? spots : lines;
                return !got.isEmpty() && got.last()[0].toString().contains(QStringLiteral("G4OK"));
            },
            3000))
            << HostConfig::typeName(type).toStdString();
        feed->stop();
    }
}

TEST(EmbeddedHostFeeds, ConfiguredReplayFillsTheDatabase)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=0\r\n[Feed1]\r\nType=replay\r\nFile=traffic.txt\r\n"
                                    "Speed=1000\r\n[Feed2]\r\nType=dxreplay\r\nFile=spots.txt\r\nInterval=1\r\n");
    folder.write("traffic.txt", "00:00:00 G4RPL>APRS:!5130.00N/00007.50W-\r\n00:00:01 garbage line\r\n"
                                "00:00:02 G4RPM>APRS:=5131.00N/00008.50W>\r\n");
    folder.write("spots.txt", "DX de G4ABC: 14025.0 VK2XYZ CW 1234Z\r\n");
    EmbeddedHost::Options options;
    options.showWindow = false;
    EmbeddedHost host(folder.path(), options);
    QSignalSpy spots(&host, &HostApplication::NotifyDXSpot);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.database().contains("G4RPM"); }, 3000));
    EXPECT_TRUE(host.database().find("G4RPL")->hasPosition);
    EXPECT_EQ(host.rejectedLines(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return spots.count() == 1; }, 3000));
}

} // namespace
