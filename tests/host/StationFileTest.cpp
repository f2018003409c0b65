// The host's station database kept across restarts: what is written reads
// back the same, old records stay behind, damaged files cost only their
// damaged lines, and a stranger's file is kept aside rather than read.
#include "HostFolder.h"

#include "host/EmbeddedHost.h"
#include "host/StationFile.h"
#include "host/aprs/Tnc2.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <cmath>
#include <memory>

namespace {

void hear(StationDatabase &db, const QString &line, qint64 heardAt)
{
    Tnc2Frame frame;
    ASSERT_TRUE(parseTnc2(line, &frame)) << line.toStdString();
    db.applyFrame(frame, QStringLiteral("2026-12-06 12:00:00"), heardAt);
}

StationFile::ReadResult readBack(const QByteArray &bytes, StationDatabase &db, qint64 cutoff = 0)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return StationFile::read(buffer, db, cutoff);
}

std::unique_ptr<EmbeddedHost> makeHost(const HostFolder &folder)
{
    EmbeddedHost::Options options;
    options.showWindow = false;
    options.startFeeds = false;
    return std::make_unique<EmbeddedHost>(folder.path(), options);
}

const qint64 kNow = 1'800'000'000;

TEST(StationFile, EveryRecordAndItsTelemetryReadBackAsSaved)
{
    StationDatabase db;
    db.setOwnStation(QStringLiteral("G0HOM"), 3090, -7.5, u'/', u'-');
    // Text that must survive the file's own separators and escapes, a
    // mobile with motion, an object, a station known only by its status.
    hear(db, QStringLiteral("M0TAB>APRS,WIDE1-1:!5130.00N\\00007.50W&tab\there \\ back\\slash ünï"), kNow);
    hear(db, QStringLiteral("G4MOB-9>APRS,G3DIG*,WIDE2-1:!5131.00N/00008.00W>090/036/A=000500"), kNow - 60);
    hear(db, QStringLiteral("G4OBJ>APRS:;RALLY    *061200z5141.40N\\00122.80WERally checkpoint"), kNow - 120);
    hear(db, QStringLiteral("G7STA>APRS:>Just a status"), kNow - 180);
    hear(db, QStringLiteral("N0SOS>S32U6T:`(_fn\"Oj/"), kNow - 30);  // Mic-E "Returning"
    hear(db, QStringLiteral("G7TLM>APRS:T#005,199,000,255,073,123,01101001"), kNow);
    hear(db, QStringLiteral("G7TLM>APRS::G7TLM    :PARM.Battery,Temp,,,,Door"), kNow);
    hear(db, QStringLiteral("G7TLM>APRS::G7TLM    :UNIT.Volts,deg.C"), kNow);
    hear(db, QStringLiteral("G7TLM>APRS::G7TLM    :EQNS.0,0.075,0,0,0.0123,-40"), kNow);
    hear(db, QStringLiteral("G7TLM>APRS::G7TLM    :BITS.10110000,Weather shed"), kNow);

    ASSERT_EQ(db.find(QStringLiteral("N0SOS"))->message, QLatin1String("Returning"));
    StationDatabase back;
    const StationFile::ReadResult read = readBack(StationFile::serialise(db.snapshot()), back);
    EXPECT_TRUE(read.recognised);
    EXPECT_EQ(read.skipped, 0);
    ASSERT_EQ(back.size(), db.size());
    for (int i = 0; i < db.size(); ++i) {
        const StationDatabase::Entry &a = db.at(i);
        const StationDatabase::Entry *b = back.find(a.name);
        ASSERT_NE(b, nullptr) << a.name.toStdString();
        EXPECT_EQ(b->line, a.line);
        EXPECT_EQ(b->payloadAt, a.payloadAt);
        EXPECT_EQ(b->timeHeard, a.timeHeard);
        EXPECT_EQ(b->heardAt, a.heardAt);
        EXPECT_EQ(b->frames, a.frames);
        EXPECT_EQ(b->latitude, a.latitude);
        EXPECT_EQ(b->longitude, a.longitude);
        EXPECT_EQ(b->speed, a.speed);
        EXPECT_EQ(b->course, a.course);
        EXPECT_EQ(b->height, a.height);
        EXPECT_EQ(b->symbolTable, a.symbolTable);
        EXPECT_EQ(b->symbolCode, a.symbolCode);
        EXPECT_EQ(b->heardDirect, a.heardDirect);
        EXPECT_EQ(b->hasPosition, a.hasPosition);
        EXPECT_EQ(b->isObject, a.isObject);
        EXPECT_EQ(b->status, a.status);
        EXPECT_EQ(b->owner, a.owner);
        EXPECT_EQ(b->message, a.message);
        EXPECT_EQ(b->record().header, a.record().header);
    }
    const HostTelemetry before = telemetry::describe(*db.telemetryOf(QStringLiteral("G7TLM")));
    ASSERT_NE(back.telemetryOf(QStringLiteral("G7TLM")), nullptr);
    const HostTelemetry after = telemetry::describe(*back.telemetryOf(QStringLiteral("G7TLM")));
    EXPECT_EQ(after.project, QStringLiteral("Weather shed"));
    ASSERT_EQ(after.channels.size(), before.channels.size());
    for (qsizetype i = 0; i < before.channels.size(); ++i) {
        EXPECT_EQ(after.channels[i].name, before.channels[i].name);
        EXPECT_EQ(after.channels[i].value, before.channels[i].value);
        EXPECT_EQ(after.channels[i].unit, before.channels[i].unit);
    }
}

