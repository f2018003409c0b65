#include "host/StationDatabase.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString Time = QStringLiteral("2026-12-07 20:00:00");

StationDatabase::Result hear(StationDatabase &db, const char *line, const QString &time = Time)
{
    Tnc2Frame frame;
    EXPECT_TRUE(parseTnc2(QString::fromLatin1(line), &frame)) << line;
    return db.applyFrame(frame, time);
}

TEST(StationDatabase, PositionFrameFillsEveryProperty)
{
    StationDatabase db;
    hear(db, "N0CALL-9>APRS,N0DIGI*,WIDE2-1:@092345z4903.50N/07201.75W>088/036/A=001234");
    const StationDatabase::Entry *e = db.find(QStringLiteral("N0CALL-9"));
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->hasPosition);
    const HostStationRecord r = e->record();
    EXPECT_EQ(r.callsign, QStringLiteral("N0CALL-9"));
    EXPECT_NEAR(r.latitude, 2943.50, 0.01);    // 49 deg 3.50 min
    EXPECT_NEAR(r.longitude, -4321.75, 0.01);  // 72 deg 1.75 min west
    EXPECT_EQ(r.symbolTable, QStringLiteral("/"));
    EXPECT_EQ(r.symbolCode, QStringLiteral(">"));
    EXPECT_EQ(r.course, 88);
    EXPECT_EQ(r.speed, 36);
    EXPECT_EQ(r.height, 1234);
    EXPECT_FALSE(r.heardDirect);
    EXPECT_EQ(r.header, QStringLiteral("N0CALL-9>APRS,N0DIGI*,WIDE2-1 Port=1 <UI C Len=43>:"));
    EXPECT_EQ(r.information, QStringLiteral("@092345z4903.50N/07201.75W>088/036/A=001234"));
    EXPECT_EQ(r.timeHeard, Time);
}

TEST(StationDatabase, CourseStaysUnsetUntilSentAndStatusIsKept)
{
    StationDatabase db;
    hear(db, "G0ABC>APRS:!5130.00N/00007.50W-");
    EXPECT_EQ(db.find("G0ABC")->record().course, HostStationRecord::NoCourse);
    EXPECT_TRUE(db.find("G0ABC")->record().heardDirect);
    hear(db, "G0ABC>APRS,WIDE2-2:>QRV 145.500");
    hear(db, "G0ABC>APRS,RELAY*:!5130.00N/00007.50W-", QStringLiteral("2026-12-07 20:05:00"));
    const HostStationRecord r = db.find("G0ABC")->record();
    EXPECT_EQ(r.status, QStringLiteral("QRV 145.500"));
    EXPECT_EQ(r.course, HostStationRecord::NoCourse);
    EXPECT_FALSE(r.heardDirect);
    EXPECT_EQ(r.timeHeard, QStringLiteral("2026-12-07 20:05:00"));
    EXPECT_EQ(db.find("G0ABC")->frames, 3u);
}

TEST(StationDatabase, UndecodableFrameCountsAsHeardWithoutPosition)
{
    StationDatabase db;
    hear(db, "N0JUNK>APRS:!garbage in the position");
    const StationDatabase::Entry *e = db.find("N0JUNK");
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->hasPosition);
    EXPECT_EQ(e->record().information, QStringLiteral("!garbage in the position"));
    // A later bad frame keeps the last good position.
    hear(db, "N0JUNK>APRS:!4903.50N/07201.75W-");
    hear(db, "N0JUNK>APRS:!49");
    EXPECT_TRUE(db.find("N0JUNK")->hasPosition);
    EXPECT_NEAR(db.find("N0JUNK")->record().latitude, 2943.5, 0.01);
}

