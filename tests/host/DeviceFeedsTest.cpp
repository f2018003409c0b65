// Feeds from devices: a serial KISS TNC on a pseudo-terminal pair that socat
// makes (and takes away, as an unplugged TNC goes), and a GPS through a real
// gpsd that gpsfake feeds with a recorded track.
#include "HostFolder.h"

#include "core/PrivateProfile.h"
#include "host/EmbeddedHost.h"
#include "host/StationDatabase.h"
#include "host/aprs/Kiss.h"
#include "host/feeds/GpsdFeed.h"
#include "host/feeds/SerialKissFeed.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Two linked pseudo-terminals: the feed opens one, the test writes to the other.
class PtyPair
{
public:
    explicit PtyPair(const QString &folder)
        : tnc(folder + "/tnc")
        , far(folder + "/far")
    {
    }
    ~PtyPair() { stop(); }
    bool start()
    {
        m_socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + tnc,
                                               QStringLiteral("pty,raw,echo=0,link=") + far});
        return m_socat.waitForStarted(5000)
               && QTest::qWaitFor([&] { return QFileInfo::exists(tnc) && QFileInfo::exists(far); }, 5000);
    }
    void stop()
    {
        if (m_socat.state() == QProcess::NotRunning)
            return;
        m_socat.terminate();
        m_socat.waitForFinished(5000);
    }
    bool send(const QString &tnc2)
    {
        QByteArray ax25;
        if (!tnc2ToAx25(tnc2, &ax25))
            return false;
        QFile end(far);
        if (!end.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        return end.write(kissEncode(ax25)) > 0;
    }
    const QString tnc, far;

private:
    QProcess m_socat;
};

bool have(const char *program)
{
    return !QStandardPaths::findExecutable(QLatin1String(program)).isEmpty();
}

} // namespace

TEST(SerialKissFeed, TakesFramesAndComesBackWhenTheDeviceDoes)
{
    if (!have("socat"))
        GTEST_SKIP() << "socat is not installed";
    QTemporaryDir dir;
    PtyPair pty(dir.path());
    FeedSettings settings;
    settings.type = FeedSettings::Type::SerialKiss;
    settings.device = pty.tnc;
    settings.baud = 9600;
    SerialKissFeed feed(settings);
    feed.setRetryDelays(100, 200);
    QStringList heard;
    QObject::connect(&feed, &Feed::lineReceived, [&](const QString &line) { heard << line; });

    feed.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.lastError().contains("no "); }, 3000))
        << "a device not there yet is said so: " << feed.lastError().toStdString();
    ASSERT_TRUE(pty.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.isOpen(); }, 5000)) << feed.stateText().toStdString();
    ASSERT_TRUE(pty.send("G4KDA-7>APRS,WIDE1-1:!5145.67N/00115.71W>on the move"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.size() == 1; }, 5000));
    EXPECT_EQ(heard[0], "G4KDA-7>APRS,WIDE1-1:!5145.67N/00115.71W>on the move");
    EXPECT_TRUE(feed.connectedSince().isValid());

    pty.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !feed.isOpen(); }, 5000)) << "the vanished device is noticed";
    EXPECT_TRUE(feed.stateText().contains("retrying")) << feed.stateText().toStdString();
    EXPECT_FALSE(feed.connectedSince().isValid());

    ASSERT_TRUE(pty.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.isOpen(); }, 5000)) << feed.stateText().toStdString();
    ASSERT_TRUE(pty.send("M0KDB>APRS:>back again"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.size() == 2; }, 5000));
    EXPECT_EQ(heard[1], "M0KDB>APRS:>back again");
    EXPECT_EQ(feed.frames(), 2);
}

TEST(SerialKissFeed, SendsTheStationsFramesWithItsPathOnlyWhenItTransmits)
{
    if (!have("socat"))
        GTEST_SKIP() << "socat is not installed";
    QTemporaryDir dir;
    PtyPair pty(dir.path());
    ASSERT_TRUE(pty.start());
    QSerialPort far(pty.far);
    ASSERT_TRUE(far.open(QIODevice::ReadOnly)) << far.errorString().toStdString();
    KissDeframer deframer;
    QStringList sent;
    auto readFar = [&] {
        for (const QByteArray &frame : deframer.feed(far.readAll())) {
            QString line;
            if (ax25ToTnc2(frame, &line))
                sent << line;
        }
    };

    for (const bool transmit : {false, true}) {
        FeedSettings settings;
        settings.type = FeedSettings::Type::SerialKiss;
        settings.device = pty.tnc;
        settings.transmit = transmit;
        settings.path = "WIDE1-1";
        SerialKissFeed feed(settings);
        feed.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return feed.isOpen(); }, 5000)) << feed.stateText().toStdString();
        EXPECT_EQ(feed.transmit("G0HOM", "APZKES", ">on the air"), transmit);
        if (transmit) {
            ASSERT_TRUE(QTest::qWaitFor([&] { readFar(); return !sent.isEmpty(); }, 5000));
            EXPECT_EQ(sent, QStringList{"G0HOM>APZKES,WIDE1-1:>on the air"});
        }
        feed.stop();
    }
}