TEST(StationFile, RecordsOlderThanTheCutoffStayBehind)
{
    StationDatabase db;
    hear(db, QStringLiteral("G1NEW>APRS:!5130.00N/00007.50W-"), kNow);
    hear(db, QStringLiteral("G1OLD>APRS:!5130.00N/00007.50W-"), kNow - 90000);
    StationDatabase back;
    const StationFile::ReadResult read = readBack(StationFile::serialise(db.snapshot()), back, kNow - 86400);
    EXPECT_EQ(read.restored, 1);
    EXPECT_EQ(read.expired, 1);
    EXPECT_TRUE(back.contains(QStringLiteral("G1NEW")));
    EXPECT_FALSE(back.contains(QStringLiteral("G1OLD")));
}

TEST(StationFile, DamagedLinesAreSkippedAndTheRestRead)
{
    const QByteArray good = "S\tG1GOOD\t1800000000\t3\t3090\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t12\tG1GOOD>APRS:!5130.00N/00007.50W-";
    const QByteArray damaged[] = {
        "S\tG1FEW\t1800000000\t3",                                                   // fields missing
        "S\tG1NUM\tsoon\t3\t3090\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t0\t",           // not a number
        "S\tG1LAT\t1800000000\t3\t9000\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t0\t",     // beyond the pole
        "S\tG1NAN\t1800000000\t3\tnan\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t0\t",      // not a finite number
        "S\tG1CUT\t1800000000\t3\t3090\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t99\tG1CUT>APRS:x",  // payload past the end
        "S\tG1ESC\\q\t1800000000\t3\t3090\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t0\t",  // unknown escape
        "S\tG1SYM\t1800000000\t3\t3090\t-7.5\t0\t-32768\t0\t/-x\tdp\tt\t\t\t0\t",    // three-character symbol
        "S\t\t1800000000\t3\t3090\t-7.5\t0\t-32768\t0\t/-\tdp\tt\t\t\t0\t",          // no name
        "T\tG1GOOD\tt",                                                               // telemetry cut short
        "X\twhat is this",
    };
    QByteArray file = "KestrelHost stations 1\r\n" + good + "\r\n";
    for (const QByteArray &line : damaged)
        file += line + '\n';
    file += QByteArray(100000, 'S') + '\n' + QByteArray(good).replace("G1GOOD", "G2GOOD");  // overlong, then a last line without an end
    StationDatabase back;
    const StationFile::ReadResult read = readBack(file, back);
    EXPECT_TRUE(read.recognised);
    EXPECT_EQ(read.restored, 2);
    EXPECT_EQ(read.skipped, int(std::size(damaged)) + 1);
    EXPECT_EQ(back.size(), 2);
    ASSERT_TRUE(back.contains(QStringLiteral("G2GOOD")));
    EXPECT_FLOAT_EQ(back.find(QStringLiteral("G1GOOD"))->latitude, 3090);
}

