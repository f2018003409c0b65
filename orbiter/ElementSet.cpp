#include "orbiter/ElementSet.h"

#include "orbiter/ElementLine.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace orbiter {

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;
constexpr double kMinutesPerDay = 1440.0;

// Columns are 1-based and inclusive, as element set layouts are written.
std::string_view columns(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return {};
    const std::size_t begin = first - 1;
    const std::size_t end = last < line.size() ? last : line.size();
    std::string_view field = line.substr(begin, end - begin);
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    return field;
}

bool number(std::string_view text, double &value)
{
    if (text.empty())
        return false;
    if (text.front() == '+')
        text.remove_prefix(1);
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool wholeNumber(std::string_view text, long &value)
{
    if (text.empty())
        return false;
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// Catalogue numbers above 99999 put a letter first (I and O are not used).
bool catalogueNumber(std::string_view text, long &value)
{
    if (!text.empty() && text.front() >= 'A' && text.front() <= 'Z') {
        const char letter = text.front();
        if (letter == 'I' || letter == 'O')
            return false;
        long rest = 0;
        if (text.size() != 5 || !wholeNumber(text.substr(1), rest) || rest < 0)
            return false;
        int index = 10 + (letter - 'A');
        if (letter > 'I')
            --index;
        if (letter > 'O')
            --index;
        value = index * 10000L + rest;
        return true;
    }
    return wholeNumber(text, value) && value >= 0;
}

// A field with an implied leading point and a power of ten: " 12345-3" is
// 0.12345e-3. The mantissa is scaled after it is read, the way the published
// model reads it.
bool impliedPointExponent(std::string_view text, double &value)
{
    if (text.empty())
        return false;
    double sign = 1.0;
    if (text.front() == '-' || text.front() == '+') {
        sign = text.front() == '-' ? -1.0 : 1.0;
        text.remove_prefix(1);
    }
    const std::size_t exponentAt = text.find_last_of("+-");
    if (exponentAt == std::string_view::npos || exponentAt == 0)
        return false;
    const std::string mantissa = "0." + std::string(text.substr(0, exponentAt));
    long exponent = 0;
    std::string_view exponentText = text.substr(exponentAt);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    double m = 0;
    if (!number(mantissa, m) || !wholeNumber(exponentText, exponent) || exponent < -30 || exponent > 30)
        return false;
    value = sign * m * std::pow(10.0, double(exponent));
    return true;
}

bool fail(std::string *error, const char *text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

double yearStart1950(int year)
{
    // Julian date of 1 January 0h (the usual calendar formula), less the
    // Julian date of 1949-12-31 0h.
    const long y = year;
    const double jdJan1 = 367.0 * y - std::floor(7.0 * (y + std::floor(10.0 / 12.0)) * 0.25)
                          + std::floor(275.0 / 9.0) + 1.0 + 1721013.5;
    return jdJan1 - 2433281.5;
}

double ElementSet::periodMinutes() const
{
    return meanMotion > 0 ? 2.0 * std::numbers::pi / meanMotion : 0.0;
}

bool parseElementSet(std::string_view line1, std::string_view line2, ElementSet &out, std::string *error)
{
    while (!line1.empty() && (line1.back() == '\r' || line1.back() == '\n'))
        line1.remove_suffix(1);
    while (!line2.empty() && (line2.back() == '\r' || line2.back() == '\n'))
        line2.remove_suffix(1);
    if (line1.size() < 61 || line1.front() != '1')
        return fail(error, "line 1 is not an element line 1");
    if (line2.size() < 63 || line2.front() != '2')
        return fail(error, "line 2 is not an element line 2");

    ElementSet e;
    long second = 0;
    if (!catalogueNumber(ElementLine::catalogueField(line1), e.catalogueNumber))
        return fail(error, "line 1 has no catalogue number");
    if (!catalogueNumber(ElementLine::catalogueField(line2), second))
        return fail(error, "line 2 has no catalogue number");
    if (second != e.catalogueNumber)
        return fail(error, "lines 1 and 2 belong to different satellites");

    long year = 0;
    if (!wholeNumber(columns(line1, 19, 20), year) || year < 0 || year > 99)
        return fail(error, "the epoch year is not a number");
    if (!number(columns(line1, 21, 32), e.epochDay) || e.epochDay < 1.0 || e.epochDay >= 367.0)
        return fail(error, "the epoch day is not a day of the year");
    e.epochYear = int(year < 57 ? year + 2000 : year + 1900);
    e.epoch1950 = yearStart1950(e.epochYear) + (e.epochDay - 1.0);
    e.epochUnix = (e.epoch1950 - 7306.0) * 86400.0;

    if (!impliedPointExponent(columns(line1, 54, 61), e.bstar))
        return fail(error, "the drag term is not a number");

    double inclination = 0, raan = 0, argp = 0, anomaly = 0, eccentricity = 0;
    if (!number(columns(line2, 9, 16), inclination) || inclination < 0 || inclination > 180)
        return fail(error, "the inclination is not an angle from 0 to 180 degrees");
    if (!number(columns(line2, 18, 25), raan))
        return fail(error, "the right ascension of the node is not a number");
    const std::string_view eccentricityDigits = columns(line2, 27, 33);
    if (eccentricityDigits.empty() || eccentricityDigits.front() == '-'
        || !number("0." + std::string(eccentricityDigits), eccentricity))
        return fail(error, "the eccentricity is not a number");
    if (!number(columns(line2, 35, 42), argp))
        return fail(error, "the argument of perigee is not a number");
    if (!number(columns(line2, 44, 51), anomaly))
        return fail(error, "the mean anomaly is not a number");
    if (!number(columns(line2, 53, 63), e.revsPerDay) || e.revsPerDay <= 0)
        return fail(error, "the mean motion is not a positive number");

    e.inclination = inclination * kDegrees;
    e.raan = raan * kDegrees;
    e.eccentricity = eccentricity;
    e.argPerigee = argp * kDegrees;
    e.meanAnomaly = anomaly * kDegrees;
    e.meanMotion = e.revsPerDay / (kMinutesPerDay / (2.0 * std::numbers::pi));
    e.name = std::move(out.name);
    out = std::move(e);
    return true;
}

} // namespace orbiter
