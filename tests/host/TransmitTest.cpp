// The station on the air against loopback servers: the APRS-IS login with
// its passcode, the beacon, acks and a message typed in the Messages window,
// and KISS frames with the feed's path.
#include "HostFolder.h"

#include "host/EmbeddedHost.h"
#include "host/OnAir.h"
#include "host/aprs/Kiss.h"
#include "host/feeds/NetworkFeeds.h"
#include "host/map/HostMapWindow.h"
#include "host/messages/MessagesWindow.h"
#include "host/messages/Messenger.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// An APRS-IS server for one client: records every line the client sends.
class IsServer
{
public:
    IsServer() { EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0)); }
    quint16 port() const { return m_server.serverPort(); }
    bool accept()
    {
        if (!QTest::qWaitFor([&] { return m_server.hasPendingConnections(); }, 3000))
            return false;
        m_client = m_server.nextPendingConnection();
        QObject::connect(m_client, &QTcpSocket::readyRead, [this] {
            while (m_client->canReadLine())
                lines.append(QString::fromUtf8(m_client->readLine()).trimmed());
        });
        return true;
    }
    void say(const QByteArray &line)
    {
        m_client->write(line + "\r\n");
        m_client->flush();
    }
    // Waits for a line starting so, at index from or later; -1 if none came.
    int waitFor(const QString &start, int from = 0, int timeoutMs = 4000)
    {
        int found = -1;
        (void)QTest::qWaitFor(
            [&] {
                for (int i = from; i < lines.size(); ++i)
                    if (lines[i].startsWith(start)) {
                        found = i;
                        return true;
                    }
                return false;
            },
            timeoutMs);
        return found;
    }
    int count(const QString &start) const
    {
        return int(std::count_if(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(start); }));
    }

    QStringList lines;

private:
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
};

QByteArray isFeed(quint16 port, bool transmit, const char *passcode = "12345")
{
    return QStringLiteral("[Host]\r\nBeaconInterval=10\r\nBeaconComment=on the air\r\n"
                          "[Feed1]\r\nType=aprs-is\r\nHost=127.0.0.1\r\nPort=%1\r\nFilter=r/51.5/-0.1/50\r\n"
                          "Transmit=%2\r\nPasscode=%3\r\n")
        .arg(port)
        .arg(transmit ? 1 : 0)
        .arg(QLatin1String(passcode))
        .toLatin1();
}

std::unique_ptr<EmbeddedHost> makeHost(const HostFolder &folder, const QTemporaryDir &data)
{
    EmbeddedHost::Options options;
    options.showWindow = false;
    options.messageFolder = data.path();
    auto host = std::make_unique<EmbeddedHost>(folder.path(), options);
    host->onAir()->setFirstBeaconMs(200);
    host->onAir()->setTickMs(50);
    return host;
}

const QString Beacon = QStringLiteral("G0HOM>APZKES,TCPIP*:=5130.00N/00007.50W-on the air");