TEST(StationFile, RandomBytesNeverCrashTheReader)
{
    QRandomGenerator random(26);
    const QByteArray alphabet = "S\tT\\tnr0123456789.-e/G>:!\n\r";
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = round % 3 ? QByteArray("KestrelHost stations 1\n") : QByteArray();
        const int length = int(random.bounded(400));
        for (int i = 0; i < length; ++i)
            bytes += round % 2 ? char(random.bounded(256)) : alphabet[random.bounded(alphabet.size())];
        StationDatabase db;
        const StationFile::ReadResult read = readBack(bytes, db);
        EXPECT_LE(db.size(), read.restored);
        for (int i = 0; i < db.size(); ++i)
            EXPECT_LE(std::abs(db.at(i).latitude), 5400.f);
        // Whatever was read saves and reads back whole.
        StationDatabase again;
        EXPECT_EQ(readBack(StationFile::serialise(db.snapshot()), again).restored, db.size());
    }
}

TEST(StationFile, TheHostKeepsItsStationsAcrossARestartAndHearingThemAgainAddsNone)
{
    HostFolder folder;
    const QStringList traffic = {QStringLiteral("G4AAA>APRS,WIDE1-1:!5140.00N/00110.00W-Home"),
                                 QStringLiteral("G4BBB-9>APRS:!5131.00N/00008.00W>090/036"),
                                 QStringLiteral("G4CCC>APRS:;NET      *061200z5141.40N/00122.80WnNet")};
    int stations = 0;
    {
        auto host = makeHost(folder);
        for (const QString &line : traffic)
            host->hearLine(line);
        stations = host->database().size();
    }
    auto host = makeHost(folder);
    ASSERT_EQ(host->database().size(), stations);
    HostStationRecord record;
    record.callsign = QStringLiteral("G4BBB-9");
    ASSERT_TRUE(host->lookUpStation(record));
    EXPECT_EQ(record.course, 90);
    EXPECT_EQ(host->ownCallsign(), QStringLiteral("G0HOM"));

    for (const QString &line : traffic)
        host->hearLine(line);
    EXPECT_EQ(host->database().size(), stations) << "the same stations heard again are the same records";
}

TEST(StationFile, TheHostForgetsWhatAgedOutWhileItWasStoppedAndKeepsAStrangersFileAside)
{
    HostFolder folder;
    folder.write(QStringLiteral("KestrelHost.ini"), "[Host]\r\nBeaconInterval=0\r\nLogging=0\r\nStationHours=1\r\n");
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    folder.write(StationFile::FileName,
                 "KestrelHost stations 1\n"
                 "S\tG1NEW\t" + QByteArray::number(now - 60) + "\t1\t3090\t-7.5\t0\t-32768\t0\t/-\tp\tt\t\t\t0\t\n"
                 "S\tG1OLD\t" + QByteArray::number(now - 7200) + "\t1\t3090\t-7.5\t0\t-32768\t0\t/-\tp\tt\t\t\t0\t\n");
    {
        auto host = makeHost(folder);
        EXPECT_TRUE(host->database().contains(QStringLiteral("G1NEW")));
        EXPECT_FALSE(host->database().contains(QStringLiteral("G1OLD")));
    }

    const QByteArray stranger = "\x89PNG\r\n\x1a\n not ours";
    folder.write(StationFile::FileName, stranger);
    auto host = makeHost(folder);
    EXPECT_EQ(host->database().size(), 1) << "the own station only";
    QFile aside(host->stationFilePath() + QStringLiteral(".unreadable"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), stranger);
    EXPECT_TRUE(host->config().problems.join(u' ').contains(StationFile::FileName));
    host->hearLine(QStringLiteral("G4AAA>APRS:!5140.00N/00110.00W-"));
    QString error;
    EXPECT_TRUE(host->saveStations(&error)) << error.toStdString();
    StationDatabase saved;
    EXPECT_EQ(StationFile::read(host->stationFilePath(), saved, 0).restored, 2);
}

} // namespace
