// Forms real traffic holds that the first decoder read wrong or not at all:
// each case is worked out by hand from the encoding.
#include "host/StationDatabase.h"
#include "host/aprs/AprsDecoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

constexpr double Tol = 1e-6;

AprsReport decode(const char *payload, const char *destination = "APRS")
{
    return decodeAprs(QString::fromUtf8(destination), QString::fromUtf8(payload));
}

const StationDatabase::Entry *hear(StationDatabase &db, const char *line, const char *name)
{
    Tnc2Frame frame;
    if (!parseTnc2(QString::fromUtf8(line), &frame))
        return nullptr;
    db.applyFrame(frame, QStringLiteral("2026-12-09 02:00:00"));
    return db.find(QString::fromUtf8(name));
}

TEST(AprsFaults, HeightsAboveSixteenBitsReachTheRecord)
{
    const struct {
        const char *line;
        qint32 height;
    } cases[] = {
        {"BALLOON>APRS:!4903.50N/07201.75WO/A=041216", 41216},
        {"BALLOON>APRS:!4903.50N/07201.75WO/A=999999", 999999},
        // Compressed: cs = 60 * 91 + 47 = 5507, 1.002^5507 = 60054.07 ft; T "3" marks a GGA fix.
        {"BALLOON>APRS:!/5L!!<*e7O]P3", 60054},
        {"CAR>APRS:!4903.50N/07201.75W>/A=-00012", -12},
        {"HOME>APRS:!4903.50N/07201.75W-", HostStationRecord::NoHeight},
    };
    for (const auto &c : cases) {
        StationDatabase db;
        const StationDatabase::Entry *e = hear(db, c.line, QByteArray(c.line).split('>').first().constData());
        ASSERT_NE(e, nullptr) << c.line;
        EXPECT_EQ(e->record().height, c.height) << c.line;
    }
}

TEST(AprsFaults, CourseAndSpeedAreReadApart)
{
    const struct {
        const char *payload;
        int course;
        double speed;
    } cases[] = {
        {"!4903.50N/07201.75W>361/010", -1, 10},
        {"!4903.50N/07201.75W>360/010", 360, 10},
        {"!4903.50N/07201.75W>999/000", -1, 0},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode(c.payload);
        EXPECT_EQ(r.course, c.course) << c.payload;
        EXPECT_DOUBLE_EQ(r.speed, c.speed) << c.payload;
    }
    // And the record says so: no course, no speed for a fixed station.
    StationDatabase db;
    const StationDatabase::Entry *home = hear(db, "HOME>APRS:!4903.50N/07201.75W-", "HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->record().course, HostStationRecord::NoCourse);
    EXPECT_LT(home->record().speed, 0);
}

TEST(AprsFaults, ObjectAndItemNamesAreCountedInBytes)
{
    const struct {
        const char *payload;
        const char *name;  // empty: not decoded
    } cases[] = {
        {";\xc3\x9c" "ber    *092345z4903.50N/07201.75W>", "\xc3\x9c" "ber"},
        {";LEADER   *092345z4903.50N/07201.75W>", "LEADER"},
        {";\xe2\x82\xac" "uro   *092345z4903.50N/07201.75W>", "\xe2\x82\xac" "uro"},
        // Ten bytes, ten characters: no "*" where the name ends.
        {";\xc3\x9c" "ber      *092345z4903.50N/07201.75W>", ""},
        {")\xc3\x9c" "b!4903.50N/07201.75WA", "\xc3\x9c" "b"},
        {")AID #2!4903.50N/07201.75WA", "AID #2"},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode(c.payload);
        EXPECT_EQ(r.objectName, QString::fromUtf8(c.name)) << c.payload;
        EXPECT_LE(aprs::utf8Size(r.objectName), 9);
    }
    // A line read as Latin-1 holds the name in nine characters.
    const AprsReport latin = decodeAprs(u"APRS", QString::fromLatin1(";\xdc" "ber     *092345z4903.50N/07201.75W>"));
    EXPECT_EQ(latin.objectName, QString::fromLatin1("\xdc" "ber"));
}

TEST(AprsFaults, DoublyWrappedThirdPartyNamesNoStation)
{
    StationDatabase db;
    hear(db, "N0GATE>APRS:}}N0CALL>APRS,TCPIP:!4903.50N/07201.75W-", "N0GATE");
    EXPECT_EQ(db.find(QStringLiteral("}N0CALL")), nullptr);
    EXPECT_EQ(db.size(), 1);
}

TEST(AprsFaults, MicEDestinationsTheFormatForbidsAreRefused)
{
    // Places 4-6 carry the flags: only 0-9, L and P-Z.
    for (const char *destination : {"S32A6T", "S32UBT", "S32U6K", "S32U6A"})
        EXPECT_FALSE(decode("`(_fn\"Oj/", destination).hasPosition) << destination;
    EXPECT_TRUE(decode("`(_fn\"Oj/", "S32U6T").hasPosition);
}

TEST(AprsFaults, NmeaWithoutChecksumMustHaveAllItsFields)
{
    const struct {
        const char *payload;
        bool position;
    } cases[] = {
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W", true},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,08", false},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", true},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,54", false},
        {"$GPGLL,4916.45,N,12311.12,W", true},
        {"$GPGLL,4916.45,N,12311.1", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(decode(c.payload, "GPS").hasPosition, c.position) << c.payload;
}

TEST(AprsKinds, MicEMessageTypes)
{
    // The first three destination characters: P-Z a standard 1, A-K a custom 1, 0-9 and L a 0.
    const struct {
        const char *destination;
        const char *message;
    } cases[] = {
        {"SUPU6T", "Off Duty"}, {"SU2U6T", "En Route"}, {"S3PU6T", "In Service"}, {"S32U6T", "Returning"},
        {"3UPU6T", "Committed"}, {"3U2U6T", "Special"}, {"33PU6T", "Priority"},  {"332U6T", "Emergency"},
        {"CDEU6T", "Custom-0"}, {"C32U6T", "Custom-3"}, {"33EU6T", "Custom-6"}, {"S3CU6T", "Unknown"},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode("`(_fn\"Oj/", c.destination);
        ASSERT_TRUE(r.hasPosition) << c.destination;
        EXPECT_EQ(r.micEMessage, QLatin1String(c.message)) << c.destination;
        EXPECT_EQ(r.emergency(), QByteArray(c.message) == "Emergency");
    }
}

TEST(AprsKinds, TheMicEMessageTypeReachesTheRecordAndGoesWithTheNextReport)
{
    StationDatabase db;
    const StationDatabase::Entry *e = hear(db, "N0CALL>332U6T:`(_fn\"Oj/]Help=", "N0CALL");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->record().message, QLatin1String("Emergency"));
    e = hear(db, "N0CALL>APRS:!4903.50N/07201.75W>", "N0CALL");
    EXPECT_TRUE(e->record().message.isEmpty());
}

