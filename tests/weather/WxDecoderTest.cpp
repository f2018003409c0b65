#include <gtest/gtest.h>

#include "weather/WxDecoder.h"

namespace {

struct Expected
{
    const char *report;
    float direction, speed, gust, temperature, humidity, rain;
    const char *rainLabel;
    float pressure;
};

constexpr float A = kWxAbsent;

} // namespace

TEST(WxDecoder, ReadingsOfEachReportForm)
{
    const Expected cases[] = {
        // The letter form with a trailing station type.
        {"_12072202c052s001g002t068r000p000P000h72b10191wDAV", 52, 1, 2, 68, 72, 0, "Rain Today", 1019.1f},
        // Direction/speed form as a full position report stores it.
        {"_200/004g007t043r000p003P002h80b10132Cowley WX", 200, 4, 7, 43, 80, 0.508f, "Rain Today", 1013.2f},
        // A two-digit direction is not the direction/speed form; no "c" or "s" either.
        {"_91/000g000t056r000P000p000h81b10186zU2k", A, A, 0, 56, 81, 0, "Rain Today", 1018.6f},
        // Humidity 00 is 100 %; only the 24-hour rain letter.
        {"_c180s010t050p100h00", 180, 10, A, 50, 100, 25.4f, "Rain In Last 24 Hours", A},
        // Only the last-hour letter; pressure sent without its thousands.
        {"_c090s000t032r020b00986", 90, 0, A, 32, A, 5.08f, "Rain In Last Hour", 998.6f},
        // "T" only when there is no "t"; "H" only when there is no "h".
        {"_c010s002T060H55", 10, 2, A, 60, 55, A, "", A},
        // A "t" with no number after it falls back to "T".
        {"_c010s002tT060", 10, 2, A, 60, A, A, "", A},
        // Nothing at all.
        {"_", A, A, A, A, A, A, "", A},
        // A "+" is a sign like "-".
        {"_c+90s+05t+5b+10150", 90, 5, A, 5, A, A, "", 1015.0f},
        // Dots or blanks stand for a sensor the station lacks: no reading, not 0.
        {"_.../...g...t...r...p...P...h..b.....", A, A, A, A, A, A, "", A},
        {"_c   s   g   t   h  b     ", A, A, A, A, A, A, "", A},
        // A blank after the digits ends the number: the comment's digits are not joined on.
        {"_c090s005t077 1234 Main St", 90, 5, A, 77, A, A, "", A},
        {"_c090s005b10150 13.8V", 90, 5, A, A, A, A, "", 1015.0f},
        // A rain letter without a number gives no label either.
        {"_c090s005t050P h50", 90, 5, A, 50, 50, A, "", A},
    };
    for (const Expected &e : cases) {
        SCOPED_TRACE(e.report);
        const WxReadings r = decodeWxReport(QString::fromLatin1(e.report));
        EXPECT_TRUE(r.hasWeather);
        EXPECT_FLOAT_EQ(r.direction, e.direction);
        EXPECT_FLOAT_EQ(r.speed, e.speed);
        EXPECT_FLOAT_EQ(r.gust, e.gust);
        EXPECT_FLOAT_EQ(r.temperature, e.temperature);
        EXPECT_FLOAT_EQ(r.humidity, e.humidity);
        EXPECT_FLOAT_EQ(r.rain, e.rain);
        EXPECT_EQ(r.rainLabel, QString::fromLatin1(e.rainLabel));
        EXPECT_FLOAT_EQ(r.pressure, e.pressure);
    }
}

TEST(WxDecoder, FullPositionReportIsReadFromItsUnderscoreAndPhgIsNoWeather)
{
    const WxReadings full = decodeWxReport(QStringLiteral("@291229z3614.79N/09549.68W_090/005g010t056"));
    EXPECT_FLOAT_EQ(full.direction, 90);
    EXPECT_FLOAT_EQ(full.speed, 5);

    EXPECT_FALSE(decodeWxReport(QStringLiteral("_PHG5130/A=000420")).hasWeather);
    EXPECT_FALSE(decodeWxReport(QStringLiteral("!5130.00N/00007.50W_PHG5130")).hasWeather);
    // Letters anywhere count, the first occurrence wins: the comment's "t" is not read.
    const WxReadings first = decodeWxReport(QStringLiteral("_c000s000t050 test t099"));
    EXPECT_FLOAT_EQ(first.temperature, 50);
}

TEST(WxDecoder, PressureIsCorrectedOnlyOutsideItsPlausibleRange)
{
    const struct {
        const char *report;
        float pressure;
    } cases[] = {{"_b10191", 1019.1f}, {"_b00186", 1018.6f}, {"_b00986", 998.6f},
                 {"_b09001", 900.1f},  {"_b11000", 2000.0f}, {"_B09950", 995.0f},
                 // A station high up reads far below 900 mb: no leading digits were dropped.
                 {"_b09000", 900.0f},  {"_b08500", 850.0f},  {"_b05012", 501.2f},  {"_b01000", 100.0f},
                 {"_b00999", 999.9f}};
    for (const auto &c : cases)
        EXPECT_FLOAT_EQ(decodeWxReport(QString::fromLatin1(c.report)).pressure, c.pressure) << c.report;
}

