#include "core/RawWeather.h"

#include <QVarLengthArray>
#include <cmath>
#include <optional>

namespace {

constexpr double kKphPerMph = 1.609344;

using Reading = std::optional<int>;

// Signed 16-bit counters; dashes mark a sensor that is not fitted.
bool readFields(QStringView hex, QVarLengthArray<Reading, 16> *fields)
{
    if (hex.size() % 4 != 0 || hex.isEmpty())
        return false;
    for (qsizetype at = 0; at < hex.size(); at += 4) {
        const QStringView field = hex.mid(at, 4);
        if (field == u"----") {
            fields->append(std::nullopt);
            continue;
        }
        int value = 0;
        for (QChar c : field) {
            const int digit = c.isDigit() ? c.unicode() - '0'
                              : (c >= u'A' && c <= u'F') ? c.unicode() - 'A' + 10
                              : (c >= u'a' && c <= u'f') ? c.unicode() - 'a' + 10
                                                         : -1;
            if (digit < 0)
                return false;
            value = value * 16 + digit;
        }
        fields->append(value >= 0x8000 ? value - 0x10000 : value);
    }
    return true;
}

QString padded(Reading value, int width)
{
    if (!value)
        return QString(width, u'.');
    if (*value < 0)
        return u'-' + QString::number(-*value).rightJustified(width - 1, u'0');
    return QString::number(*value).rightJustified(width, u'0');
}

Reading scaled(Reading value, double factor, int lowest, int highest)
{
    if (!value)
        return std::nullopt;
    const long rounded = std::lround(*value * factor);
    if (rounded < lowest || rounded > highest)
        return std::nullopt;
    return int(rounded);
}

struct Sensors
{
    Reading direction, speed, gust, temperature, rainToday, humidity, pressure;
};

QString report(const Sensors &s)
{
    // Humidity 100 is sent as 00.
    const Reading humidity = s.humidity && *s.humidity == 100 ? Reading(0) : s.humidity;
    return u'_' + QStringLiteral("c") + padded(s.direction, 3) + u's' + padded(s.speed, 3) + u'g'
           + padded(s.gust, 3) + u't' + padded(s.temperature, 3) + u'P' + padded(s.rainToday, 3) + u'h'
           + padded(humidity, 2) + u'b' + padded(s.pressure, 5);
}

Reading field(const QVarLengthArray<Reading, 16> &fields, int number)
{
    return number <= fields.size() ? fields[number - 1] : std::nullopt;
}

Reading degrees(Reading value)
{
    // The vane reads 0-255 round the compass; 0 is north, sent as 360.
    Reading d = scaled(value, 360.0 / 256.0, 0, 360);
    if (d && *d == 0)
        d = 360;
    return d;
}

} // namespace

bool rawWeatherReport(QStringView payload, QString *weather)
{
    const bool packetMode = payload.startsWith(u"$ULTW");
    const bool loggingMode = payload.startsWith(u"!!");
    if (!packetMode && !loggingMode)
        return false;
    QStringView hex = payload.mid(packetMode ? 5 : 2);
    while (!hex.isEmpty() && hex.back().isSpace())
        hex.chop(1);
    QVarLengthArray<Reading, 16> fields;
    if (!readFields(hex, &fields) || fields.size() < 9 || fields.size() > 13)
        return false;
    const double mphPerTenthKph = 0.1 / kKphPerMph;
    Sensors s;
    s.temperature = scaled(field(fields, 3), 0.1, -99, 999);
    s.pressure = scaled(field(fields, 5), 1, 0, 99999);
    if (packetMode) {
        // Peak wind of the last five minutes and its direction, the minute's average.
        s.gust = scaled(field(fields, 1), mphPerTenthKph, 0, 999);
        s.direction = degrees(field(fields, 2));
        s.humidity = scaled(field(fields, 9), 0.1, 1, 100);
        s.rainToday = scaled(field(fields, 12), 1, 0, 999);
        s.speed = scaled(field(fields, 13), mphPerTenthKph, 0, 999);
    } else {
        s.speed = scaled(field(fields, 1), mphPerTenthKph, 0, 999);
        s.direction = degrees(field(fields, 2));
        s.humidity = scaled(field(fields, 7), 0.1, 1, 100);
        s.rainToday = scaled(field(fields, 11), 1, 0, 999);
    }
    *weather = report(s);
    return true;
}
