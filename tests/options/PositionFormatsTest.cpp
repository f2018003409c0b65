#include "options/Callsign.h"
#include "options/NationalGrid.h"
#include "options/NumberText.h"
#include "options/PositionFormats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Field
{
    QString text;
    QString partner = QStringLiteral("partner");
    QString result;
};

Field validate(const QString &text, bool longitude)
{
    Field f;
    f.text = text;
    f.result = strValidateLatLon(f.text, f.partner, longitude);
    return f;
}

double arcSeconds(double degrees) { return degrees * 3600.0; }

} // namespace

TEST(PositionFormats, AcceptedPositionsAreShownInTheirCanonicalForm)
{
    const struct { const char *typed; bool longitude; const char *shown; } cases[] = {
        {"51N", false, "51.00.00N"},
        {"51.30N", false, "51.30.00N"},
        {"51.30.5N", false, "51.30.05N"},
        {"51. 30N", false, "51.30.00N"},        // a blank after the point is skipped
        {"0.7.30W", true, "000.07.30W"},
        {"90.00.00N", false, "90.00.00N"},
        {"180.00.00E", true, "180.00.00E"},
        {"51.30.00N", false, "51.30.00N"},      // typed exactly: kept as typed
        {"51.3N", false, "51.03.00N"},          // digits after the point are whole minutes
        {"  05.10.20S  ", false, "05.10.20S"},  // blanks at the ends are trimmed
        {"000.00.00W", true, "000.00.00W"},
        {"7.59.99E", true, "007.59.99E"},
    };
    for (const auto &c : cases) {
        const Field f = validate(QString::fromLatin1(c.typed), c.longitude);
        EXPECT_EQ(f.result, PositionCheck::Ok) << c.typed;
        EXPECT_EQ(f.text, QString::fromLatin1(c.shown)) << c.typed;
        EXPECT_EQ(f.partner, QStringLiteral("partner")) << "a plain position leaves its partner alone";
    }
}

TEST(PositionFormats, RejectedPositionsNameTheirComponentAndStayAsTyped)
{
    const struct { const char *typed; bool longitude; } cases[] = {
        {"51.30.00n", false},   // lower-case hemisphere
        {"5130.00N", false},    // 5130 degrees
        {"91N", false},
        {"90.01N", false},
        {"90.00.01N", false},
        {"180.01E", true},
        {"51.60N", false},
        {"51.30.100N", false},
        {"5 1.30N", false},     // a blank between the degree digits
        {"N", false},
        {"51.30.00E", false},   // a longitude letter in a latitude field
        {"000.07.30N", true},
        {"-5.30N", false},
        {"99999N", false},      // beyond the 16-bit range
        {"51.99999N", false},
        {"IO91", false},        // not a grid reference and no hemisphere
    };
    for (const auto &c : cases) {
        const Field f = validate(QString::fromLatin1(c.typed), c.longitude);
        EXPECT_EQ(f.result, c.longitude ? PositionCheck::Longitude : PositionCheck::Latitude) << c.typed;
        EXPECT_EQ(f.text, QString::fromLatin1(c.typed)) << c.typed;
    }
    EXPECT_EQ(validate(QStringLiteral("   "), false).result, QString()) << "empty is neither Ok nor a component";
}

TEST(PositionFormats, CanonicalLayoutWithOddCharactersIsRebuiltSoItReadsBackAsChecked)
{
    // Points in place but a blank where a digit belongs: rebuilt from the
    // numbers that were checked, so what is stored matches what was checked.
    const Field f = validate(QStringLiteral("51.30.5 N"), false);
    EXPECT_EQ(f.result, PositionCheck::Ok);
    EXPECT_EQ(f.text, QStringLiteral("51.30.05N"));
    EXPECT_FLOAT_EQ(sConvertPos(f.text), 3090.05f);
}

TEST(PositionFormats, GridReferenceInEitherFieldFillsBoth)
{
    Field lat{QStringLiteral("SU 123 456"), QStringLiteral("000.00.00W"), {}};
    ASSERT_EQ(strValidateLatLon(lat.text, lat.partner, false), PositionCheck::Ok);
    EXPECT_EQ(lat.text, QStringLiteral("51.12.54N"));
    EXPECT_EQ(lat.partner, QStringLiteral("001.49.43W"));

    Field lon{QStringLiteral("su123456"), QStringLiteral("51.00.00N"), {}};
    ASSERT_EQ(strValidateLatLon(lon.text, lon.partner, true), PositionCheck::Ok);
    EXPECT_EQ(lon.text, QStringLiteral("001.49.43W"));
    EXPECT_EQ(lon.partner, QStringLiteral("51.12.54N"));
}