TEST(WxDecoder, AReadingLetterWithoutANumberGivesWayToTheNext)
{
    const struct {
        const char *report;
        float rain;  // millimetres
        const QString *label;
        float temperature, humidity, pressure;
    } cases[] = {
        {"_c...s...t...P...p012r003", 3.048f, &kRainLast24Hours, kWxAbsent, kWxAbsent, kWxAbsent},
        {"_P...p...r010T050", 2.54f, &kRainLastHour, 50, kWxAbsent, kWxAbsent},
        {"_t...T068h..H45b.....B10132", kWxAbsent, nullptr, 68, 45, 1013.2f},
        {"_P005p012", 1.27f, &kRainToday, kWxAbsent, kWxAbsent, kWxAbsent},
    };
    for (const auto &c : cases) {
        const WxReadings r = decodeWxReport(QString::fromLatin1(c.report));
        EXPECT_FLOAT_EQ(r.rain, c.rain) << c.report;
        if (c.label) {
            EXPECT_EQ(r.rainLabel, *c.label) << c.report;
        }
        EXPECT_FLOAT_EQ(r.temperature, c.temperature) << c.report;
        EXPECT_FLOAT_EQ(r.humidity, c.humidity) << c.report;
        EXPECT_FLOAT_EQ(r.pressure, c.pressure) << c.report;
    }
}

TEST(WxDecoder, GetValueOnBlanksDotsSignsAndTheEnd)
{
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t 56x"), 2), 56);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t   x"), 2), kWxAbsent);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t...x"), 2), kWxAbsent);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t-x"), 2), kWxAbsent);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t-05h"), 2), -5);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t+05h"), 2), 5);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t 1 2h"), 2), 1);  // a blank after a digit ends the number
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t12.5.3"), 2), 12.5f);
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t"), 2), kWxAbsent);   // the letter is the last character
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t"), 0), kWxAbsent);
    // More than single precision holds is no reading, not infinity.
    EXPECT_FLOAT_EQ(GetValue(QStringLiteral("t") + QString(60, u'9'), 2), kWxAbsent);

    EXPECT_TRUE(IsNumeric(u"7", false));
    EXPECT_FALSE(IsNumeric(u"-", false));
    EXPECT_TRUE(IsNumeric(u"-", true));
    EXPECT_TRUE(IsNumeric(u".", true));
    EXPECT_FALSE(IsNumeric(u"e", true));
    EXPECT_FALSE(IsNumeric(u"", true));
    EXPECT_FALSE(IsNumeric(u"12", true));

    EXPECT_DOUBLE_EQ(leadingNumber(u"  -1.5e2x"), -150);
    EXPECT_DOUBLE_EQ(leadingNumber(u"+"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(u" + 2.5"), 2.5);
    EXPECT_DOUBLE_EQ(leadingNumber(u"3e"), 3);
}

TEST(WxDecoder, DewPointAndWindChill)
{
    const WxReadings r = decodeWxReport(QStringLiteral("_12072202c052s001g002t068r000p000P000h72b10191wDAV"));
    EXPECT_NEAR(r.dewPointC, 14.80, 0.01);
    EXPECT_NEAR(r.dewPointF, 58.64, 0.01);
    // A light wind at 20 °C chills nothing: the chill is the temperature.
    EXPECT_FLOAT_EQ(r.windChillC, 20);
    EXPECT_FLOAT_EQ(r.windChillF, 68);

    // Saturated air: the dew point is the temperature; humidity 0 is taken as a trace.
    EXPECT_NEAR(calculateDewPoint(100, 12.5f), 12.5, 1e-4);
    EXPECT_LT(calculateDewPoint(0, 20), -100);
    EXPECT_FLOAT_EQ(calculateDewPoint(-5, 20), kWxAbsent);

    // At zero wind the factor is 0.474266, and the chill never rises above the temperature.
    EXPECT_NEAR(CheckWindChill(0, 40), 0.474266 * 7 + 33, 1e-4);
    EXPECT_FLOAT_EQ(CheckWindChill(0, 10), 10);
    EXPECT_NEAR(CheckWindChill(10, -5), -22.31, 0.01);
    EXPECT_FLOAT_EQ(CheckWindChill(-1, 10), kWxAbsent);

    // A strong cold wind: 30 mph at 23 °F.
    const WxReadings cold = decodeWxReport(QStringLiteral("_c000s030t023h50"));
    EXPECT_FLOAT_EQ(cold.windChillC, -25);
    EXPECT_FLOAT_EQ(cold.windChillF, -13);
    // Without humidity there is no dew point; without wind no chill.
    const WxReadings dry = decodeWxReport(QStringLiteral("_t050"));
    EXPECT_FLOAT_EQ(dry.dewPointC, kWxAbsent);
    EXPECT_FLOAT_EQ(dry.windChillF, kWxAbsent);
}

TEST(WxDecoder, WindChillRoundsHalvesToEvenInBothUnits)
{
    EXPECT_FLOAT_EQ(roundHalfEven(2.5), 2);
    EXPECT_FLOAT_EQ(roundHalfEven(3.5), 4);
    EXPECT_FLOAT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_FLOAT_EQ(roundHalfEven(-2.6), -3);
    EXPECT_FLOAT_EQ(roundHalfEven(0.49), 0);

    // Calm air at exactly x.5 °C: the chill is the temperature, rounded to
    // even, and its Fahrenheit form is rounded again.
    const struct {
        const char *report;
        float c, f;
    } cases[] = {{"_000/000t036.5", 2, 36}, {"_000/000t045.5", 8, 46}, {"_000/000t027.5", -2, 28}};
    for (const auto &c : cases) {
        const WxReadings r = decodeWxReport(QString::fromLatin1(c.report));
        EXPECT_FLOAT_EQ(r.windChillC, c.c) << c.report;
        EXPECT_FLOAT_EQ(r.windChillF, c.f) << c.report;
    }
    EXPECT_FLOAT_EQ(decodeWxReport(QStringLiteral("_000/000t036.5")).temperatureIn(true), 2.5f);
    EXPECT_FLOAT_EQ(decodeWxReport(QStringLiteral("_000/000t036.5")).temperatureIn(false), 36.5f);
}