TEST(StationDatabase, ObjectsAreRecordedUnderTheirNameAndKilledByTheirOwner)
{
    StationDatabase db;
    const auto result = hear(db, "N0CALL>APRS,WIDE2-1:;HAMFEST  *092345z4903.50N/07201.75W/Sunday");
    EXPECT_EQ(result.positioned, QStringLiteral("HAMFEST"));
    const StationDatabase::Entry *object = db.find("HAMFEST");
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->isObject);
    EXPECT_EQ(object->owner, QStringLiteral("N0CALL"));
    EXPECT_TRUE(object->hasPosition);
    EXPECT_EQ(object->record().symbolCode, QStringLiteral("/"));
    // The sender is heard too, but gets no position from the object.
    ASSERT_NE(db.find("N0CALL"), nullptr);
    EXPECT_FALSE(db.find("N0CALL")->hasPosition);

    hear(db, "N9XYZ>APRS:;HAMFEST  _092345z4903.50N/07201.75W/");
    EXPECT_NE(db.find("HAMFEST"), nullptr) << "only the owner kills an object";
    hear(db, "N0CALL>APRS:;HAMFEST  _092345z4903.50N/07201.75W/");
    EXPECT_EQ(db.find("HAMFEST"), nullptr);
    EXPECT_NE(db.find("N0CALL"), nullptr);
    EXPECT_NE(db.find("N9XYZ"), nullptr);
}

TEST(StationDatabase, ObjectNeverTakesOverAStation)
{
    StationDatabase db;
    hear(db, "G0ABC>APRS:!5130.00N/00007.50W-");
    hear(db, "N0CALL>APRS:;G0ABC    *092345z4903.50N/07201.75W/");
    EXPECT_FALSE(db.find("G0ABC")->isObject);
    EXPECT_NEAR(db.find("G0ABC")->record().latitude, 3090.0, 0.01);
}

TEST(StationDatabase, MicEAndPositionlessWeather)
{
    StationDatabase db;
    hear(db, "M0MOB-9>512WQR,WIDE1-1:`x?IoPO>/\"54}");
    const HostStationRecord mobile = db.find("M0MOB-9")->record();
    EXPECT_EQ(mobile.course, 251);
    EXPECT_EQ(mobile.speed, 35);
    EXPECT_EQ(mobile.height, 394);
    EXPECT_NEAR(mobile.latitude, 51 * 60 + 27.12, 0.01);

    hear(db, "WX1>APRS:_10090556c220s004g005t077r000p000P000h50b09900wRSW");
    const StationDatabase::Entry *wx = db.find("WX1");
    EXPECT_FALSE(wx->hasPosition);
    EXPECT_EQ(wx->record().symbolCode, QStringLiteral("_"));
}

TEST(StationDatabase, ThirdPartyFrameUpdatesTheInnerStation)
{
    StationDatabase db;
    hear(db, "N0GATE>APRS,WIDE2-1:}N0INET>APRS,TCPIP,N0GATE*:!4903.50N/07201.75W-");
    ASSERT_NE(db.find("N0INET"), nullptr);
    EXPECT_TRUE(db.find("N0INET")->hasPosition);
    EXPECT_FALSE(db.find("N0INET")->record().heardDirect);
    EXPECT_FALSE(db.find("N0GATE")->hasPosition);
}

TEST(StationDatabase, RemoveKeepsTheIndexConsistent)
{
    StationDatabase db;
    for (int i = 0; i < 50; ++i)
        hear(db, QStringLiteral("S%1>APRS:>x").arg(i).toLatin1().constData());
    EXPECT_TRUE(db.remove("S0"));
    EXPECT_TRUE(db.remove("S25"));
    EXPECT_FALSE(db.remove("S25"));
    EXPECT_EQ(db.size(), 48);
    for (int i = 0; i < db.size(); ++i)
        EXPECT_EQ(db.find(db.at(i).name), &db.at(i));
}

