// Decoded values are checked against figures worked out by hand from the
// encodings (degrees + minutes / 60; base-91 and Mic-E arithmetic).
#include "host/aprs/AprsDecoder.h"

#include <gtest/gtest.h>

namespace {

constexpr double Tol = 1e-5;

AprsReport decode(const char *payload, const char *destination = "APRS")
{
    return decodeAprs(QString::fromLatin1(destination), QString::fromLatin1(payload));
}

struct PositionCase
{
    const char *payload;
    double latitude, longitude;
    char table, code;
    int course;
    double speed;
    int altitude;
    int ambiguity;
    const char *name;
};

class UncompressedPositions : public ::testing::TestWithParam<PositionCase>
{
};

TEST_P(UncompressedPositions, DecodeToWorkedValues)
{
    const PositionCase &c = GetParam();
    const AprsReport r = decode(c.payload);
    ASSERT_TRUE(r.hasPosition) << c.payload;
    EXPECT_EQ(r.kind, AprsReport::Kind::Position);
    EXPECT_NEAR(r.latitude, c.latitude, Tol);
    EXPECT_NEAR(r.longitude, c.longitude, Tol);
    EXPECT_EQ(r.symbolTable, QChar(c.table));
    EXPECT_EQ(r.symbolCode, QChar(c.code));
    EXPECT_EQ(r.course, c.course);
    EXPECT_NEAR(r.speed, c.speed, 1e-9);
    EXPECT_EQ(r.altitude, c.altitude);
    EXPECT_EQ(r.ambiguity, c.ambiguity);
}

// 49 03.50 N = 49.0583333, 072 01.75 W = -72.0291667
INSTANTIATE_TEST_SUITE_P(
    AllTypeCharacters, UncompressedPositions,
    ::testing::Values(
        PositionCase{"!4903.50N/07201.75W-Test 001234", 49.0583333, -72.0291667, '/', '-', -1, -1, INT_MIN, 0, "Plain"},
        PositionCase{"=4903.50N/07201.75W-", 49.0583333, -72.0291667, '/', '-', -1, -1, INT_MIN, 0, "PlainMessaging"},
        PositionCase{"@092345z4903.50N/07201.75W>088/036/A=001234", 49.0583333, -72.0291667, '/', '>', 88, 36,
                     1234, 0, "StampedWithExtensions"},
        PositionCase{"/092345z4903.50N/07201.75W>", 49.0583333, -72.0291667, '/', '>', -1, -1, INT_MIN, 0, "StampedNoMessaging"},
        PositionCase{"@234517h3614.79S\\14455.20E#PHG5130", -36.2465, 144.92, '\\', '#', -1, -1, INT_MIN, 0, "AlternateTableHms"},
        // An overlay digit as table, negative altitude.
        PositionCase{"!5130.00N300007.50Wk/A=-00012", 51.5, -0.125, '3', 'k', -1, -1, -12, 0, "OverlayNegativeAltitude"},
        // Weather symbol: "220/004" is wind, not course and speed.
        PositionCase{"!4903.50N/07201.75W_220/004g005t077r000", 49.0583333, -72.0291667, '/', '_', -1, -1,
                     INT_MIN, 0, "WeatherWindIsNotCourse"},
        // Ambiguity: blanks stand for the middle of the area they leave open.
        PositionCase{"!4903.5 N/07201.7 W-", 49.0591667, -72.0291667, '/', '-', -1, -1, INT_MIN, 1, "AmbiguityOne"},
        PositionCase{"!4903.  N/07201.  W-", 49.0583333, -72.025, '/', '-', -1, -1, INT_MIN, 2, "AmbiguityTwo"},
        PositionCase{"!490 .  N/0720 .  W-", 49.0833333, -72.0833333, '/', '-', -1, -1, INT_MIN, 3, "AmbiguityThree"},
        // The latitude's ambiguity carries over to a fully written longitude.
        PositionCase{"!49  .  N/07201.75W-", 49.5, -72.5, '/', '-', -1, -1, INT_MIN, 4, "LatitudeAmbiguityCarriesOver"},
        // Free text before the "!" of a plain position.
        PositionCase{"TheNet X1J4 (BFLD)!4903.50N/07201.75Wn", 49.0583333, -72.0291667, '/', 'n', -1, -1,
                     INT_MIN, 0, "TextBeforeBang"}),
    [](const ::testing::TestParamInfo<PositionCase> &info) { return std::string(info.param.name); });

TEST(AprsDecoder, CompressedPositionWithCourseAndSpeed)
{
    // y = 5L!! -> 20*91^3 + 43*91^2 = 15,427,503; lat = 90 - y/380926 = 49.5
    // x = <*e7 -> lon = -180 + x/190463 = -72.75; c '7' -> (55-33)*4 = 88 deg,
    // s 'P' -> 1.08^(80-33) - 1 = 36.2 knots.
    const AprsReport r = decode("=/5L!!<*e7>7P[");
    ASSERT_TRUE(r.hasPosition);
    EXPECT_TRUE(r.compressed);
    EXPECT_NEAR(r.latitude, 49.5, 1e-4);
    EXPECT_NEAR(r.longitude, -72.75, 1e-4);
    EXPECT_EQ(r.symbolCode, QChar(u'>'));
    EXPECT_EQ(r.course, 88);
    EXPECT_NEAR(r.speed, 36.2, 0.05);
    EXPECT_EQ(r.altitude, INT_MIN);
}

TEST(AprsDecoder, CompressedAltitudeAndOverlay)
{
    // T 'S' (50) has GGA source bits, so cs = 'S' ']' is altitude:
    // 1.002^((83-33)*91 + (93-33)) = 1.002^4610 = 10004.52 ft, to the
    // nearest foot 10005 (the protocol's own example prints it cut to 10004).
    const AprsReport r = decode("!/5L!!<*e7OS]S");
    ASSERT_TRUE(r.hasPosition);
    EXPECT_EQ(r.altitude, 10005);
    EXPECT_EQ(r.course, -1);

    // Table "a" is the overlay digit 0.
    const AprsReport overlay = decode("!a5L!!<*e7#   ");
    ASSERT_TRUE(overlay.hasPosition);
    EXPECT_EQ(overlay.symbolTable, QChar(u'0'));
    EXPECT_EQ(overlay.course, -1);
}

TEST(AprsDecoder, MicEPositionCourseSpeedSymbolAltitude)
{
    // Worked encoding of 51 27.12 N, 002 35.45 W, 35 kn, course 251, 120 m:
    // destination 5 1 2 W(7,N) Q(1,+100) R(2,W); longitude 2 deg = 92+28 'x',
    // 35 min '?', 45 hundredths 'I'; speed 35: 83+28 'o', DC 52+28 'P', SE 51+28 'O';
    // altitude 10120 in base 91 = 1,20,19 -> '"54}'.
    const AprsReport r = decode("`x?IoPO>/\"54}Going home", "512WQR");
    ASSERT_TRUE(r.hasPosition);
    EXPECT_EQ(r.kind, AprsReport::Kind::MicE);
    EXPECT_NEAR(r.latitude, 51.452, Tol);
    EXPECT_NEAR(r.longitude, -2.5908333, Tol);
    EXPECT_EQ(r.symbolCode, QChar(u'>'));
    EXPECT_EQ(r.symbolTable, QChar(u'/'));
    EXPECT_EQ(r.course, 251);
    EXPECT_EQ(r.speed, 35);
    EXPECT_EQ(r.altitude, 394);  // 120 m
    EXPECT_EQ(r.comment, QStringLiteral("Going home"));
}

TEST(AprsDecoder, MicESouthEastWithSsidAndAmbiguity)
{
    // Destination 3 3 5 2 P(0, +100) 1: 33 52.01, char 3 a digit -> south,
    // char 5 a digit -> east; the SSID is not part of the encoding.
    const AprsReport r = decode("`K-'l\"Kj/", "3352P1-9");
    ASSERT_TRUE(r.hasPosition);
    EXPECT_NEAR(r.latitude, -(33 + 52.01 / 60), Tol);
    // lon: 'K' 75-28 = 47 + 100 = 147; '-' 45-28 = 17; '\'' 39-28 = 11 -> 147 17.11 E
    EXPECT_NEAR(r.longitude, 147 + 17.11 / 60, Tol);
    // speed: 'l' 108-28 = 80 -> 800 + ('"' 34-28 = 6)/10 = 800 -> 0; course (6%10)*100 + ('K' 75-28 = 47) = 647 - 400 = 247
    EXPECT_EQ(r.speed, 0);
    EXPECT_EQ(r.course, 247);
    EXPECT_EQ(r.symbolCode, QChar(u'j'));

    const AprsReport blank = decode("`K-'l\"Kj/", "3352PZ");
    ASSERT_TRUE(blank.hasPosition);
    EXPECT_EQ(blank.ambiguity, 1);
    EXPECT_NEAR(blank.latitude, -(33 + 52.05 / 60), Tol);
}

TEST(AprsDecoder, MicERejectsBadDestinationOrShortField)
{
    EXPECT_FALSE(decode("`x?IoPO>/", "APRS").hasPosition);
    EXPECT_FALSE(decode("`x?IoPO>/", "512wqr").hasPosition);
    EXPECT_FALSE(decode("`x?Io", "512WQR").hasPosition);
    // A digit after a blanked one cannot be.
    EXPECT_FALSE(decode("`x?IoPO>/", "51ZWQR").hasPosition);
}

TEST(AprsDecoder, ObjectsItemsAndKills)
{
    const AprsReport object = decode(";LEADER   *092345z4903.50N/07201.75W>088/036");
    EXPECT_EQ(object.kind, AprsReport::Kind::Object);
    EXPECT_EQ(object.objectName, QStringLiteral("LEADER"));
    EXPECT_FALSE(object.killed);
    EXPECT_NEAR(object.latitude, 49.0583333, Tol);
    EXPECT_EQ(object.course, 88);

    const AprsReport killed = decode(";LEADER   _092345z4903.50N/07201.75W>");
    EXPECT_TRUE(killed.killed);

    const AprsReport compressedObject = decode(";CAR      *092345z/5L!!<*e7>7P[");
    EXPECT_NEAR(compressedObject.longitude, -72.75, 1e-4);

    const AprsReport item = decode(")AID #2!4903.50N/07201.75WA");
    EXPECT_EQ(item.kind, AprsReport::Kind::Item);
    EXPECT_EQ(item.objectName, QStringLiteral("AID #2"));
    EXPECT_EQ(item.symbolCode, QChar(u'A'));

    EXPECT_FALSE(decode(";SHORT*0923").hasPosition);
    EXPECT_FALSE(decode(")AB").hasPosition);
}

TEST(AprsDecoder, StatusWeatherAndOthers)
{
    const AprsReport status = decode(">Net Control Center");
    EXPECT_TRUE(status.hasStatus);
    EXPECT_EQ(status.status, QStringLiteral("Net Control Center"));
    EXPECT_EQ(decode(">092345zNet Control").status, QStringLiteral("Net Control"));
    EXPECT_EQ(decode(">").status, QString());

    const AprsReport wx = decode("_10090556c220s004g005t077r000p000P000h50b09900wRSW");
    EXPECT_EQ(wx.kind, AprsReport::Kind::PositionlessWeather);
    EXPECT_FALSE(wx.hasPosition);

    EXPECT_EQ(decode("}N0CALL>APRS,TCPIP:!4903.50N/07201.75W-").kind, AprsReport::Kind::ThirdParty);
    EXPECT_EQ(decode("").kind, AprsReport::Kind::Unknown);
    EXPECT_EQ(decode("T#005,199,000,255,073,123,01101001").kind, AprsReport::Kind::Telemetry);
}

TEST(AprsDecoder, MessagesCarryAddresseeTextAndNumber)
{
    const AprsReport message = decode(":N0CALL   :hello there{12");
    EXPECT_EQ(message.kind, AprsReport::Kind::Message);
    EXPECT_FALSE(message.hasPosition);
    EXPECT_EQ(message.addressee, QStringLiteral("N0CALL"));
    EXPECT_EQ(message.messageText, QStringLiteral("hello there"));
    EXPECT_EQ(message.messageId, QStringLiteral("12"));

    const AprsReport plain = decode(":BLN1     :Net at 8pm {curly} text");
    EXPECT_EQ(plain.addressee, QStringLiteral("BLN1"));
    EXPECT_EQ(plain.messageText, QStringLiteral("Net at 8pm {curly} text")) << "a long tail is no number";
    EXPECT_TRUE(plain.messageId.isEmpty());

    // A short addressee field is still a message, just one without an addressee.
    const AprsReport cut = decode(":N0CALL:x");
    EXPECT_EQ(cut.kind, AprsReport::Kind::Message);
    EXPECT_TRUE(cut.addressee.isEmpty());
}

TEST(AprsDecoder, CompressedWeatherCarriesWindNotCourse)
{
    // Symbol "_": c '7' -> 22 * 4 = 88 degrees; s 'P' -> 1.08^47 - 1 = 36.2 knots = 41.7 mph.
    const AprsReport wx = decode("!/5L!!<*e7_7P[g005t077");
    ASSERT_TRUE(wx.hasPosition);
    EXPECT_EQ(wx.symbolCode, QChar(u'_'));
    EXPECT_EQ(wx.windDirection, 88);
    EXPECT_NEAR(wx.windSpeed, 41.7, 0.05);
    EXPECT_EQ(wx.course, -1);
    EXPECT_EQ(wx.speed, -1);

    // The same bytes with a car symbol are the car's course and speed.
    const AprsReport car = decode("!/5L!!<*e7>7P[");
    EXPECT_EQ(car.course, 88);
    EXPECT_EQ(car.windDirection, -1);
}

TEST(AprsDecoder, StatusWithLocatorPlacesTheStationMidSquare)
{
    // IO91SV: I -> -180 + 8*20, 9 -> +18, S -> +18*5', centre +2.5' = -0.458333;
    // O -> -90 + 14*10, 1 -> +1, V -> +21*2.5', centre +1.25' = 51.895833.
    const AprsReport six = decode(">IO91SV/- Home station");
    EXPECT_EQ(six.kind, AprsReport::Kind::Status);
    ASSERT_TRUE(six.hasPosition);
    EXPECT_NEAR(six.latitude, 51.8958333, Tol);
    EXPECT_NEAR(six.longitude, -0.4583333, Tol);
    EXPECT_EQ(six.symbolTable, QChar(u'/'));
    EXPECT_EQ(six.symbolCode, QChar(u'-'));
    EXPECT_EQ(six.status, QStringLiteral("Home station"));

    // Four characters: the middle of a 2 by 1 degree square, here south-west.
    // FF: -180 + 5*20 = -80, -90 + 5*10 = -40; 45: -72, -35; centre -71, -34.5.
    const AprsReport four = decode(">FF45\\k");
    ASSERT_TRUE(four.hasPosition);
    EXPECT_NEAR(four.latitude, -34.5, Tol);
    EXPECT_NEAR(four.longitude, -71.0, Tol);
    EXPECT_EQ(four.symbolCode, QChar(u'k'));

    // Ordinary texts that merely start with letters and digits stay texts.
    for (const char *text : {">IO91 net tonight", ">AB12/-x", ">ZZ99/-", ">Net Control"}) {
        const AprsReport r = decode(text);
        EXPECT_FALSE(r.hasPosition) << text;
        EXPECT_EQ(r.status, QString::fromLatin1(text + 1)) << text;
    }
}

struct NmeaCase
{
    const char *payload;
    bool position;
    double latitude, longitude;
    int course;
    double speed;
    int altitude;
    const char *name;
};

class NmeaSentences : public ::testing::TestWithParam<NmeaCase>
{
};

TEST_P(NmeaSentences, DecodeToWorkedValues)
{
    const NmeaCase &c = GetParam();
    const AprsReport r = decode(c.payload, "GPS");
    ASSERT_EQ(r.hasPosition, c.position) << c.payload;
    if (!c.position)
        return;
    EXPECT_EQ(r.kind, AprsReport::Kind::Position);
    EXPECT_NEAR(r.latitude, c.latitude, Tol);
    EXPECT_NEAR(r.longitude, c.longitude, Tol);
    EXPECT_EQ(r.course, c.course);
    EXPECT_NEAR(r.speed, c.speed, 1e-9);
    EXPECT_EQ(r.altitude, c.altitude);
}

// 48 07.038 N = 48.1173, 011 31.000 E = 11.5166667; 545.4 m = 1789.37 ft;
// 33 51.000 S = -33.85, 151 12.500 W = -151.2083333; 34 56.789 S = -34.9464833,
// 058 12.345 W = -58.20575, 30 m = 98.43 ft; 49 16.45 N = 49.2741667,
// 123 11.12 W = -123.1853333. Checksums are the XOR of the bytes between "$" and "*".
INSTANTIATE_TEST_SUITE_P(
    GpsPayloads, NmeaSentences,
    ::testing::Values(
        NmeaCase{"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A", true, 48.1173, 11.5166667,
                 84, 22.4, INT_MIN, "RmcWithChecksum"},
        NmeaCase{"$GPRMC,225446,A,3351.000,S,15112.500,W,000.5,054.7,191194,020.3,E", true, -33.85, -151.2083333,
                 55, 0.5, INT_MIN, "RmcSouthWestNoChecksum"},
        NmeaCase{"$GPRMC,225446,A,3351.000,S,15112.500,W,,,191194,,\r\n", true, -33.85, -151.2083333, -1, -1,
                 INT_MIN, "RmcWithoutMotion"},
        NmeaCase{"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", true, 48.1173, 11.5166667, -1,
                 -1, 1789, "GgaAltitudeInFeet"},
        NmeaCase{"$GPGGA,000001,3456.789,S,05812.345,W,1,05,1.5,30.0,M,,,,", true, -34.9464833, -58.20575, -1, -1,
                 98, "GgaSouthWestNoChecksum"},
        NmeaCase{"$GPGLL,4916.45,N,12311.12,W,225444,A*31", true, 49.2741667, -123.1853333, -1, -1, INT_MIN,
                 "GllWithChecksum"},
        NmeaCase{"$GPGLL,4916.45,N,12311.12,W", true, 49.2741667, -123.1853333, -1, -1, INT_MIN, "GllOldShortForm"},
        NmeaCase{"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B", false, 0, 0, 0, 0, 0,
                 "BadChecksum"},
        NmeaCase{"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*4", false, 0, 0, 0, 0, 0,
                 "CutChecksum"},
        NmeaCase{"$GPRMC,123519,V,4807.038,N,01131.000,E,,,230394,,", false, 0, 0, 0, 0, 0, "RmcVoidFix"},
        NmeaCase{"$GPGGA,123519,4807.038,N,01131.000,E,0,00,,,M,,M,,", false, 0, 0, 0, 0, 0, "GgaNoFix"},
        NmeaCase{"$GPGLL,4916.45,N,12311.12,W,225444,V", false, 0, 0, 0, 0, 0, "GllVoid"},
        NmeaCase{"$GPRMC,123519,A,4867.038,N,01131.000,E,,,230394,,", false, 0, 0, 0, 0, 0, "SixtySevenMinutes"},
        NmeaCase{"$GPRMC,123519,A,807.038,N,01131.000,E,,,230394,,", false, 0, 0, 0, 0, 0, "ShortLatitude"},
        NmeaCase{"$GPRMC,123519,A,4807.038,X,01131.000,E,,,230394,,", false, 0, 0, 0, 0, 0, "BadHemisphere"},
        NmeaCase{"$GPWPL,4807.038,N,01131.000,E,WPTNME", false, 0, 0, 0, 0, 0, "OtherSentence"},
        NmeaCase{"$GPRMC", false, 0, 0, 0, 0, 0, "TypeOnly"}),
    [](const ::testing::TestParamInfo<NmeaCase> &info) { return std::string(info.param.name); });

TEST(AprsDecoder, MalformedPositionsGiveNoPosition)
{
    for (const char *bad : {"!4903.50X/07201.75W-", "!9103.50N/07201.75W-", "!4963.50N/07201.75W-",
                            "!4903.50N/18101.75W-", "!4903.50N/07201.75", "!49 3.50N/07201.75W-",
                            "@0923z4903.50N/07201.75W-", "=/5L!!<*e", "!4903.50N|07201.75W-"})
        EXPECT_FALSE(decode(bad).hasPosition) << bad;
}

} // namespace