TEST(NationalGrid, ReferencesAreReadIntoMetres)
{
    QString text = QStringLiteral("SU 123 456");
    double northing = 0, easting = 0;
    ASSERT_TRUE(ParseGridReference(text, &northing, &easting));
    EXPECT_EQ(text, QStringLiteral("SU123456"));
    // 51.2090 N 1.8239 W, some 3.5 km north of SU 122 421.
    EXPECT_DOUBLE_EQ(easting, 412300);
    EXPECT_DOUBLE_EQ(northing, 145600);

    text = QStringLiteral("TQ3080");
    ASSERT_TRUE(ParseGridReference(text, &northing, &easting));
    EXPECT_EQ(text, QStringLiteral("TQ305805")) << "a 1 km reference means the square's centre";
    EXPECT_DOUBLE_EQ(easting, 530500);
    EXPECT_DOUBLE_EQ(northing, 180500);

    text = QStringLiteral("HP 000 000");  // the far north of Shetland
    ASSERT_TRUE(ParseGridReference(text, &northing, &easting));
    EXPECT_DOUBLE_EQ(easting, 400000);
    EXPECT_DOUBLE_EQ(northing, 1200000);
    text = QStringLiteral("SV000000");    // the grid's false origin square
    ASSERT_TRUE(ParseGridReference(text, &northing, &easting));
    EXPECT_DOUBLE_EQ(easting, 0);
    EXPECT_DOUBLE_EQ(northing, 0);

    for (const char *bad : {"IO91", "SI123456", "IU123456", "S1123456", "SU12345", "SU1234567", "SUX23456",
                            "SU12345X", "", "ABCDEFGH", "XX 123 456", "ZZ 000 000", "AA000000", "JZ000000"}) {
        QString t = QString::fromLatin1(bad);
        double n = -1, e = -1;
        EXPECT_FALSE(ParseGridReference(t, &n, &e)) << bad;
        EXPECT_EQ(t, QString::fromLatin1(bad)) << "left untouched";
        EXPECT_EQ(n, -1);
        EXPECT_EQ(e, -1);
    }
}

TEST(NationalGrid, PublishedWorkedExampleToATenThousandthOfASecond)
{
    double latitude = 0, longitude = 0;
    GridToLatLon(651409.903, 313177.270, &latitude, &longitude);
    // 52 39' 27.2531" N, 1 43' 4.5177" E
    EXPECT_NEAR(arcSeconds(latitude), 52 * 3600 + 39 * 60 + 27.2531, 1e-4);
    EXPECT_NEAR(arcSeconds(longitude), 1 * 3600 + 43 * 60 + 4.5177, 1e-4);

    // The true origin maps to 49 N 2 W.
    GridToLatLon(400000, -100000, &latitude, &longitude);
    EXPECT_NEAR(latitude, 49.0, 1e-12);
    EXPECT_NEAR(longitude, -2.0, 1e-12);
}

TEST(NationalGrid, AbsurdNumbersEndWithoutHanging)
{
    double latitude = 0, longitude = 0;
    GridToLatLon(1e300, 1e300, &latitude, &longitude);
    GridToLatLon(NAN, NAN, &latitude, &longitude);
    SUCCEED();
}

TEST(PositionFormats, ConvertReadsHundredthsAsHundredthsOfAMinute)
{
    EXPECT_FLOAT_EQ(sConvertPos(QStringLiteral("51.30.50N")), 3090.5f);
    EXPECT_FLOAT_EQ(sConvertPos(QStringLiteral("000.07.30W")), -7.3f);
    EXPECT_FLOAT_EQ(sConvertPos(QStringLiteral("000.07.50W")), -7.5f);
    EXPECT_FLOAT_EQ(sConvertPos(QStringLiteral("51N")), 3060.0f);
    EXPECT_FLOAT_EQ(sConvertPos(QStringLiteral("33.52.00S")), -2032.0f);
    EXPECT_FLOAT_EQ(sConvertPos(QStringLiteral("51.30.50n")), 0.0f);
    EXPECT_FLOAT_EQ(sConvertPos(QString()), 0.0f);
}