TEST(StationDatabase, ManyRemovalsLeaveEveryOtherNameFindable)
{
    StationDatabase db;
    QStringList names;
    for (int i = 0; i < 3000; ++i) {
        // Long names take the slower comparison path.
        names.append(i % 7 ? QStringLiteral("N%1").arg(i) : QStringLiteral("LONGOBJECTNAME%1").arg(i));
        Tnc2Frame frame;
        frame.source = names.last();
        frame.destination = QStringLiteral("APRS");
        frame.payload = QStringLiteral(">x");
        db.applyFrame(frame, Time);
    }
    QSet<QString> removed;
    for (int i = 0; i < 3000; i += 3) {
        EXPECT_TRUE(db.remove(names[(i * 7) % 3000]));
        removed.insert(names[(i * 7) % 3000]);
    }
    EXPECT_EQ(db.size(), 3000 - removed.size());
    for (const QString &name : names)
        EXPECT_EQ(db.contains(name), !removed.contains(name)) << name.toStdString();
    for (int i = 0; i < db.size(); ++i)
        EXPECT_EQ(db.find(db.at(i).name), &db.at(i));
}

TEST(StationDatabase, IniPositionText)
{
    double minutes = 0;
    EXPECT_TRUE(parseIniPosition("3614.79N", false, &minutes));
    EXPECT_NEAR(minutes, 2174.79, 1e-9);
    EXPECT_TRUE(parseIniPosition("09549.68W", true, &minutes));
    EXPECT_NEAR(minutes, -5749.68, 1e-9);
    EXPECT_FALSE(parseIniPosition("3614.79", false, &minutes));
    EXPECT_FALSE(parseIniPosition("3614.79E", false, &minutes));
    EXPECT_FALSE(parseIniPosition("3674.79N", false, &minutes));
    EXPECT_FALSE(parseIniPosition("9059.99N", false, &minutes));
    EXPECT_FALSE(parseIniPosition("18000.01E", true, &minutes));
    EXPECT_FALSE(parseIniPosition("", true, &minutes));
}

} // namespace

namespace {

StationDatabase::Result hearAt(StationDatabase &db, const QString &line, qint64 when)
{
    Tnc2Frame frame;
    EXPECT_TRUE(parseTnc2(line, &frame)) << line.toStdString();
    return db.applyFrame(frame, Time, when);
}

} // namespace

TEST(StationDatabase, RecordDescribesTheLastPositionReportOnly)
{
    StationDatabase db;
    hear(db, "G4CAR-9>APRS:@092345z5130.00N/00007.50W>088/036/A=001234");
    ASSERT_EQ(db.find("G4CAR-9")->course, 88);
    // A status between positions is no position report: the motion stays.
    hear(db, "G4CAR-9>APRS:>On my way");
    EXPECT_EQ(db.find("G4CAR-9")->course, 88);
    // Parked: a plain position without course, speed or altitude.
    hear(db, "G4CAR-9>APRS:!5131.00N/00008.50W>");
    const HostStationRecord parked = db.find("G4CAR-9")->record();
    EXPECT_EQ(parked.course, HostStationRecord::NoCourse);
    EXPECT_EQ(parked.speed, HostStationRecord::NoSpeed);
    EXPECT_EQ(parked.height, HostStationRecord::NoHeight);
    EXPECT_EQ(parked.status, QStringLiteral("On my way"));

    // The same for objects, which move too.
    hear(db, "G4OWN>APRS:;RACE-1   *092345z5130.00N/00007.50W>180/012");
    hear(db, "G4OWN>APRS:;RACE-1   *092350z5130.00N/00007.50W>");
    EXPECT_EQ(db.find("RACE-1")->course, HostStationRecord::NoCourse);

    // A compressed weather report's wind is not the station's motion.
    hear(db, "G4WX>APRS:!/5L!!<*e7_7P[g005t077");
    EXPECT_EQ(db.find("G4WX")->course, HostStationRecord::NoCourse);
    EXPECT_EQ(db.find("G4WX")->symbolCode, QChar(u'_'));
}

