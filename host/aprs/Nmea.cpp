// Raw GPS sentences that simple trackers send as their whole payload, and the
// Maidenhead locator a status report may start with.
#include "host/aprs/AprsDecoder.h"
#include "host/aprs/Decimal.h"

#include <QVarLengthArray>
#include <cmath>

namespace {

constexpr double FeetPerMetre = 1 / 0.3048;

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// A plain decimal number: digits with at most one point, an optional sign.
bool readNumber(QStringView text, double *value)
{
    if (text.isEmpty() || text.size() > 20)
        return false;
    bool point = false, digits = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if (c == u'.' && !point)
            point = true;
        else if (!(i == 0 && (c == u'-' || c == u'+')))
            return false;
    }
    return digits && parseDecimal(text, value);
}

// "ddmm.mmmm" or "dddmm.mmmm" and its hemisphere letter, to signed degrees.
bool readCoordinate(QStringView number, QStringView hemisphere, bool longitude, double *degrees)
{
    const qsizetype point = number.indexOf(u'.');
    const qsizetype wholeDigits = point < 0 ? number.size() : point;
    if (wholeDigits != (longitude ? 5 : 4) || number.startsWith(u'-') || number.startsWith(u'+'))
        return false;
    double value = 0;
    if (!readNumber(number, &value))
        return false;
    const double whole = std::floor(value / 100);
    const double minutes = value - whole * 100;
    if (minutes >= 60)
        return false;
    const double result = whole + minutes / 60;
    if (result > (longitude ? 180 : 90))
        return false;
    if (hemisphere.size() != 1)
        return false;
    const QChar h = hemisphere[0];
    if (h == (longitude ? u'E' : u'N'))
        *degrees = result;
    else if (h == (longitude ? u'W' : u'S'))
        *degrees = -result;
    else
        return false;
    return true;
}

// Checks and strips "*hh"; a sentence without one is taken as it is.
bool checkSum(QStringView sentence, QStringView *body, bool *summed)
{
    const qsizetype star = sentence.lastIndexOf(u'*');
    *summed = star >= 0;
    if (star < 0) {
        *body = sentence.mid(1);
        return true;
    }
    if (sentence.size() < star + 3)
        return false;
    const int high = hexValue(sentence[star + 1]), low = hexValue(sentence[star + 2]);
    if (high < 0 || low < 0)
        return false;
    for (qsizetype i = star + 3; i < sentence.size(); ++i)
        if (!sentence[i].isSpace())
            return false;
    int sum = 0;
    for (qsizetype i = 1; i < star; ++i) {
        const ushort u = sentence[i].unicode();
        if (u > 0x7F)
            return false;
        sum ^= u;
    }
    if (sum != high * 16 + low)
        return false;
    *body = sentence.mid(1, star - 1);
    return true;
}

} // namespace

namespace aprs {

bool decodeNmea(QStringView payload, AprsReport *report)
{
    QStringView sentence = payload;
    while (!sentence.isEmpty() && sentence.back().isSpace())
        sentence.chop(1);
    if (sentence.size() < 7 || sentence[0] != u'$' || sentence[6] != u',')
        return false;
    QStringView body;
    bool summed = false;
    if (!checkSum(sentence, &body, &summed))
        return false;
    QVarLengthArray<QStringView, 20> fields;
    for (QStringView field : body.tokenize(u',')) {
        if (fields.size() == 20)
            break;
        fields.append(field);
    }
    const QStringView type = fields[0].mid(2);
    // Without a checksum only a full count of fields shows that the last
    // one read was not cut short.
    if (!summed) {
        const int wanted = type == u"RMC" ? 12 : type == u"GGA" ? 15 : type == u"GLL" ? 5 : 0;
        if (fields.size() < wanted)
            return false;
    }
    auto field = [&](int i) { return i < fields.size() ? fields[i] : QStringView(); };
    double lat = 0, lon = 0;
    if (type == u"RMC") {
        // time, status, lat, N/S, lon, E/W, speed (knots), course, date, ...
        if (field(2) != u"A" || !readCoordinate(field(3), field(4), false, &lat)
            || !readCoordinate(field(5), field(6), true, &lon))
            return false;
        double speed = 0, course = 0;
        if (readNumber(field(7), &speed) && speed >= 0)
            report->speed = speed;
        if (readNumber(field(8), &course) && course >= 0 && course <= 360)
            report->course = int(std::lround(course));
    } else if (type == u"GGA") {
        // time, lat, N/S, lon, E/W, fix quality, satellites, HDOP, altitude, M, ...
        double quality = 0;
        if (!readNumber(field(6), &quality) || quality < 1 || !readCoordinate(field(2), field(3), false, &lat)
            || !readCoordinate(field(4), field(5), true, &lon))
            return false;
        double metres = 0;
        if (readNumber(field(9), &metres) && (field(10).isEmpty() || field(10) == u"M")
            && std::abs(metres) < 1e6)
            report->altitude = int(std::lround(metres * FeetPerMetre));
    } else if (type == u"GLL") {
        // lat, N/S, lon, E/W, time, status (newer receivers), ...
        if ((fields.size() > 6 && field(6) != u"A") || !readCoordinate(field(1), field(2), false, &lat)
            || !readCoordinate(field(3), field(4), true, &lon))
            return false;
    } else {
        return false;
    }
    report->hasPosition = true;
    report->latitude = lat;
    report->longitude = lon;
    return true;
}

bool decodeLocatorStatus(QStringView text, AprsReport *report)
{
    // Field letters A-R, square digits, optional subsquare letters A-X.
    auto letter = [&](qsizetype i, char last) {
        const QChar c = text[i].toUpper();
        return c >= u'A' && c.unicode() <= ushort(last);
    };
    auto digit = [&](qsizetype i) { return text[i] >= u'0' && text[i] <= u'9'; };
    if (text.size() < 6 || !letter(0, 'R') || !letter(1, 'R') || !digit(2) || !digit(3))
        return false;
    int length = 4;
    if (text.size() >= 8 && letter(4, 'X') && letter(5, 'X'))
        length = 6;
    const QChar table = text[length], code = text[length + 1];
    const bool tableOk = table == u'/' || table == u'\\' || (table >= u'A' && table <= u'Z')
                         || (table >= u'0' && table <= u'9');
    if (!tableOk || code.unicode() < 0x21 || code.unicode() > 0x7E)
        return false;
    // Free text follows after a blank; anything else glued on is not a locator.
    if (text.size() > length + 2 && text[length + 2] != u' ')
        return false;
    auto value = [&](qsizetype i) { return text[i].toUpper().unicode() - 'A'; };
    double lon = -180 + value(0) * 20 + (text[2].unicode() - '0') * 2;
    double lat = -90 + value(1) * 10 + (text[3].unicode() - '0');
    if (length == 6) {
        lon += value(4) * (2.0 / 24) + 1.0 / 24;
        lat += value(5) * (1.0 / 24) + 1.0 / 48;
    } else {
        lon += 1;
        lat += 0.5;
    }
    report->hasPosition = true;
    report->latitude = lat;
    report->longitude = lon;
    report->symbolTable = table;
    report->symbolCode = code;
    report->status = text.mid(length + 2).trimmed().toString();
    return true;
}

} // namespace aprs
