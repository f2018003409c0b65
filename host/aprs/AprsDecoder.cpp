#include "host/aprs/AprsDecoder.h"

#include "core/RawWeather.h"

#include <cmath>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

constexpr double MphPerKnot = 1.150779;

// Minutes added to an ambiguous position so that it stands for the middle of
// the area it leaves open, by number of blanked digits.
constexpr double ambiguityHalfStep[] = {0, 0.05, 0.5, 5.0, 30.0};

int digitsValue(QStringView s)
{
    int v = 0;
    for (QChar c : s)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

// Reads "DDMM.mm" style digits where trailing digits may be blanks.
// Returns false on anything else; counts the blanks.
bool readAmbiguousNumber(QStringView s, int degreeDigits, double *degrees, int *blanks)
{
    // layout: degreeDigits digits, 2 minute digits, '.', 2 hundredths
    const int len = degreeDigits + 5;
    if (s.size() < len || s[degreeDigits + 2] != u'.')
        return false;
    QString digits;
    digits.reserve(len - 1);
    int spaces = 0;
    bool seenSpace = false;
    for (int i = 0; i < len; ++i) {
        if (i == degreeDigits + 2)
            continue;
        const QChar c = s[i];
        if (c == u' ') {
            seenSpace = true;
            ++spaces;
            digits += u'0';
        } else if (isDigit(c) && !seenSpace) {
            digits += c;
        } else {
            return false;
        }
    }
    if (spaces > 4)
        return false;
    const int deg = digitsValue(QStringView(digits).left(degreeDigits));
    const int minutesTimes100 = digitsValue(QStringView(digits).mid(degreeDigits));
    double minutes = minutesTimes100 / 100.0;
    minutes += ambiguityHalfStep[spaces];
    if (minutes >= 60.0)
        return false;
    *degrees = deg + minutes / 60.0;
    *blanks = spaces;
    return true;
}

int base91(QStringView s)
{
    int v = 0;
    for (QChar c : s) {
        const int d = c.unicode() - 33;
        if (d < 0 || d > 90)
            return -1;
        v = v * 91 + d;
    }
    return v;
}

} // namespace