TEST(PositionFormats, FormatGivesHundredthsOfAMinuteAndRoundTrips)
{
    QString lat, lon;
    FormatLatLon(0.0f, -7.5f, &lat, &lon);
    EXPECT_EQ(lat, QStringLiteral("00.00.00N"));
    EXPECT_EQ(lon, QStringLiteral("000.07.50W"));
    FormatLatLon(52 * 60.0f, 0.0f, &lat, &lon);
    EXPECT_EQ(lat, QStringLiteral("52.00.00N"));
    EXPECT_EQ(lon, QStringLiteral("000.00.00E"));
    FormatLatLon(-90 * 60.0f, 180 * 60.0f, &lat, &lon);
    EXPECT_EQ(lat, QStringLiteral("90.00.00S"));
    EXPECT_EQ(lon, QStringLiteral("180.00.00E"));
    // A hair below a whole degree carries into the degrees.
    FormatLatLon(3119.999f, -59.998f, &lat, &lon);
    EXPECT_EQ(lat, QStringLiteral("52.00.00N"));
    EXPECT_EQ(lon, QStringLiteral("001.00.00W"));

    for (float minutes : {-7.3f, 3090.5f, -5399.99f, 0.01f, 10799.99f, -1234.56f}) {
        FormatLatLon(minutes, minutes, &lat, &lon);
        EXPECT_NEAR(sConvertPos(lon), minutes, 1e-3) << lon.toStdString();
        if (std::fabs(minutes) <= 5400) {
            EXPECT_NEAR(sConvertPos(lat), minutes, 1e-3) << lat.toStdString();
            QString partner;
            EXPECT_EQ(strValidateLatLon(lat, partner, false), PositionCheck::Ok) << "what is shown validates";
        }
        QString partner;
        EXPECT_EQ(strValidateLatLon(lon, partner, true), PositionCheck::Ok);
    }
}

TEST(Callsign, MasksAndSsids)
{
    for (const char *good : {"Q1XYZ", "2Q0XYZ", "QQ1XY", "Q1XYZ-9", "Q44XY", "Q1X", "Q1XYZ-", "Q1XYZ-15", "Q1XYZ-0",
                             "G4ABC-9", "M0KDB"})
        EXPECT_TRUE(ValidateCallsign(QString::fromLatin1(good))) << good;
    for (const char *bad : {"Q1XYZ-16", "-Q1XYZ", "Q1XYZ-1-2", "ABCD", "Q1", "Q1XYZAB", "q1xyz", "", "QQQ",
                            "111", "Q1XYZ-99999999999", "Q1XYZ--1", "Q 1XY"})
        EXPECT_FALSE(ValidateCallsign(QString::fromLatin1(bad))) << bad;
}

TEST(NumberText, LeadingNumberAndRounding)
{
    EXPECT_DOUBLE_EQ(NumberText::leadingNumber(u"14000.0"), 14000.0);
    EXPECT_DOUBLE_EQ(NumberText::leadingNumber(u" 1 2.5x"), 12.5);
    EXPECT_DOUBLE_EQ(NumberText::leadingNumber(u"-3.2.1"), -3.2);
    EXPECT_DOUBLE_EQ(NumberText::leadingNumber(u"51."), 51.0);
    EXPECT_DOUBLE_EQ(NumberText::leadingNumber(u"abc"), 0.0);
    EXPECT_DOUBLE_EQ(NumberText::leadingNumber(u"5-3"), 5.0);
    EXPECT_DOUBLE_EQ(NumberText::roundHalfEven(2.5), 2.0);
    EXPECT_DOUBLE_EQ(NumberText::roundHalfEven(3.5), 4.0);
    EXPECT_DOUBLE_EQ(NumberText::roundHalfEven(-2.5), -2.0);
    EXPECT_DOUBLE_EQ(NumberText::roundHalfEven(2.51), 3.0);
    qint16 v = 7;
    EXPECT_FALSE(NumberText::toInt16(32767.5, &v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(NumberText::toInt16(-32768.4, &v));
    EXPECT_EQ(v, -32768);
    double d = 0;
    EXPECT_FALSE(NumberText::strictNumber(QStringLiteral(""), &d));
    EXPECT_FALSE(NumberText::strictNumber(QStringLiteral("12a"), &d));
    EXPECT_TRUE(NumberText::strictNumber(QStringLiteral(" -12.5 "), &d));
    EXPECT_DOUBLE_EQ(d, -12.5);
}