TEST(AprsKinds, MicERadioSuffixAndTelemetryLeaveTheComment)
{
    const struct {
        const char *payload;
        const char *comment;
        int altitude;
        int telemetryChannels;  // 0: none
    } cases[] = {
        {"`(_fn\"Oj/]Going home=", "Going home", INT_MIN, 0},
        {"`(_fn\"Oj/>Going home^", "Going home", INT_MIN, 0},
        {"`(_fn\"Oj/`Going home_%", "Going home", INT_MIN, 0},
        {"`(_fn\"Oj/'Going home|3", "Going home", INT_MIN, 0},
        // "!4T}" is (0 * 91 + 19) * 91 + 51 = 1780 m above -10000: -8220 m.
        {"`(_fn\"Oj/]!4T}Going=", "Going", -26969, 0},
        {"`(_fn\"Oj/`0102030A0F", "", INT_MIN, 5},
        {"`(_fn\"Oj/'FF80 hello", "hello", INT_MIN, 3},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode(c.payload, "S32U6T");
        ASSERT_TRUE(r.hasPosition) << c.payload;
        EXPECT_EQ(r.comment, QLatin1String(c.comment)) << c.payload;
        EXPECT_EQ(r.altitude, c.altitude) << c.payload;
        EXPECT_EQ(r.hasTelemetry, c.telemetryChannels > 0) << c.payload;
        if (c.telemetryChannels) {
            EXPECT_EQ(r.telemetry.analogCount, c.telemetryChannels) << c.payload;
        }
    }
    const AprsReport five = decode("`(_fn\"Oj/`0102030A0F", "S32U6T");
    EXPECT_EQ(five.telemetry.analog[3], 10);
    EXPECT_EQ(five.telemetry.analog[4], 15);
    const AprsReport two = decode("`(_fn\"Oj/'FF80 hello", "S32U6T");
    EXPECT_EQ(two.telemetry.analog[0], 255);
    EXPECT_EQ(two.telemetry.analog[2], 128);
}

TEST(AprsKinds, DaoRefinesThePositionAndLeavesTheComment)
{
    // 49 03.50 N / 072 01.75 W; "!W12!" makes it 03.501 and 01.752;
    // "!wZ(!" adds 57 / 91 and 7 / 91 of a hundredth of a minute.
    const struct {
        const char *payload;
        double latitude, longitude;
        const char *comment;
        char datum;
    } cases[] = {
        {"!4903.50N/07201.75W-Test!W12!", 49 + 3.501 / 60, -(72 + 1.752 / 60), "Test", 'W'},
        {"!4903.50S/07201.75E-!W12!Test", -(49 + 3.501 / 60), 72 + 1.752 / 60, "Test", 'W'},
        {"!4903.50N/07201.75W-!wZ(!", 49 + (3.50 + 57 / 91.0 * 0.01) / 60, -(72 + (1.75 + 7 / 91.0 * 0.01) / 60), "", 'W'},
        {"!4903.50N/07201.75W-Hi! there", 49 + 3.50 / 60, -(72 + 1.75 / 60), "Hi! there", '\0'},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode(c.payload);
        EXPECT_NEAR(r.latitude, c.latitude, Tol) << c.payload;
        EXPECT_NEAR(r.longitude, c.longitude, Tol) << c.payload;
        EXPECT_EQ(r.comment, QLatin1String(c.comment)) << c.payload;
        EXPECT_EQ(r.dao, c.datum ? QChar(c.datum) : QChar()) << c.payload;
    }
    const AprsReport mice = decode("`(_fn\"Oj/]Going!W55!=", "S32U6T");
    EXPECT_EQ(mice.comment, QLatin1String("Going"));
    EXPECT_EQ(mice.dao, QChar(u'W'));
}

