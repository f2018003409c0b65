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
    EXPECT_FALSE(parseIniPosition("", true, &minutes));
}

} // namespace
