// Random and hostile bytes through every parser of outside input: none may
// crash, hang or read out of bounds (run under the sanitizers to see the last).
#include "host/aprs/AprsDecoder.h"
#include "host/feeds/DxSpotLine.h"
#include "host/aprs/Kiss.h"
#include "host/PrefixTable.h"
#include "host/StationDatabase.h"
#include "host/aprs/Telemetry.h"
#include "host/aprs/Tnc2.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QString randomText(QRandomGenerator &random, int maxLength, const QString &alphabet = {})
{
    const int length = int(random.bounded(maxLength + 1));
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text += alphabet.isEmpty() ? QChar(ushort(random.bounded(256))) : alphabet[random.bounded(alphabet.size())];
    return text;
}

// Characters that make parsers take their interesting branches.
const QString Structural = QStringLiteral("0123456789 ./\\_>:;,!=@`'*-NSEWzhPQRSTUVWXYZABJKL}{#A=DX de");

TEST(ParserGarbage, AprsDecoderAndDatabase)
{
    QRandomGenerator random(42);
    StationDatabase db;
    for (int i = 0; i < 20000; ++i) {
        const QString payload = randomText(random, 60, i % 2 ? Structural : QString());
        const QString destination = randomText(random, 8, QStringLiteral("0123456789ABJKLPQRSTUVWXYZ-"));
        const AprsReport report = decodeAprs(destination, payload);
        if (report.hasPosition) {
            EXPECT_LE(std::abs(report.latitude), 90.0) << payload.toStdString();
            EXPECT_LE(std::abs(report.longitude), 180.0) << payload.toStdString();
        }
        Tnc2Frame frame;
        frame.source = QStringLiteral("G%1").arg(i % 300);
        frame.destination = destination.isEmpty() ? QStringLiteral("APRS") : destination;
        frame.payload = payload;
        db.applyFrame(frame, QStringLiteral("t"));
    }
    EXPECT_GE(db.size(), 300);
}

TEST(ParserGarbage, PositionPrefixesCutAtEveryLength)
{
    const char *valid[] = {"!4903.50N/07201.75W-/A=001234", "@092345z4903.50N/07201.75W>088/036",
                           "=/5L!!<*e7>7P[", ";LEADER   *092345z4903.50N/07201.75W>",
                           ")AID #2!4903.50N/07201.75WA", "`x?IoPO>/\"54}", ">092345zstatus"};
    for (const char *text : valid) {
        const QString full = QString::fromLatin1(text);
        for (int n = 0; n <= full.size(); ++n) {
            decodeAprs(QStringLiteral("512WQR"), QStringView(full).left(n));
            decodeAprs(QStringLiteral("512WQR").left(n % 7), full);
        }
    }
}

TEST(ParserGarbage, Tnc2AndTimeStamps)
{
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i) {
        const QString line = randomText(random, 80, i % 2 ? Structural : QString());
        Tnc2Frame frame;
        if (parseTnc2(line, &frame)) {
            EXPECT_FALSE(frame.source.isEmpty());
            EXPECT_LE(frame.path.size(), 8);
        }
        splitTimeStamp(line);
    }
}

TEST(ParserGarbage, KissAndAx25)
{
    QRandomGenerator random(99);
    KissDeframer deframer;
    int frames = 0;
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes(int(random.bounded(200)), 0);
        for (char &b : bytes)
            b = char(i % 3 ? random.bounded(256) : (random.bounded(4) ? 0xC0 : random.bounded(256)));
        for (const QByteArray &frame : deframer.feed(bytes)) {
            ++frames;
            QString line;
            if (ax25ToTnc2(frame, &line)) {
                Tnc2Frame parsed;
                EXPECT_TRUE(parseTnc2(line, &parsed)) << line.toStdString();
            }
        }
        QByteArray raw(int(random.bounded(120)), 0);
        for (char &b : raw)
            b = char(random.bounded(256));
        QString line;
        ax25ToTnc2(raw, &line);
    }
    EXPECT_GT(frames, 0);
}

TEST(ParserGarbage, PrefixFileAndDxLines)
{
    QRandomGenerator random(5);
    const QString alphabet = QStringLiteral("ABCZ019-,:;. \r\nNSEW");
    for (int i = 0; i < 300; ++i) {
        PrefixTable table;
        table.parse(randomText(random, 2000, i % 2 ? alphabet : QString()));
        table.lookUp(randomText(random, 12, alphabet));
        DxSpotLine spot;
        parseDxSpotLine(QStringLiteral("DX de ") + randomText(random, 90, Structural), &spot);
        parseDxSpotLine(randomText(random, 90), &spot);
    }
    // A range over the whole character set stays bounded.
    EXPECT_LE(PrefixTable::expand(QStringLiteral("A\x01-A\xff")).size(), 255);
}

TEST(ParserGarbage, TelemetryNmeaAndLocatorTexts)
{
    // Text that starts the way each new form starts, then anything.
    const QString starts[] = {QStringLiteral("T#"), QStringLiteral("T#001,"), QStringLiteral(":N0CALL   :PARM."),
                              QStringLiteral(":N0CALL   :EQNS."), QStringLiteral(":N0CALL   :BITS."),
                              QStringLiteral("$GPRMC,"), QStringLiteral("$GPGGA,"), QStringLiteral("$GPGLL,"),
                              QStringLiteral(">IO91"), QStringLiteral(">AA00aa")};
    const QString digits = QStringLiteral("0123456789.,-*ANSEWVMabcdefx/\\ {}");
    QRandomGenerator random(9);
    StationDatabase db;
    for (int i = 0; i < 20000; ++i) {
        const QString payload = starts[i % std::size(starts)] + randomText(random, 80, i % 3 ? digits : QString());
        const AprsReport report = decodeAprs(u"GPS", payload);
        if (report.hasPosition) {
            EXPECT_LE(std::abs(report.latitude), 90.0) << payload.toStdString();
            EXPECT_LE(std::abs(report.longitude), 180.0) << payload.toStdString();
        }
        Tnc2Frame frame;
        frame.source = QStringLiteral("N0CALL");
        frame.destination = QStringLiteral("GPS");
        frame.payload = payload;
        db.applyFrame(frame, QStringLiteral("t"));
        if (const telemetry::Station *t = db.telemetryOf(QStringLiteral("N0CALL"))) {
            const HostTelemetry shown = telemetry::describe(*t);
            EXPECT_LE(shown.channels.size(), telemetry::AnalogChannels + telemetry::Bits);
        }
    }
}

} // namespace