TEST(GpsdFeed, ReadsFixesOnlyFromPositionReports)
{
    struct Case
    {
        const char *line;
        bool fix;
        double latitude, longitude;
    };
    const Case cases[] = {
        {R"({"class":"TPV","mode":3,"lat":51.5,"lon":-0.125})", true, 51.5, -0.125},
        {R"({"class":"TPV","mode":2,"lat":-33.87,"lon":151.21,"alt":5})", true, -33.87, 151.21},
        {R"({"class":"TPV","mode":1,"lat":51.5,"lon":-0.125})", false, 0, 0},
        {R"({"class":"TPV","mode":3})", false, 0, 0},
        {R"({"class":"TPV","mode":3,"lat":"51.5","lon":-0.1})", false, 0, 0},
        {R"({"class":"TPV","mode":3,"lat":95,"lon":0})", false, 0, 0},
        {R"({"class":"SKY","mode":3,"lat":51.5,"lon":-0.125})", false, 0, 0},
        {R"({"class":"TPV","mode":3,"lat":51.5,"lon":)", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case &c : cases) {
        GpsdFeed::Fix fix;
        EXPECT_EQ(GpsdFeed::readFix(c.line, &fix), c.fix) << c.line;
        if (c.fix) {
            EXPECT_DOUBLE_EQ(fix.latitude, c.latitude);
            EXPECT_DOUBLE_EQ(fix.longitude, c.longitude);
        }
    }
    // Course and speed, which the moving station's beacon follows.
    GpsdFeed::Fix moving;
    ASSERT_TRUE(GpsdFeed::readFix(R"({"class":"TPV","mode":3,"lat":51.5,"lon":-0.1,"track":271.5,"speed":25})", &moving));
    EXPECT_DOUBLE_EQ(moving.course, 271.5);
    EXPECT_DOUBLE_EQ(moving.speedKmh, 90);
}

namespace {

QByteArray nmeaTrack(int fixes)
{
    // Heading north-west from Regent's Park, a fix a second.
    QByteArray log;
    auto sentence = [&](const QByteArray &body) {
        char sum = 0;
        for (char c : body)
            sum ^= c;
        log += '$' + body + '*' + QByteArray::number(uchar(sum), 16).rightJustified(2, '0').toUpper() + "\r\n";
    };
    for (int i = 0; i < fixes; ++i) {
        const QByteArray time = QByteArray("1200") + QByteArray::number(i).rightJustified(2, '0') + ".00";
        const QByteArray lat = QByteArray::number(5130.0 + i * 0.5, 'f', 3).rightJustified(8, '0');
        const QByteArray lon = QByteArray::number(7.5 + i * 0.5, 'f', 3).rightJustified(9, '0');
        sentence("GPRMC," + time + ",A," + lat + ",N," + lon + ",W,10.0,315.0,091226,,,A");
        sentence("GPGGA," + time + ',' + lat + ",N," + lon + ",W,1,08,1.0,50.0,M,47.0,M,,");
    }
    return log;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

TEST(GpsdFeed, ARealGpsdMovesTheHomeStationAlongTheTrackAndTheLastFixStays)
{
    if (!have("gpsfake") || !have("gpsd"))
        GTEST_SKIP() << "gpsd and gpsfake are not installed";
    HostFolder folder;
    constexpr int Fixes = 12;
    folder.write("track.nmea", nmeaTrack(Fixes));
    const quint16 port = freePort();
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=0\r\nLogging=0\r\n"
                                    "[Feed1]\r\nType=gpsd\r\nHost=127.0.0.1\r\nPort="
                                        + QByteArray::number(port) + "\r\n");
    QProcess gpsfake;
    gpsfake.setWorkingDirectory(folder.path());
    gpsfake.start("gpsfake", {"-P", QString::number(port), "-1", "-c", "0.3", "track.nmea"});
    ASSERT_TRUE(gpsfake.waitForStarted(5000));
    // gpsfake's gpsd takes a moment to listen: the feed's retries cover it.
    EmbeddedHost::Options options;
    options.showWindow = false;
    EmbeddedHost host(folder.path(), options);
    ASSERT_EQ(host.feeds().size(), 1);
    static_cast<TcpFeed *>(host.feeds()[0])->setRetryDelays(100, 200);
    QList<double> latitudes;
    QObject::connect(&host, &HostApplication::homeStationChanged,
                     [&](const QString &, double latitude, double) { latitudes << latitude; });
    const double startDistance = host.distanceAndBearing(51.5, -0.125, 51.6, -0.25, true).distance;

    const double end = 51.5 + (Fixes - 1) * 0.5 / 60;
    const bool reachedEnd =
        QTest::qWaitFor([&] { return !latitudes.isEmpty() && std::abs(latitudes.last() - end) < 0.001; }, 30000);
    EXPECT_TRUE(reachedEnd);
    ASSERT_GE(latitudes.size(), 4) << host.feeds()[0]->statusLine().toStdString() << "\n"
                                   << gpsfake.readAll().toStdString();
    for (qsizetype i = 1; i < latitudes.size(); ++i)
        EXPECT_GT(latitudes[i], latitudes[i - 1]) << "northward, fix by fix";
    // The GPS goes away.
    gpsfake.terminate();
    ASSERT_TRUE(gpsfake.waitForFinished(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.feeds()[0]->connectedSince().isValid(); }, 10000));
    const double last = latitudes.last();
    EXPECT_NEAR(last, end, 0.001) << "the track's last fix";
    const QString ini = EmbeddedHost::stationIniPath(folder.path());
    EXPECT_TRUE(PrivateProfile::readString(ini, "STATION", "LATITUDE").startsWith("5135."))
        << "written for the next start";
    EXPECT_NEAR(host.station().latitude, last, 1e-9) << "kept when the GPS goes";
    const StationDatabase::Entry *home = host.database().find("G0HOM");
    ASSERT_NE(home, nullptr);
    EXPECT_NEAR(home->latitude / 60.0, last, 0.001);
    EXPECT_LT(host.distanceAndBearing(host.station().latitude, host.station().longitude, 51.6, -0.25, true).distance,
              startDistance)
        << "distances are measured from where the GPS left the station";
}