TEST(AprsKinds, CompressedRangeAndBase91Telemetry)
{
    // "{?": range 2 x 1.08^30 = 20.125 miles.
    const AprsReport ranged = decode("!/5L!!<*e7>{?!");
    EXPECT_NEAR(ranged.range, 2 * std::pow(1.08, 30), 1e-9);
    EXPECT_EQ(ranged.course, -1);

    // "|ss11|": sequence 82 x 91 + 82 = 7544, one channel of 16 x 91 + 16 = 1472.
    const struct {
        const char *payload;
        bool telemetry;
        const char *sequence;
        int channels;
        const char *bits;
        const char *comment;
    } cases[] = {
        {"!4903.50N/07201.75W-Test|ss11|", true, "7544", 1, "", "Test"},
        {"!4903.50N/07201.75W-|!!!!!!!!!!!!!\"|", true, "000", 5, "10000000", ""},
        {"!4903.50N/07201.75W-|ss1|odd", false, "", 0, "", "|ss1|odd"},
        {"!4903.50N/07201.75W-a|b", false, "", 0, "", "a|b"},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode(c.payload);
        EXPECT_EQ(r.hasTelemetry, c.telemetry) << c.payload;
        EXPECT_EQ(r.comment, QLatin1String(c.comment)) << c.payload;
        if (!c.telemetry)
            continue;
        EXPECT_EQ(r.telemetry.sequence, QLatin1String(c.sequence)) << c.payload;
        EXPECT_EQ(r.telemetry.analogCount, c.channels) << c.payload;
        EXPECT_EQ(r.telemetry.bits, QLatin1String(c.bits)) << c.payload;
    }
    EXPECT_EQ(decode("!4903.50N/07201.75W-Test|ss11|").telemetry.analog[0], 1472);
}

TEST(AprsKinds, CommentTelemetryIsKeptWithTheStationsTelemetry)
{
    StationDatabase db;
    hear(db, "N0CALL>APRS:!4903.50N/07201.75W-Test|ss11|", "N0CALL");
    const telemetry::Station *station = db.telemetryOf(QStringLiteral("N0CALL"));
    ASSERT_NE(station, nullptr);
    EXPECT_TRUE(station->hasReport);
    EXPECT_EQ(station->latest.sequence, QLatin1String("7544"));
    EXPECT_EQ(station->latest.analog[0], 1472);
    EXPECT_EQ(db.find(QStringLiteral("N0CALL"))->record().information, QLatin1String("!4903.50N/07201.75W-Test|ss11|"));
}

TEST(AprsKinds, PositionlessWeatherStationsInTheUnderscoreForm)
{
    const struct {
        const char *payload;
        const char *weather;
    } cases[] = {
        {"$ULTW0000000001FF000427C70002CCD30001026E003A050F00040000", "_c360s000g000t051P004h62b10183"},
        // Gust 8.6 km/h = 5 mph from 181 / 256 of the compass (255); 50.5 F; 1020.7 mb; 60.9 %; 6.5 km/h.
        {"$ULTW005600B501F9000027DFFFFCC64E000102610040042900000041", "_c255s004g005t051P000h61b10207"},
        // Logging mode: speed, direction, temperature; no barometer or humidity fitted.
        {"!!000000A600B50000----------------001C01D500000017", "_c233s000g...t018P000h..b....."},
        {"_10090556c220s004g005t077r000p000P000h50b09900wRSW", "_10090556c220s004g005t077r000p000P000h50b09900wRSW"},
    };
    for (const auto &c : cases) {
        const AprsReport r = decode(c.payload);
        EXPECT_EQ(r.kind, AprsReport::Kind::PositionlessWeather) << c.payload;
        EXPECT_EQ(r.weather, QLatin1String(c.weather)) << c.payload;
        EXPECT_FALSE(r.hasPosition);
    }
    EXPECT_EQ(decode("$ULTW00").kind, AprsReport::Kind::Unknown);
    EXPECT_EQ(decode("!!0000zz").kind, AprsReport::Kind::Unknown);
}

TEST(AprsKinds, TimeStampsAreKeptAsSent)
{
    EXPECT_EQ(decode("@234517h4903.50N/07201.75W-").timestamp, QLatin1String("234517h"));
    EXPECT_EQ(decode("/092345/4903.50N/07201.75W-").timestamp, QLatin1String("092345/"));
    EXPECT_EQ(decode(";LEADER   *092345z4903.50N/07201.75W>").timestamp, QLatin1String("092345z"));
    EXPECT_TRUE(decode("!4903.50N/07201.75W-").timestamp.isEmpty());
}

} // namespace