namespace aprs {

bool isSymbolTable(QChar c, bool compressed)
{
    if (c == u'/' || c == u'\\' || (c >= u'A' && c <= u'Z'))
        return true;
    return compressed ? (c >= u'a' && c <= u'j') : isDigit(c);
}

bool isSymbolCode(QChar c) { return c.unicode() >= 0x21 && c.unicode() <= 0x7e; }


bool decodeUncompressed(QStringView text, AprsReport *report)
{
    if (text.size() < 19)
        return false;
    double lat = 0, lon = 0;
    int latBlanks = 0, lonBlanks = 0;
    if (!readAmbiguousNumber(text.left(7), 2, &lat, &latBlanks))
        return false;
    const QChar ns = text[7].toUpper();
    if (ns != u'N' && ns != u'S')
        return false;
    const QChar table = text[8];
    if (!isSymbolTable(table, false))
        return false;
    if (!readAmbiguousNumber(text.mid(9, 8), 3, &lon, &lonBlanks))
        return false;
    const QChar ew = text[17].toUpper();
    if (ew != u'E' && ew != u'W')
        return false;
    const QChar code = text[18];
    if (!isSymbolCode(code))
        return false;
    if (lat > 90.0 || lon > 180.0)
        return false;
    // The latitude's ambiguity applies to the longitude too.
    if (latBlanks > lonBlanks && latBlanks > 0) {
        const double whole = std::floor(lon);
        double minutes = (lon - whole) * 60.0 - ambiguityHalfStep[lonBlanks];
        const double step = ambiguityHalfStep[latBlanks] * 2;
        minutes = std::floor(minutes / step + 1e-9) * step + ambiguityHalfStep[latBlanks];
        if (minutes < 60.0)
            lon = whole + minutes / 60.0;
    }
    report->hasPosition = true;
    report->latitude = ns == u'S' ? -lat : lat;
    report->longitude = ew == u'W' ? -lon : lon;
    report->ambiguity = latBlanks;
    report->symbolTable = table;
    report->symbolCode = code;
    return true;
}

bool decodeCompressed(QStringView text, AprsReport *report)
{
    if (text.size() < 13)
        return false;
    const QChar table = text[0];
    if (!isSymbolTable(table, true))
        return false;
    const int y = base91(text.mid(1, 4));
    const int x = base91(text.mid(5, 4));
    if (y < 0 || x < 0)
        return false;
    const QChar code = text[9];
    if (!isSymbolCode(code))
        return false;
    const double lat = 90.0 - y / 380926.0;
    const double lon = -180.0 + x / 190463.0;
    if (lat < -90.0 || lat > 90.0 || lon < -180.0 || lon > 180.0)
        return false;
    report->hasPosition = true;
    report->compressed = true;
    report->latitude = lat;
    report->longitude = lon;
    report->symbolTable = (table >= u'a' && table <= u'j') ? QChar(u'0' + (table.unicode() - 'a')) : table;
    report->symbolCode = code;

    const QChar c = text[10], s = text[11], t = text[12];
    if (c == u' ')
        return true;
    const int cv = c.unicode() - 33, sv = s.unicode() - 33, tv = t.unicode() - 33;
    if (cv < 0 || cv > 90 || sv < 0 || sv > 90 || tv < 0 || tv > 90)
        return true;
    if ((tv & 0x18) == 0x10) {  // GGA source: cs is the altitude
        report->altitude = int(std::lround(std::pow(1.002, cv * 91 + sv)));
    } else if (cv <= 89 && code == u'_') {
        // A weather station sends its wind here, in knots.
        report->windDirection = cv * 4;
        report->windSpeed = (std::pow(1.08, sv) - 1.0) * MphPerKnot;
    } else if (cv <= 89) {
        report->course = cv * 4;
        report->speed = std::pow(1.08, sv) - 1.0;
    } else if (cv == 90) {
        // '{' carries the radio range instead of a motion.
        report->range = 2.0 * std::pow(1.08, sv);
    }
    return true;
}

void decodeComment(QStringView comment, bool courseAllowed, AprsReport *report)
{
    QStringView rest = comment;
    if (rest.size() >= 7 && rest[3] == u'/') {
        bool numeric = true;
        for (int i : {0, 1, 2, 4, 5, 6})
            numeric = numeric && isDigit(rest[i]);
        if (numeric) {
            if (courseAllowed) {
                // A course past 360 is no course, but the speed beside it still holds.
                const int course = digitsValue(rest.left(3));
                if (course <= 360)
                    report->course = course;
                report->speed = digitsValue(rest.mid(4, 3));
            }
            rest = rest.mid(7);
        }
    }
    // "/A=" by hand: a general substring search costs more than the rest of
    // the comment's decoding.
    qsizetype alt = -1;
    for (qsizetype i = 0; i + 2 < rest.size(); ++i)
        if (rest[i] == u'/' && rest[i + 1] == u'A' && rest[i + 2] == u'=') {
            alt = i;
            break;
        }
    if (alt >= 0 && rest.size() >= alt + 9) {
        const QStringView digits = rest.mid(alt + 3, 6);
        bool ok = true;
        for (int i = 0; i < 6; ++i)
            ok = ok && (isDigit(digits[i]) || (i == 0 && digits[i] == u'-'));
        if (ok) {
            const bool negative = digits[0] == u'-';
            const int value = digitsValue(negative ? digits.mid(1) : digits);
            report->altitude = negative ? -value : value;
        }
    }
    report->comment = rest.toString();
    applyDao(report);
    takeCommentTelemetry(report);
}

qsizetype utf8Size(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const ushort u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else {
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

} // namespace aprs

namespace {

// Timestamp of 7 characters: DDHHMMz, DDHHMM/ or HHMMSSh.
bool isTimeStamp(QStringView s)
{
    if (s.size() < 7)
        return false;
    for (int i = 0; i < 6; ++i)
        if (!isDigit(s[i]))
            return false;
    return s[6] == u'z' || s[6] == u'/' || s[6] == u'h';
}

bool decodePositionBody(QStringView body, AprsReport *report)
{
    if (body.isEmpty())
        return false;
    if (isDigit(body[0]) || body[0] == u' ') {
        if (!aprs::decodeUncompressed(body, report))
            return false;
        aprs::decodeComment(body.mid(19), report->symbolCode != u'_', report);
        return true;
    }
    if (!aprs::decodeCompressed(body, report))
        return false;
    aprs::decodeComment(body.mid(13), false, report);
    return true;
}

// Where the name of an object (fixed bytes) or item (a range of bytes) that
// starts after the type character ends: the index of the character in marks
// that follows it, or -1. Names are counted in UTF-8 bytes first and, for a
// line that was read as Latin-1, in characters.
qsizetype nameEnd(QStringView payload, int fewest, int most, QStringView marks)
{
    const auto endsAt = [&](bool bytes) -> qsizetype {
        qsizetype size = 0;
        for (qsizetype i = 1; i < payload.size(); ++i) {
            if (size >= fewest && marks.contains(payload[i]))
                return i;
            const ushort u = payload[i].unicode();
            // Each half of a surrogate pair counts two of its four bytes.
            size += !bytes || u < 0x80 ? 1 : u < 0x800 || QChar::isSurrogate(u) ? 2 : 3;
            if (size > most)
                return -1;
        }
        return -1;
    };
    const qsizetype at = endsAt(true);
    return at >= 0 ? at : endsAt(false);
}

void decodeStatus(QStringView text, AprsReport *report)
{
    report->kind = AprsReport::Kind::Status;
    report->hasStatus = true;
    if (aprs::decodeLocatorStatus(text, report))
        return;
    if (text.size() >= 7 && isTimeStamp(text) && text[6] == u'z')
        text = text.mid(7);
    report->status = text.toString();
}

void decodeMessage(QStringView payload, AprsReport *report)
{
    report->kind = AprsReport::Kind::Message;
    if (payload.size() < 11 || payload[10] != u':')
        return;
    report->addressee = payload.mid(1, 9).trimmed().toString();
    QStringView text = payload.mid(11);
    // A message number is at most five characters after the last "{".
    const qsizetype brace = text.lastIndexOf(u'{');
    if (brace >= 0 && text.size() - brace - 1 <= 5) {
        report->messageId = text.mid(brace + 1).toString();
        text = text.left(brace);
    }
    report->messageText = text.toString();
}

} // namespace

AprsReport decodeAprs(QStringView destination, QStringView payload)
{
    AprsReport report;
    if (payload.isEmpty())
        return report;
    const QChar type = payload[0];
    switch (type.unicode()) {
    case '!':
        if (payload.startsWith(u"!!")) {
            if (rawWeatherReport(payload, &report.weather))
                report.kind = AprsReport::Kind::PositionlessWeather;
            return report;
        }
        [[fallthrough]];
    case '=':
        if (decodePositionBody(payload.mid(1), &report))
            report.kind = AprsReport::Kind::Position;
        return report;
    case '/':
    case '@':
        if (isTimeStamp(payload.mid(1)) && decodePositionBody(payload.mid(8), &report)) {
            report.kind = AprsReport::Kind::Position;
            report.timestamp = payload.mid(1, 7).toString();
        }
        return report;
    case ';': {
        // The name is nine bytes on the air; a letter beyond ASCII takes two
        // or three of them once the line was read as UTF-8.
        const qsizetype end = nameEnd(payload, 9, 9, u"*_");
        if (end < 0 || payload.size() < end + 8 || !isTimeStamp(payload.mid(end + 1)))
            return report;
        const QString name = payload.mid(1, end - 1).toString().trimmed();
        AprsReport object;
        if (name.isEmpty() || !decodePositionBody(payload.mid(end + 8), &object))
            return report;
        object.kind = AprsReport::Kind::Object;
        object.objectName = name;
        object.killed = payload[end] == u'_';
        object.timestamp = payload.mid(end + 1, 7).toString();
        return object;
    }
    case ')': {
        const qsizetype end = nameEnd(payload, 3, 9, u"!_");
        if (end < 0)
            return report;
        const QString name = payload.mid(1, end - 1).toString().trimmed();
        AprsReport item;
        if (name.isEmpty() || !decodePositionBody(payload.mid(end + 1), &item))
            return report;
        item.kind = AprsReport::Kind::Item;
        item.objectName = name;
        item.killed = payload[end] == u'_';
        return item;
    }
    case '>':
        decodeStatus(payload.mid(1), &report);
        return report;
    case '_':
        report.kind = AprsReport::Kind::PositionlessWeather;
        report.weather = payload.toString();
        return report;

    case ':':
        decodeMessage(payload, &report);
        return report;
    case '$':
        if (rawWeatherReport(payload, &report.weather)) {
            report.kind = AprsReport::Kind::PositionlessWeather;
            return report;
        }
        if (aprs::decodeNmea(payload, &report))
            report.kind = AprsReport::Kind::Position;
        return report;
    case 'T':
        if (payload.startsWith(QLatin1String("T#"))) {
            report.kind = AprsReport::Kind::Telemetry;
            return report;
        }
        break;
    case '}':
        report.kind = AprsReport::Kind::ThirdParty;
        return report;
    case '`':
    case '\'':
    case 0x1c:
    case 0x1d:
        if (aprs::decodeMicE(destination, payload, &report))
            report.kind = AprsReport::Kind::MicE;
        return report;
    default:
        break;
    }
    // Some trackers put free text before the "!" of a plain position.
    const qsizetype bang = payload.left(41).indexOf(u'!');
    if (bang > 0 && decodePositionBody(payload.mid(bang + 1), &report))
        report.kind = AprsReport::Kind::Position;
    return report;
}
