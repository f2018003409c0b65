#pragma once

#include <QString>

// Turns one stored weather report ("_" followed by lettered fields) into
// single-precision readings. Stored files were read with exactly these rules
// for years, so they are kept even where a letter in a trailing comment can
// be taken for a reading.

// Marks a reading the report does not carry.
inline constexpr float kWxAbsent = -9999.0f;

inline const QString kRainToday = QStringLiteral("Rain Today");
inline const QString kRainLast24Hours = QStringLiteral("Rain In Last 24 Hours");
inline const QString kRainLastHour = QStringLiteral("Rain In Last Hour");

struct WxReadings
{
    // False for a report holding "PHG" where the readings start: no weather.
    bool hasWeather = true;

    float direction = kWxAbsent;    // degrees
    float speed = kWxAbsent;        // as sent (miles per hour)
    float gust = kWxAbsent;         // as sent (miles per hour)
    float temperature = kWxAbsent;  // degrees Fahrenheit as sent
    float humidity = kWxAbsent;     // percent
    float rain = kWxAbsent;         // millimetres
    QString rainLabel;              // which letter gave the rain; empty when no rain was read
    float pressure = kWxAbsent;     // millibars
    float dewPointC = kWxAbsent;
    float windChillC = kWxAbsent;   // whole degrees
    float dewPointF = kWxAbsent;
    float windChillF = kWxAbsent;   // whole degrees

    float temperatureIn(bool centigrade) const;
    float dewPoint(bool centigrade) const { return centigrade ? dewPointC : dewPointF; }
    float windChill(bool centigrade) const { return centigrade ? windChillC : windChillF; }
};

// True for "0" to "9"; "+", "-" and "." give allowSigns; anything else false.
bool IsNumeric(QStringView character, bool allowSigns);

// The number at the 1-based position start: characters are taken while they
// are numeric (signs allowed), or blank until the first digit; -9999 when no
// digit was among them, since stations send dots or blanks for a sensor they
// lack. A number too large for single precision counts as absent.
float GetValue(const QString &report, qsizetype start);

// The leading number of a text the way the classic Val() reads it: blanks
// anywhere are skipped, it stops at the first other character, and text
// holding no number is 0.
double leadingNumber(QStringView text);

// Magnus form; humidity in percent, temperature and result in Celsius.
// A humidity or temperature that gives no real dew point gives -9999.
float calculateDewPoint(float humidity, float temperatureC);

// Wind speed in metres per second, temperature in Celsius. Never above the temperature.
float CheckWindChill(float speedMs, float temperatureC);

// Halves go to the even neighbour.
float roundHalfEven(double value);

WxReadings decodeWxReport(const QString &report);