TEST(Transmit, AprsIsVerifiedLoginBeaconsAcksAndSendsTypedMessagesUntilAcked)
{
    IsServer server;
    HostFolder folder;
    folder.write("KestrelHost.ini", isFeed(server.port(), true));
    QTemporaryDir data;
    auto host = makeHost(folder, data);
    host->onAir()->setBeaconIntervalMs(1500);
    host->messenger()->setFirstRetryMs(400);
    QSignalSpy beacons(host.get(), &HostApplication::NotifyBeacon);
    ASSERT_TRUE(server.accept());
    ASSERT_EQ(server.waitFor("user"), 0);
    EXPECT_EQ(server.lines[0], "user G0HOM pass 12345 vers Kestrel " KESTREL_VERSION " filter r/51.5/-0.1/50");
    EXPECT_EQ(server.waitFor("G0HOM>", 0, 800), -1) << "nothing is sent before the login is verified";
    server.say("# logresp G0HOM verified, server T2LOOP");
    Feed *feed = host->feeds().first();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed->stateText() == "Connected, verified"; }, 2000))
        << feed->stateText().toStdString();

    // The first beacon a moment after the login, the next at the interval.
    const int first = server.waitFor(Beacon, 0, 2000);
    ASSERT_GE(first, 0);
    const int second = server.waitFor(Beacon, first + 1, 3000);
    ASSERT_GT(second, first);
    EXPECT_EQ(server.lines[first], Beacon);
    EXPECT_GE(beacons.count(), 2);
    EXPECT_TRUE(host->beaconStatus().startsWith("Beacon: sent at")) << host->beaconStatus().toStdString();
    EXPECT_TRUE(host->database().find("G0HOM")->record().information.startsWith("=5130.00N"));
    host->onAir()->setBeaconIntervalMs(3600000);  // the rest stays under the rate limit

    // A message to us is acknowledged at once, and shown.
    QSignalSpy unread(host.get(), &HostApplication::unreadMessagesChanged);
    server.say("G4ABC>APRS,TCPIP*,qAC,T2LOOP::G0HOM    :Hello from the loop{17");
    EXPECT_GE(server.waitFor("G0HOM>APZKES,TCPIP*::G4ABC    :ack17", 0, 3000), 0);
    EXPECT_EQ(host->unreadMessages(), 1);
    EXPECT_GE(unread.count(), 1);

    // One typed in the window goes out and is retried until the server acks it.
    host->showMessagesWindow();
    MessagesWindow *window = host->messagesWindow();
    ASSERT_NE(window, nullptr);
    window->findChild<QLineEdit *>("txtTo")->setText("g4abc");
    QTest::keyClicks(window->findChild<QLineEdit *>("txtMessage"), "Loud and clear");
    window->findChild<QPushButton *>("cmdSend")->click();
    const QString sent = QStringLiteral("G0HOM>APZKES,TCPIP*::G4ABC    :Loud and clear{");
    const int try1 = server.waitFor(sent, 0, 2000);
    ASSERT_GE(try1, 0);
    const int try2 = server.waitFor(sent, try1 + 1, 2000);
    ASSERT_GT(try2, try1) << "retried";
    const QString number = server.lines[try1].section(u'{', 1);
    server.say("G4ABC>APRS,TCPIP*,qAC,T2LOOP::G0HOM    :ack" + number.toLatin1());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return host->messenger()->store().messages().last().state == StoredMessage::State::Delivered; }, 2000));
    const int tries = server.count(sent);
    QTest::qWait(1500);
    EXPECT_EQ(server.count(sent), tries) << "no retry after the ack";
    EXPECT_EQ(feed->framesWaiting(), 0);
}

TEST(Transmit, AnUnverifiedLoginSendsNothingAndAReceiveOnlyFeedKeepsNoPasscode)
{
    for (bool transmit : {true, false}) {
        IsServer server;
        HostFolder folder;
        folder.write("KestrelHost.ini", isFeed(server.port(), transmit));
        QTemporaryDir data;
        auto host = makeHost(folder, data);
        QSignalSpy beacons(host.get(), &HostApplication::NotifyBeacon);
        ASSERT_TRUE(server.accept());
        ASSERT_EQ(server.waitFor("user"), 0);
        EXPECT_TRUE(server.lines[0].startsWith(transmit ? "user G0HOM pass 12345 " : "user G0HOM pass -1 "))
            << server.lines[0].toStdString();
        server.say("# logresp G0HOM unverified, server T2LOOP");
        server.say("G4ABC>APRS,TCPIP*::G0HOM    :Hello{18");
        const QString state = transmit ? "Connected, unverified" : "Connected";
        EXPECT_TRUE(QTest::qWaitFor([&] { return host->feeds().first()->stateText().startsWith(state); }, 2000))
            << host->feeds().first()->stateText().toStdString();
        host->beacon();
        EXPECT_EQ(server.waitFor("G0HOM>", 0, 1000), -1);
        EXPECT_EQ(beacons.count(), 0) << "a beacon that did not go out is not reported";
        EXPECT_EQ(host->database().find("G0HOM")->record().information, QString()) << "nor kept as heard";
        EXPECT_EQ(host->beaconStatus(), transmit ? "Beacon: not sent (no transmitting feed is connected)"
                                                 : "Beacon: not sent (no feed transmits)");
        EXPECT_EQ(host->unreadMessages(), 1) << "the message is still shown";
    }
}

