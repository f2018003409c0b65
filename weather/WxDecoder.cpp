#include "weather/WxDecoder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kMphPerMetrePerSecond = 2.23694;

bool isBlank(QChar c) { return c == u' '; }

bool isValBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A double that does not fit a single counts as no reading at all.
float toReading(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        return kWxAbsent;
    return float(value);
}

// In double, so that a huge reading comes out absent rather than infinite.
float celsius(float fahrenheit) { return toReading((double(fahrenheit) - 32.0) * 5.0 / 9.0); }

float fahrenheit(float celsius) { return toReading(double(celsius) * 9.0 / 5.0 + 32.0); }

// The reading after the first occurrence of the first letter that holds a
// number, or absent. A letter with dots ("P...": no such sensor) gives way
// to the next, so "p012P..." still has its rain.
float lettered(const QString &report, std::initializer_list<char16_t> letters, int *which = nullptr)
{
    int index = 0;
    for (char16_t letter : letters) {
        const qsizetype at = report.indexOf(QChar(letter));
        const float value = at >= 0 ? GetValue(report, at + 2) : kWxAbsent;  // 1-based position after the letter
        if (value != kWxAbsent) {
            if (which)
                *which = index;
            return value;
        }
        ++index;
    }
    if (which)
        *which = -1;
    return kWxAbsent;
}

// A field of the direction/speed form; dots or blanks in it are no reading.
float fixedField(const QString &report, qsizetype start, qsizetype length)
{
    const QStringView field = QStringView(report).mid(start - 1, length);
    if (std::none_of(field.begin(), field.end(), isDigit))
        return kWxAbsent;
    return toReading(leadingNumber(field));
}

float pressureFromSent(float sent)
{
    float millibars = sent / 10.0f;
    // Stations that send only the last digits of the pressure ("b0186" for
    // 1018.6). Below 100 mb it cannot be the air's pressure anywhere a
    // station stands, while 850 mb is a mountain station's, kept as sent.
    if (!(millibars >= 100.0f) || millibars >= 1100.0f)
        millibars += millibars > 55.0f ? 900.0f : 1000.0f;
    return millibars;
}

} // namespace

float WxReadings::temperatureIn(bool centigrade) const
{
    if (temperature == kWxAbsent)
        return kWxAbsent;
    return centigrade ? celsius(temperature) : temperature;
}

bool IsNumeric(QStringView character, bool allowSigns)
{
    if (character.size() != 1)
        return false;
    const QChar c = character.front();
    if (isDigit(c))
        return true;
    if (c == u'+' || c == u'-' || c == u'.')
        return allowSigns;
    return false;
}

double leadingNumber(QStringView text)
{
    std::string number;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isValBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        // from_chars takes no "+".
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isValBlank(c))
            continue;
        if (isDigit(c)) {
            number += char(c.unicode());
            digits = true;
        } else if (c == u'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        while (j < text.size() && isValBlank(text[j]))
            ++j;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        bool exponentDigits = false;
        for (; j < text.size(); ++j) {
            if (isValBlank(text[j]))
                continue;
            if (!isDigit(text[j]))
                break;
            exponent += char(text[j].unicode());
            exponentDigits = true;
        }
        if (exponentDigits)
            number += exponent;
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return number.find("e-") != std::string::npos ? 0.0 : std::numeric_limits<double>::infinity();
    return value;
}

float GetValue(const QString &report, qsizetype start)
{
    if (start < 1)
        return kWxAbsent;
    qsizetype stop = start;
    bool digit = false;
    while (stop <= report.size()) {
        const QChar c = report[stop - 1];
        const bool blank = isBlank(c);
        // Blanks before the number pad it; after it they end it, so a
        // comment's figures are not joined on.
        if (blank ? digit : !IsNumeric(QStringView(&c, 1), true))
            break;
        digit = digit || isDigit(c);
        ++stop;
    }
    // Dots or blanks in place of a number stand for a sensor the station lacks.
    if (!digit)
        return kWxAbsent;
    const double value = leadingNumber(QStringView(report).mid(start - 1, stop - start));
    return std::signbit(value) && value == 0.0 ? 0.0f : toReading(value);
}

float calculateDewPoint(float humidity, float temperatureC)
{
    const double h = humidity == 0.0f ? 0.000001 : double(humidity);
    const double t = temperatureC;
    const double a = std::log(h / 100.0) + 17.27 * t / (t + 237.3);
    const double g = a / 17.27;
    return toReading(237.3 * g / (1.0 - g));
}

float CheckWindChill(float speedMs, float temperatureC)
{
    const double v = speedMs;
    const double factor = 0.453843 * std::sqrt(v) + 0.474266 - 0.0453843 * v;
    const float chill = toReading(factor * (double(temperatureC) - 33.0) + 33.0);
    if (chill == kWxAbsent)
        return kWxAbsent;
    return chill > temperatureC ? temperatureC : chill;
}

float roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double rest = value - down;
    double whole = down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0))
        whole = down + 1.0;
    return float(whole);
}

WxReadings decodeWxReport(const QString &report)
{
    WxReadings r;
    // 1-based position of the first character after the "_".
    qsizetype at = 2;
    if (!report.startsWith(u'_')) {
        // A full position report: the weather starts after its "_".
        const qsizetype underscore = report.size() >= 20 ? report.indexOf(u'_', 19) : -1;
        at = underscore + 2;  // not found: the text's first character
    }
    if (report.mid(at - 1, 3) == QLatin1String("PHG")) {
        r.hasWeather = false;
        return r;
    }

    if (report.mid(at + 2, 1) == QLatin1String("/")) {
        r.direction = fixedField(report, at, 3);
        r.speed = fixedField(report, at + 4, 3);
    } else {
        r.direction = lettered(report, {u'c'});
        r.speed = lettered(report, {u's'});
    }
    r.gust = lettered(report, {u'g'});
    r.temperature = lettered(report, {u't', u'T'});
    r.humidity = lettered(report, {u'h', u'H'});
    int rainLetter = -1;
    r.rain = lettered(report, {u'P', u'p', u'r'}, &rainLetter);
    r.pressure = lettered(report, {u'b', u'B'});

    if (r.humidity == 0.0f)
        r.humidity = 100.0f;
    static const QString *const rainLabels[] = {&kRainToday, &kRainLast24Hours, &kRainLastHour};
    if (rainLetter >= 0 && r.rain != kWxAbsent)
        r.rainLabel = *rainLabels[rainLetter];
    if (r.rain != kWxAbsent)
        r.rain = toReading(double(r.rain / 100.0f) * 25.4);
    if (r.pressure != kWxAbsent)
        r.pressure = pressureFromSent(r.pressure);

    const float temperatureC = r.temperature == kWxAbsent ? kWxAbsent : celsius(r.temperature);
    if (r.humidity != kWxAbsent && temperatureC != kWxAbsent) {
        r.dewPointC = calculateDewPoint(r.humidity, temperatureC);
        if (r.dewPointC != kWxAbsent)
            r.dewPointF = fahrenheit(r.dewPointC);
    }
    if (r.speed != kWxAbsent && temperatureC != kWxAbsent) {
        const float chill = CheckWindChill(float(r.speed / kMphPerMetrePerSecond), temperatureC);
        if (chill != kWxAbsent) {
            r.windChillC = roundHalfEven(chill);
            const float chillF = fahrenheit(r.windChillC);
            r.windChillF = chillF == kWxAbsent ? kWxAbsent : roundHalfEven(chillF);
        }
    }
    return r;
}
