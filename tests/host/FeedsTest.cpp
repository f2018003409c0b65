#include "HostFolder.h"

#include "core/LineText.h"
#include "host/EmbeddedHost.h"
#include "host/aprs/Kiss.h"
#include "host/feeds/NetworkFeeds.h"
#include "host/feeds/ReplayFeed.h"

#include <QEventLoop>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <climits>
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
    client->write("# aprsc 2.1.10\r\n\xef\xbb\xbf# logresp G0HOM unverified, server T2TEST\r\n\xef\xbb\xbf\r\n");
    client->write("G4ONE>APRS,TCPIP*,qAC,T2TEST:!5130.00N/00007.50W-\r\nG4TW");
    client->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 1; }, 3000));
    client->write("O>APRS:>split across reads\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() >= 2; }, 3000));
    EXPECT_EQ(lines[0][0].toString(), QStringLiteral("G4ONE>APRS,TCPIP*,qAC,T2TEST:!5130.00N/00007.50W-"));
    EXPECT_EQ(lines[1][0].toString(), QStringLiteral("G4TWO>APRS:>split across reads"));
    feed.stop();
}

// A burst (a reconnect, the network catching up) is read a slice at a time,
// so clicks and paints get their turn between slices instead of waiting for all of it.
TEST(AprsIsFeed, ABurstIsReadInSlicesThatLetTheEventLoopRun)
{
    LocalServer server;
    AprsIsFeed feed(tcpSettings(FeedSettings::Type::AprsIs, server.port()));
    int turns = 0;
    QTimer loop;
    QObject::connect(&loop, &QTimer::timeout, [&turns] { ++turns; });
    int lines = 0;
    int mostInOneTurn = 0;
    int turnOfLast = -1;
    int inThisTurn = 0;
    QObject::connect(&feed, &Feed::lineReceived, [&](const QString &) {
        inThisTurn = turns == turnOfLast ? inThisTurn + 1 : 1;
        turnOfLast = turns;
        mostInOneTurn = qMax(mostInOneTurn, inThisTurn);
        ++lines;
    });
    feed.start();
    QTcpSocket *client = server.accept();
    ASSERT_NE(client, nullptr);
    ASSERT_FALSE(readLine(client).isEmpty());
    QByteArray burst;
    for (int i = 0; i < 20000; ++i)
        burst += "G4B" + QByteArray::number(i % 1000) + ">APRS,TCPIP*,qAC,T2TEST:!5130.00N/00007.50W-burst line "
                 + QByteArray::number(i) + "\r\n";
    client->write(burst);
    client->flush();
    // A plain event loop, as the program runs (waiting helpers sleep between turns).
    QEventLoop running;
    QObject::connect(&feed, &Feed::lineReceived, &running, [&] {
        if (lines == 20000)
            running.quit();
    });
    QTimer::singleShot(20000, &running, &QEventLoop::quit);
    loop.start(0);
    running.exec();
    ASSERT_EQ(lines, 20000);
    EXPECT_LE(mostInOneTurn, 200) << "lines handled without the event loop turning once";
    feed.stop();
}

TEST(AprsIsFeed, LoginWithoutFilterHasNoFilterWord)
{
    EXPECT_EQ(AprsIsFeed::loginLine("N0CALL", ""), QByteArray("user N0CALL pass -1 vers Kestrel " KESTREL_VERSION "\r\n"));
    // Line ends in the settings cannot start a command of their own.
    EXPECT_EQ(AprsIsFeed::loginLine("N0\rCALL", "r/51/0/50\r\n#quit"),
              QByteArray("user N0CALL pass -1 vers Kestrel " KESTREL_VERSION " filter r/51/0/50#quit\r\n"));
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
    EXPECT_EQ(feed.nextRetryMs(), 100) << "connecting alone proves nothing";
    feed.stop();
}

TEST(TcpFeed, ServerThatDropsEveryLoginIsRetriedWithGrowingDelays)
{
    // A full server: takes the connection, says so and hangs up.
    LocalServer server;
    AprsIsFeed feed(tcpSettings(FeedSettings::Type::AprsIs, server.port()));
    feed.setRetryDelays(40, 320);
    QElapsedTimer clock;
    clock.start();
    feed.start();
    QList<qint64> at;
    while (clock.elapsed() < 1400) {
        QTcpSocket *client = server.accept(1500 - int(clock.elapsed()));
        if (!client)
            break;
        at.append(clock.elapsed());
        client->write("# server full\r\n");
        client->flush();
        client->disconnectFromHost();
    }
    feed.stop();
    // 40, 80, 160, 320, 320 ms apart: six logins in 1.4 s, not thirty.
    ASSERT_GE(at.size(), 4);
    EXPECT_LE(at.size(), 7);
    QList<qint64> gaps;
    for (qsizetype i = 1; i < at.size(); ++i)
        gaps.append(at[i] - at[i - 1]);
    EXPECT_GE(gaps[0], 35);
    EXPECT_GE(gaps[1], 75);
    EXPECT_GE(gaps[2], 150);
    EXPECT_EQ(feed.nextRetryMs(), 320) << "the delay climbs to its ceiling and stays";
}

