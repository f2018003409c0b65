// Mic-E: the latitude, the message bits and two flags travel in the
// destination address; longitude, speed and course in the first bytes of the
// information field.
#include "host/aprs/AprsDecoder.h"

#include <cmath>

namespace {

// Digit carried by one destination character, or -1; blank sets *ambiguous.
int destinationDigit(QChar c, bool *ambiguous)
{
    const ushort u = c.unicode();
    *ambiguous = false;
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'J')
        return u - 'A';
    if (u >= 'P' && u <= 'Y')
        return u - 'P';
    if (u == 'K' || u == 'L' || u == 'Z') {
        *ambiguous = true;
        return 0;
    }
    return -1;
}

bool isFlagSet(QChar c) { return c.unicode() >= 'P' && c.unicode() <= 'Z'; }

// The message bit of one of the first three destination characters: 0, a
// standard 1 or a custom 1.
enum class Bit { Zero, Standard, Custom };
Bit messageBit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= 'P' && u <= 'Z')
        return Bit::Standard;
    if (u >= 'A' && u <= 'K')
        return Bit::Custom;
    return Bit::Zero;
}

QString messageType(QStringView destination)
{
    static const char *const standard[] = {"Emergency", "Priority", "Special",   "Committed",
                                           "Returning", "In Service", "En Route", "Off Duty"};
    int value = 0;
    bool custom = false, plain = false;
    for (int i = 0; i < 3; ++i) {
        const Bit bit = messageBit(destination[i]);
        value = value * 2 + (bit == Bit::Zero ? 0 : 1);
        custom = custom || bit == Bit::Custom;
        plain = plain || bit == Bit::Standard;
    }
    if (value == 0)
        return QLatin1String(standard[0]);
    if (custom && plain)
        return QStringLiteral("Unknown");
    // Custom-0 has all three bits set, as Off Duty has.
    return custom ? QStringLiteral("Custom-%1").arg(7 - value) : QLatin1String(standard[value]);
}

bool isHex(QChar c) { return c.isDigit() || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

// Telemetry at the start of the text: "`" and five hexadecimal pairs, or
// "'" and two (channels 1 and 3). Taken off the text when found.
bool takeTelemetry(QStringView *text, telemetry::Report *report)
{
    if (text->isEmpty())
        return false;
    const QChar flag = text->front();
    const int pairs = flag == u'`' ? 5 : flag == u'\'' ? 2 : 0;
    if (pairs == 0 || text->size() < 1 + 2 * pairs)
        return false;
    for (int i = 1; i <= 2 * pairs; ++i)
        if (!isHex((*text)[i]))
            return false;
    // A radio's type byte is also "`" or "'": the pairs must stand alone.
    if (text->size() > 1 + 2 * pairs && (*text)[1 + 2 * pairs] != u' ')
        return false;
    *report = telemetry::Report();
    for (int i = 0; i < pairs; ++i) {
        const int value = text->mid(1 + 2 * i, 2).toInt(nullptr, 16);
        const int channel = pairs == 2 ? i * 2 : i;
        report->analog[size_t(channel)] = value;
    }
    report->analogCount = pairs == 2 ? 3 : 5;
    *text = text->mid(1 + 2 * pairs).trimmed();
    return true;
}

// Takes the maker's suffix that the radio's type byte announces off the end.
QStringView withoutRadio(QChar type, QStringView text)
{
    if (type == u'>' || type == u']') {
        if (text.endsWith(u'=') || (type == u'>' && text.endsWith(u'^')))
            text.chop(1);
    } else if (type == u'`' || type == u'\'') {
        // Two characters at the end name the model: a first of these and any second.
        static const QStringView makers = u"_ (|^*:";
        if (text.size() >= 2 && makers.contains(text[text.size() - 2]))
            text.chop(2);
    }
    return text;
}

} // namespace