TEST(Transmit, TheRateLimitHoldsBackAndSaysSo)
{
    IsServer server;
    FeedSettings settings;
    settings.type = FeedSettings::Type::AprsIs;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = server.port();
    settings.callsign = QStringLiteral("G0HOM");
    settings.transmit = true;
    settings.passcode = QStringLiteral("12345");
    AprsIsFeed feed(settings);
    qint64 now = 1'000'000;
    feed.setClock([&] { return now; });
    feed.start();
    ASSERT_TRUE(server.accept());
    server.say("# logresp G0HOM verified, server T2LOOP");
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.canSendNow(); }, 2000));
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(feed.transmit("G0HOM", "APZKES", QStringLiteral(">loop %1").arg(i)));
    ASSERT_GE(server.waitFor("G0HOM>APZKES,TCPIP*:>loop 9"), 0);
    QTest::qWait(300);
    EXPECT_EQ(server.count("G0HOM>"), 10);
    EXPECT_EQ(feed.stateText(), "Connected, verified, 5 own frames held back (at most 10 a minute)");
    now += 61000;
    feed.transmit("G0HOM", "APZKES", ">loop 15");
    ASSERT_GE(server.waitFor("G0HOM>APZKES,TCPIP*:>loop 15"), 0);
    EXPECT_EQ(server.lines.filter("loop").join(u' ').count("loop"), 16);
    EXPECT_LT(server.lines.indexOf("G0HOM>APZKES,TCPIP*:>loop 14"),
              server.lines.indexOf("G0HOM>APZKES,TCPIP*:>loop 15")) << "in order";
    EXPECT_EQ(feed.stateText(), "Connected, verified");
}

TEST(Transmit, KissSendsUiFramesWithTheFeedsPathOnlyWhenItTransmits)
{
    for (const QString &path : {QStringLiteral("WIDE1-1,WIDE2-1"), QString()}) {
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        FeedSettings settings;
        settings.type = FeedSettings::Type::Kiss;
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = server.serverPort();
        settings.path = path;
        KissFeed silent(settings);
        EXPECT_FALSE(silent.transmit("G0HOM", "APZKES", ">not allowed"));
        settings.transmit = true;
        KissFeed feed(settings);
        feed.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 3000));
        QTcpSocket *tnc = server.nextPendingConnection();
        ASSERT_TRUE(QTest::qWaitFor([&] { return feed.canSendNow(); }, 2000));
        ASSERT_TRUE(feed.transmit("G0HOM", "APZKES", ":G4ABC    :ack5"));
        KissDeframer deframer;
        QList<QByteArray> frames;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                frames += deframer.feed(tnc->readAll());
                return !frames.isEmpty();
            },
            2000));
        QString line;
        ASSERT_TRUE(ax25ToTnc2(frames[0], &line));
        EXPECT_EQ(line, path.isEmpty() ? "G0HOM>APZKES::G4ABC    :ack5" : "G0HOM>APZKES,WIDE1-1,WIDE2-1::G4ABC    :ack5");
    }
}

TEST(Transmit, TheHostMapSaysWhenNoFeedTransmits)
{
    HostFolder folder;
    // A replay cannot transmit, whatever its section says.
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=10\r\n[Feed1]\r\nType=replay\r\nFile=none.txt\r\n"
                                    "Transmit=1\r\n");
    QTemporaryDir data;
    auto host = makeHost(folder, data);
    host->beacon();
    QTest::qWait(400);
    EXPECT_TRUE(host->window()->statusText().contains("Beacon: not sent (no feed transmits)"))
        << host->window()->statusText().toStdString();
}

} // namespace
