// End to end over a real modem: TNC2 lines become AFSK audio (gen_packets),
// direwolf demodulates that audio from its standard input and serves the
// frames on a loopback KISS port, and the embedded host must hear exactly the
// frames that went in.
#include "HostFolder.h"

#include "host/EmbeddedHost.h"
#include "host/OnAir.h"
#include "host/feeds/Feed.h"
#include "host/aprs/Tnc2.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// One channel at 1200 baud with its KISS port; the audio device names where samples come from.
bool writeConfig(const QString &path, const char *audioDevice, quint16 port)
{
    QFile conf(path);
    return conf.open(QIODevice::WriteOnly)
           && conf.write(QStringLiteral("ADEVICE %1\nACHANNELS 1\nCHANNEL 0\nMODEM 1200\nAGWPORT 0\nKISSPORT %2\n")
                             .arg(QLatin1String(audioDevice))
                             .arg(port)
                             .toLatin1())
                  > 0;
}

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool portAnswers(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

// The modem is up once its KISS port answers; one that ends first is stopped
// and what it printed is the reason.
::testing::AssertionResult kissPortOpens(QProcess &modem, quint16 port)
{
    const bool listening = QTest::qWaitFor([&] { return portAnswers(port) || modem.state() != QProcess::Running; }, 5000);
    if (listening && modem.state() == QProcess::Running)
        return ::testing::AssertionSuccess();
    modem.kill();
    modem.waitForFinished(1000);
    return ::testing::AssertionFailure() << "direwolf did not open its KISS port: " << modem.readAll().toStdString();
}

TEST(Direwolf, HostHearsTheFramesThatWentThroughTheModem)
{
    const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
    const QString direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    if (genPackets.isEmpty() || direwolf.isEmpty())
        GTEST_SKIP() << "direwolf is not installed (scripts/test installs the package); skipping the modem test";

    const QStringList sent = {
        QStringLiteral("G4DWA>APDW16,WIDE1-1:!5130.00N/00007.50W-Direwolf test"),
        QStringLiteral("G4DWB-9>APDW16,G4DIG*,WIDE2-1:=5131.00N/00008.50W>088/036"),
        QStringLiteral("G4DWC>APDW16:>status through the modem"),
    };
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    {
        QFile lines(work.filePath("packets.txt"));
        ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
        lines.write((sent.join(QStringLiteral("\n")) + u'\n').toLatin1());
    }
    QProcess gen;
    gen.start(genPackets, {"-r", "44100", "-o", work.filePath("packets.wav"), work.filePath("packets.txt")});
    ASSERT_TRUE(gen.waitForFinished(5000));
    ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();
    QFile wav(work.filePath("packets.wav"));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    QByteArray audio = wav.readAll();
    ASSERT_GT(audio.size(), 44);
    audio = audio.mid(44);  // direwolf reads raw samples; the header is not audio
    audio += QByteArray(44100 * 2 / 2, 0);  // half a second of silence to flush the last frame

    const quint16 port = freePort();
    ASSERT_NE(port, 0);
    ASSERT_TRUE(writeConfig(work.filePath("direwolf.conf"), "stdin null", port));
    QProcess modem;
    modem.setWorkingDirectory(work.path());
    modem.start(direwolf, {"-c", work.filePath("direwolf.conf"), "-t", "0", "-q", "hd", "-r", "44100", "-n", "1",
                           "-b", "16", "-"});
    ASSERT_TRUE(modem.waitForStarted(3000));
    ASSERT_TRUE(kissPortOpens(modem, port));

    HostFolder folder;
    folder.write("KestrelHost.ini",
                 QStringLiteral("[Host]\r\nBeaconInterval=0\r\n[Feed1]\r\nType=kiss\r\nHost=127.0.0.1\r\nPort=%1\r\n")
                     .arg(port)
                     .toLatin1());
    EmbeddedHost::Options options;
    options.showWindow = false;
    EmbeddedHost host(folder.path(), options);
    ASSERT_TRUE(host.openLink("UIVIEW32|UIVData", "labDDE", nullptr));
    QSignalSpy frames(&host, &HostApplication::frameReceived);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.feeds().first()->stateText() == QStringLiteral("Connected"); }, 3000));

    modem.write(audio);
    const bool heard = QTest::qWaitFor([&] { return frames.count() >= sent.size(); }, 8000);
    modem.closeWriteChannel();
    modem.kill();
    modem.waitForFinished(2000);
    ASSERT_TRUE(heard) << "heard " << frames.count() << " of " << sent.size() << " frames";

    for (int i = 0; i < sent.size(); ++i) {
        Tnc2Frame expected;
        ASSERT_TRUE(parseTnc2(sent[i], &expected));
        EXPECT_EQ(frames[i][0].toString(), expected.monitorText());
    }
    EXPECT_TRUE(host.database().find("G4DWB-9")->hasPosition);
    EXPECT_FALSE(host.database().find("G4DWB-9")->record().heardDirect);
}

// The other way: the host's beacon and an ack go to direwolf over KISS, and
// direwolf, transmitting into no sound card, prints each frame as it keys up.
TEST(Direwolf, TheBeaconAndAnAckLeaveThroughTheTnc)
{
    const QString direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    if (direwolf.isEmpty())
        GTEST_SKIP() << "direwolf is not installed (scripts/test installs the package); skipping the modem test";
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const quint16 port = freePort();
    ASSERT_NE(port, 0);
    ASSERT_TRUE(writeConfig(work.filePath("direwolf.conf"), "null null", port));
    QProcess modem;
    modem.setWorkingDirectory(work.path());
    modem.setProcessChannelMode(QProcess::MergedChannels);
    modem.start(direwolf, {"-c", work.filePath("direwolf.conf"), "-t", "0"});
    ASSERT_TRUE(modem.waitForStarted(3000));
    ASSERT_TRUE(kissPortOpens(modem, port));

    HostFolder folder;
    folder.write("KestrelHost.ini",
                 QStringLiteral("[Host]\r\nBeaconInterval=10\r\nBeaconComment=via direwolf\r\n"
                                "[Feed1]\r\nType=kiss\r\nHost=127.0.0.1\r\nPort=%1\r\nTransmit=1\r\n")
                     .arg(port)
                     .toLatin1());
    QTemporaryDir data;
    EmbeddedHost::Options options;
    options.showWindow = false;
    options.messageFolder = data.path();
    EmbeddedHost host(folder.path(), options);
    host.onAir()->setFirstBeaconMs(200);
    host.onAir()->setTickMs(50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.feeds().first()->canSendNow(); }, 3000));
    host.hearLine(QStringLiteral("G4ABC>APDW16,WIDE1-1::G0HOM    :Over the air{33"), host.feeds().first());

    QByteArray printed;
    const QByteArray beacon = "[0L] G0HOM>APZKES,WIDE1-1,WIDE2-1:=5130.00N/00007.50W-via direwolf";
    const QByteArray ack = "[0L] G0HOM>APZKES,WIDE1-1,WIDE2-1::G4ABC    :ack33";
    const bool both = QTest::qWaitFor(
        [&] {
            printed += modem.readAll();
            return printed.contains(beacon) && printed.contains(ack);
        },
        10000);
    modem.kill();
    modem.waitForFinished(2000);
    EXPECT_TRUE(both) << printed.toStdString();
}

} // namespace