TEST(TcpFeed, ConnectionThatLastedAndCarriedDataStartsTheBackOffAgain)
{
    LocalServer server;
    AprsIsFeed feed(tcpSettings(FeedSettings::Type::AprsIs, server.port()));
    feed.setRetryDelays(40, 1000);
    feed.setStableAfter(150);
    feed.start();
    for (int i = 0; i < 2; ++i) {
        QTcpSocket *client = server.accept();
        ASSERT_NE(client, nullptr);
        client->disconnectFromHost();
    }
    QTcpSocket *good = server.accept();
    ASSERT_NE(good, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.stateText() == QStringLiteral("Connected"); }, 2000));
    EXPECT_EQ(feed.nextRetryMs(), 160);
    QTest::qWait(200);
    good->write("G4OK>APRS:>still here\r\n");
    good->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.frames() == 1; }, 2000));
    EXPECT_EQ(feed.nextRetryMs(), 40);
    feed.stop();
}

TEST(TcpFeed, SilentServerIsLeftAfterTheIdleTimeoutAndSocketsKeepAlive)
{
    LocalServer server;
    AprsIsFeed feed(tcpSettings(FeedSettings::Type::AprsIs, server.port()));
    feed.setRetryDelays(40, 40);
    feed.setIdleTimeout(300);
    feed.start();
    QTcpSocket *silent = server.accept();
    ASSERT_NE(silent, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.stateText() == QStringLiteral("Connected"); }, 2000));
    EXPECT_EQ(feed.socket().socketOption(QAbstractSocket::KeepAliveOption).toInt(), 1);
    QElapsedTimer clock;
    clock.start();
    QTcpSocket *again = server.accept(3000);
    ASSERT_NE(again, nullptr) << "a silent link is given up and dialled again";
    EXPECT_GE(clock.elapsed(), 250);

    // Server comments every 100 ms keep the link: no third connection.
    QElapsedTimer talking;
    talking.start();
    while (talking.elapsed() < 900) {
        again->write("# keepalive\r\n");
        again->flush();
        QTest::qWait(100);
    }
    EXPECT_EQ(server.connections(), 2);
    EXPECT_EQ(feed.stateText(), QStringLiteral("Connected"));
    feed.stop();
}

TEST(TcpFeed, IdleTimeoutsByFeedTypeAndFromTheFile)
{
    EXPECT_EQ(FeedSettings::defaultIdleTimeout(FeedSettings::Type::AprsIs), 120);
    EXPECT_GT(FeedSettings::defaultIdleTimeout(FeedSettings::Type::Kiss), 120);
    EXPECT_GT(FeedSettings::defaultIdleTimeout(FeedSettings::Type::DxCluster), 120);
    HostFolder folder;
    folder.write("KestrelHost.ini", "[Feed1]\r\nType=aprs-is\r\nPort=14580\r\n"
                                    "[Feed2]\r\nType=kiss\r\nPort=8001\r\nIdleTimeout=0\r\n");
    const HostConfig config = HostConfig::read(folder.path());
    ASSERT_EQ(config.feeds.size(), 2);
    EXPECT_EQ(config.feeds[0].idleTimeoutSeconds, 120);
    EXPECT_EQ(config.feeds[1].idleTimeoutSeconds, 0);
}

TEST(FeedText, Utf8AsUtf8AndAnythingElseAsLatin1)
{
    const QString greeting = QStringLiteral("Gr\u00FC\u00DFe \u2013 73");
    // Through both network feeds.
    LocalServer server;
    AprsIsFeed aprsIs(tcpSettings(FeedSettings::Type::AprsIs, server.port()));
    QSignalSpy lines(&aprsIs, &Feed::lineReceived);
    aprsIs.start();
    QTcpSocket *client = server.accept();
    ASSERT_NE(client, nullptr);
    client->write("G4UTF>APRS:>" + greeting.toUtf8() + "\r\nG4LAT>APRS:>Gr\xFC\xDF" + "e\r\n");
    client->flush();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.count() == 2; }, 3000));
    EXPECT_EQ(lines[0][0].toString(), "G4UTF>APRS:>" + greeting);
    EXPECT_EQ(lines[1][0].toString(), QStringLiteral("G4LAT>APRS:>Gr\u00FC\u00DFe"));
    aprsIs.stop();

    QByteArray ax25;
    ASSERT_TRUE(tnc2ToAx25("G4KIS>APRS:>" + greeting, &ax25));
    QString line;
    ASSERT_TRUE(ax25ToTnc2(ax25, &line));
    EXPECT_EQ(line, "G4KIS>APRS:>" + greeting);
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

TEST(ReplayFeed, WaitsFollowStampsAndSpeedWithinWhatATimerHolds)
{
    struct Case {
        int previous, current, intervalMs;
        double speed;
        int waitMs;
    };
    const Case cases[] = {
        {43200, 43220, 500, 1, 20000},        // stamped: the gap
        {86399, 1, 500, 2, 1000},             // past midnight, at double speed
        {-1, 43200, 500, 1, 500},             // a line without a stamp: the interval
        {0, 86399, 0, 1e-300, INT_MAX},       // a crawl waits as long as a timer can
        {0, 10, 0, 1e300, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReplayFeed::delayMs(c.previous, c.current, c.intervalMs, c.speed), c.waitMs)
            << c.previous << " " << c.current << " " << c.speed;
    EXPECT_EQ(ReplayFeed::loopPauseMs(1e-300), INT_MAX);
    EXPECT_EQ(ReplayFeed::loopPauseMs(4), 500);
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