TEST(StationDatabase, LocatorStatusPlacesTheStationAndKeepsItsText)
{
    StationDatabase db;
    hear(db, "G4LOC>APRS:!5000.00N/00100.00W>090/010");
    const StationDatabase::Result r = hear(db, "G4LOC>APRS:>IO91SV/- Portable on the hill");
    EXPECT_EQ(r.positioned, QStringLiteral("G4LOC"));
    const HostStationRecord rec = db.find("G4LOC")->record();
    EXPECT_NEAR(rec.latitude, 51.8958333 * 60, 0.01);
    EXPECT_NEAR(rec.longitude, -0.4583333 * 60, 0.01);
    EXPECT_EQ(rec.symbolCode, QStringLiteral("-"));
    EXPECT_EQ(rec.status, QStringLiteral("Portable on the hill"));
    EXPECT_EQ(rec.course, HostStationRecord::NoCourse);
}

TEST(StationDatabase, MessagesCountAsHeardWithoutAPosition)
{
    StationDatabase db;
    hear(db, "G4MSG>APRS,WIDE1-1:>Status first");
    hear(db, "G4MSG>APRS,WIDE1-1::G0HOM    :Are you there?{7");
    const StationDatabase::Entry *e = db.find("G4MSG");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->frames, 2u);
    EXPECT_FALSE(e->hasPosition);
    EXPECT_EQ(e->record().status, QStringLiteral("Status first")) << "a message is not a status";
    EXPECT_EQ(e->record().information, QStringLiteral(":G0HOM    :Are you there?{7"));
    EXPECT_EQ(db.find("G0HOM"), nullptr) << "the addressee was not heard";
}

TEST(StationDatabase, AgeingForgetsTheSilentButKeepsOwnStationAndPlacedNames)
{
    StationDatabase db;
    db.setOwnStation("G0HOM", 3090, -7.5, u'/', u'-');
    hearAt(db, "G4OLD>APRS:!5130.00N/00007.50W-", 1000);
    hearAt(db, "G4NEW>APRS:!5130.00N/00007.50W-", 5000);
    hearAt(db, "G4OWN>APRS:;FIELD    *092345z5130.00N/00007.50W-", 1000);
    hearAt(db, "G4OWN>APRS:;FIELD    *092345z5130.00N/00007.50W-", 2999);
    hearAt(db, "G4SAT>APRS:>also the name of an object on the map", 10);
    db.setKept({QStringLiteral("G4SAT")});

    EXPECT_EQ(db.ageOut(3000), 3);
    for (const char *kept : {"G0HOM", "G4NEW", "G4SAT"})
        EXPECT_NE(db.find(kept), nullptr) << kept;
    for (const char *gone : {"G4OLD", "G4OWN", "FIELD"})
        EXPECT_EQ(db.find(gone), nullptr) << gone;
    EXPECT_EQ(db.ageOut(3000), 0);
    // What is left still answers by name after the removals reshuffled it.
    hearAt(db, "G4NEW>APRS:>again", 6000);
    EXPECT_EQ(db.find("G4NEW")->frames, 2u);
    EXPECT_EQ(db.size(), 3);
}

TEST(StationDatabase, FullDatabaseMakesRoomInsteadOfThrowing)
{
    // A peer inventing callsigns must neither exhaust memory nor throw.
    StationDatabase db;
    db.setCapacity(100);
    db.setOwnStation("G0HOM", 3090, -7.5, u'/', u'-');
    for (int i = 0; i < 5000; ++i) {
        const StationDatabase::Result r =
            hearAt(db, QStringLiteral("X%1>APRS:>invented").arg(i), 10000 + i);
        ASSERT_FALSE(r.dropped) << i;
        ASSERT_LE(db.size(), 100);
    }
    EXPECT_NE(db.find("G0HOM"), nullptr);
    EXPECT_NE(db.find("X4999"), nullptr) << "the newest stay";
    EXPECT_EQ(db.find("X0"), nullptr) << "the longest silent go first";

    // When nothing may go, the frame is dropped, still without throwing.
    StationDatabase tiny;
    tiny.setCapacity(1);
    tiny.setOwnStation("G0HOM", 3090, -7.5, u'/', u'-');
    EXPECT_TRUE(hearAt(tiny, QStringLiteral("X1>APRS:>no room"), 1).dropped);
    EXPECT_EQ(tiny.size(), 1);
}