namespace aprs {

bool decodeMicE(QStringView destination, QStringView payload, AprsReport *report)
{
    const qsizetype dash = destination.indexOf(u'-');
    if (dash >= 0)
        destination = destination.left(dash);
    if (destination.size() != 6 || payload.size() < 9)
        return false;

    int digits[6];
    int blanks = 0;
    for (int i = 0; i < 6; ++i) {
        bool ambiguous = false;
        digits[i] = destinationDigit(destination[i], &ambiguous);
        if (digits[i] < 0)
            return false;
        // Custom message bits (A-K) belong to the first three places only.
        if (i >= 3 && destination[i] >= u'A' && destination[i] <= u'K')
            return false;
        // Only trailing digits may be blanked.
        if (ambiguous)
            ++blanks;
        else if (blanks > 0)
            return false;
    }
    if (blanks > 4)
        return false;
    static const double halfStep[] = {0, 0.05, 0.5, 5.0, 30.0};
    const int latDegrees = digits[0] * 10 + digits[1];
    const double latMinutes = digits[2] * 10 + digits[3] + (digits[4] * 10 + digits[5]) / 100.0 + halfStep[blanks];
    if (latDegrees > 89 || latMinutes >= 60.0)
        return false;
    const bool north = isFlagSet(destination[3]);
    const bool longitudeOffset = isFlagSet(destination[4]);
    const bool west = isFlagSet(destination[5]);

    auto byte = [&](int i) { return int(payload[i].unicode()) - 28; };
    for (int i = 1; i <= 6; ++i)
        if (payload[i].unicode() < 28 || payload[i].unicode() > 127)
            return false;
    int lonDegrees = byte(1) + (longitudeOffset ? 100 : 0);
    if (lonDegrees >= 180 && lonDegrees <= 189)
        lonDegrees -= 80;
    else if (lonDegrees >= 190 && lonDegrees <= 199)
        lonDegrees -= 190;
    int lonMinutes = byte(2);
    if (lonMinutes >= 60)
        lonMinutes -= 60;
    const int lonHundredths = byte(3);
    if (lonDegrees > 179 || lonMinutes > 59 || lonHundredths > 99)
        return false;

    int speed = byte(4) * 10 + byte(5) / 10;
    if (speed >= 800)
        speed -= 800;
    int course = (byte(5) % 10) * 100 + byte(6);
    if (course >= 400)
        course -= 400;

    const QChar code = payload[7];
    const QChar table = payload[8];
    if (code.unicode() < 0x21 || code.unicode() > 0x7e)
        return false;
    if (!(table == u'/' || table == u'\\' || (table >= u'A' && table <= u'Z') || (table >= u'0' && table <= u'9')))
        return false;

    double lonMinutesValue = lonMinutes + lonHundredths / 100.0;
    if (blanks > 0) {
        const double step = halfStep[blanks] * 2;
        lonMinutesValue = std::floor(lonMinutesValue / step + 1e-9) * step + halfStep[blanks];
    }
    const double lat = latDegrees + latMinutes / 60.0;
    const double lon = lonDegrees + lonMinutesValue / 60.0;
    report->hasPosition = true;
    report->latitude = north ? lat : -lat;
    report->longitude = west ? -lon : lon;
    report->ambiguity = blanks;
    report->symbolCode = code;
    report->symbolTable = table;
    if (course <= 360)
        report->course = course;
    report->speed = speed;

    report->micEMessage = messageType(destination);

    QStringView comment = payload.mid(9);
    if (takeTelemetry(&comment, &report->telemetry))
        report->hasTelemetry = true;
    const QChar type = comment.isEmpty() ? QChar() : comment.front();
    const bool radio = !report->hasTelemetry && (type == u'>' || type == u']' || type == u'`' || type == u'\'');
    if (radio)
        comment = comment.mid(1);
    // Altitude: three base-91 digits and "}", metres above -10000, near the
    // start of the comment.
    const qsizetype brace = comment.indexOf(u'}');
    if (brace == 3 || (brace == 4 && !radio)) {
        int value = 0;
        bool ok = true;
        for (qsizetype i = brace - 3; i < brace; ++i) {
            const int d = comment[i].unicode() - 33;
            ok = ok && d >= 0 && d <= 90;
            value = value * 91 + d;
        }
        if (ok) {
            report->altitude = int(std::lround((value - 10000) / 0.3048));
            comment = comment.mid(brace + 1);
        }
    }
    if (radio)
        comment = withoutRadio(type, comment);
    report->comment = comment.toString();
    applyDao(report);
    return true;
}

} // namespace aprs
