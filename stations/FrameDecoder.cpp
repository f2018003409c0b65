#include "stations/FrameDecoder.h"

#include "core/RawWeather.h"
#include "core/WallClock.h"

#include <cmath>

namespace {

constexpr QChar kCR(13);
constexpr QChar kLF(10);
constexpr QChar kNul(0);
const QString kCRLF = QStringLiteral("\r\n");

// The first byte of the "query all stations" form is the Latin-1 character 253.
const QString kQueryAll = QStringLiteral("~") + QChar(0xFD) + QStringLiteral("~");

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// "DDHHMMz", "DDHHMM/" or "HHMMSSh" after the "@".
constexpr qsizetype kStampLength = 7;
constexpr double kMphPerKnot = 1.150779;

bool isOneOf(QChar c, const char *letters)
{
    for (; *letters; ++letters)
        if (c == QLatin1Char(*letters))
            return true;
    return false;
}

FrameCut dropped(FrameCut cut, const QString &reason)
{
    cut.dropped = true;
    cut.dropReason = reason;
    return cut;
}

struct TimeFound
{
    ReportTimeRule rule;
    QDateTime time;
};

TimeFound timeFromHost(const QString &first, const QString &second, const QDateTime &now)
{
    const QString &chosen = !first.isEmpty() ? first : second;
    if (chosen.isEmpty())
        return {ReportTimeRule::Now, now};
    // A host text we cannot read must not cost the report: it is filed as heard now.
    const QDateTime value = FrameText::hostTimeValue(chosen, now.date());
    return {ReportTimeRule::Host, value.isValid() ? value : now};
}

} // namespace

QString reportTimeRuleName(ReportTimeRule rule)
{
    switch (rule) {
    case ReportTimeRule::Host: return QStringLiteral("host");
    case ReportTimeRule::Stamp: return QStringLiteral("stamp");
    case ReportTimeRule::Now: return QStringLiteral("now");
    case ReportTimeRule::None: break;
    }
    return QStringLiteral("none");
}

namespace FrameText {

QString withoutFlag(const QString &text)
{
    if (!text.isEmpty() && (text.front() == QLatin1Char('0') || text.front() == QLatin1Char('1')))
        return text.mid(1);
    return text;
}

QString normaliseLineEnds(const QString &text)
{
    QString out;
    out.reserve(text.size() + 4);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == kNul)
            continue;
        if (c == kLF) {
            if (out.isEmpty() || out.back() != kCR)
                out += kCR;
            out += kLF;
        } else if (c == kCR) {
            out += kCR;
            qsizetype next = i + 1;
            while (next < n && text.at(next) == kNul)
                ++next;
            if (next >= n || text.at(next) != kLF)
                out += kLF;
        } else {
            out += c;
        }
    }
    // Every CR now has its LF, so only a missing final line end is left to add.
    if (out.isEmpty() || out.back() != kLF)
        out += kCRLF;
    return out;
}

bool rewriteShortHeader(QString &text)
{
    if (text.contains(QLatin1String("<UI")))
        return true;
    const qsizetype lf = text.indexOf(kLF);
    // The header line loses its last three characters (":" CR LF); an empty
    // first line has not even that.
    if (lf < 2)
        return false;
    text = text.left(lf - 2) + MonitorSuffix + kCRLF + text.mid(lf + 1);
    return true;
}

QString sourceCallsign(const QString &header)
{
    const qsizetype gt = header.indexOf(QLatin1Char('>'));
    if (gt < 0)
        return {};
    QString source = header.left(gt);
    // "12:29:01 N0CALL": a time stamp stands before the callsign.
    if (source.contains(QLatin1Char(':')))
        source = source.mid(source.indexOf(QLatin1Char(' ')) + 1);
    return source;
}

bool isNumeric(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = t.at(i);
        if (isDigit(c))
            ++digits;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    if (i < n && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            ++i;
        int exponentDigits = 0;
        for (; i < n && isDigit(t.at(i)); ++i)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

qsizetype symbolCodeAt(const QString &payload, qsizetype at)
{
    const qsizetype n = payload.size();
    if (at >= n)
        return -1;
    const QChar lead = payload.at(at);
    if (isDigit(lead) || lead == QLatin1Char(' ')) {
        // "DDMM.hhN", table, "DDDMM.hhW", code.
        if (n <= at + 18 || !isOneOf(payload.at(at + 7), "NSns") || !isOneOf(payload.at(at + 17), "EWew"))
            return -1;
        return at + 18;
    }
    // Table, four base-91 bytes of latitude, four of longitude, code; an
    // overlay on a compressed position is "a" to "j" for 0 to 9.
    const bool table = lead == QLatin1Char('/') || lead == QLatin1Char('\\')
                       || (lead >= QLatin1Char('A') && lead <= QLatin1Char('Z'))
                       || (lead >= QLatin1Char('a') && lead <= QLatin1Char('j'));
    if (!table || n <= at + 9)
        return -1;
    for (qsizetype i = at + 1; i < at + 9; ++i)
        if (payload.at(i) < QLatin1Char('!') || payload.at(i) > QLatin1Char('{'))
            return -1;
    return at + 9;
}

qsizetype weatherSymbolAt(const QString &payload, qsizetype at)
{
    const qsizetype code = symbolCodeAt(payload, at);
    return code >= 0 && payload.at(code) == QLatin1Char('_') ? code : -1;
}

QString weatherPart(const QString &payload, qsizetype code)
{
    const QChar lead = payload.at(code - 9);
    if (isDigit(lead) || lead == QLatin1Char(' '))
        return payload.mid(code);
    // A compressed position carries the wind in the two bytes after the
    // symbol and its type in the third; written as the "ddd/sss" the plain
    // form holds, the readings after them are read like any other.
    QString wind = QStringLiteral(".../...");
    if (payload.size() >= code + 4) {
        const int c = payload.at(code + 1).unicode() - 33, sp = payload.at(code + 2).unicode() - 33;
        const int type = payload.at(code + 3).unicode() - 33;
        const bool altitude = type >= 0 && type <= 90 && (type & 0x18) == 0x10;
        if (c >= 0 && c <= 89 && sp >= 0 && sp <= 90 && !altitude) {
            const long mph = std::lround((std::pow(1.08, sp) - 1.0) * kMphPerKnot);
            wind = QStringLiteral("%1/%2").arg(c * 4, 3, 10, QLatin1Char('0')).arg(mph, 3, 10, QLatin1Char('0'));
        }
    }
    return QLatin1Char('_') + wind + payload.mid(code + 4);
}

QDateTime stampTime(QStringView stamp, const QDateTime &now, const QTimeZone &zone)
{
    if (stamp.size() != kStampLength)
        return {};
    for (qsizetype i = 0; i < 6; ++i)
        if (!isDigit(stamp[i]))
            return {};
    const auto two = [&](int at) { return (stamp[at].unicode() - '0') * 10 + (stamp[at + 1].unicode() - '0'); };
    const QChar kind = stamp[6];
    const QTimeZone utc = QTimeZone::utc();
    QDateTime sent;
    if (kind == QLatin1Char('h')) {
        const QTime time(two(0), two(2), two(4));
        if (!time.isValid())
            return {};
        const QDateTime nowUtc = now.toTimeZone(utc);
        sent = QDateTime(nowUtc.date(), time, utc);
        // A stamp ahead of the clock by more than a little was sent yesterday.
        if (sent > nowUtc.addSecs(3600))
            sent = sent.addDays(-1);
    } else if (kind == QLatin1Char('z') || kind == QLatin1Char('/')) {
        const QTime time(two(2), two(4));
        const int day = two(0);
        if (!time.isValid() || day < 1 || day > 31)
            return {};
        const QTimeZone in = kind == QLatin1Char('z') ? utc : zone;
        const QDateTime nowThere = now.toTimeZone(in);
        // The day of this month, or of the last month that has it when
        // that would lie ahead of the clock.
        QDate month(nowThere.date().year(), nowThere.date().month(), 1);
        for (int back = 0; back < 3 && !sent.isValid(); ++back, month = month.addMonths(-1)) {
            const QDate date(month.year(), month.month(), day);
            if (!date.isValid())
                continue;
            const QDateTime candidate(date, time, in);
            if (candidate <= nowThere.addSecs(3600))
                sent = candidate;
        }
        if (!sent.isValid())
            return {};
    } else {
        return {};
    }
    // Filed in the wall-clock time of the configured zone, as the weather file holds it.
    const QDateTime local = sent.toTimeZone(zone);
    return QDateTime(local.date(), local.time());
}

QString placedObjectName(const QString &payload)
{
    if (payload.size() < 2 || (payload.front() != QLatin1Char(';') && payload.front() != QLatin1Char(')')))
        return {};
    const bool object = payload.front() == QLatin1Char(';');
    const int fewest = object ? 9 : 3;
    const QChar mark = object ? QLatin1Char('*') : QLatin1Char('!');
    for (const bool bytes : {true, false}) {
        qsizetype size = 0;
        for (qsizetype i = 1; i < payload.size() && size <= 9; ++i) {
            const QChar c = payload.at(i);
            if (size >= fewest && (c == mark || c == QLatin1Char('_')))
                return c == mark ? payload.mid(1, i - 1).trimmed() : QString();
            const ushort u = c.unicode();
            size += !bytes || u < 0x80 ? 1 : (u < 0x800 || c.isSurrogate()) ? 2 : 3;
        }
    }
    return {};
}

QDateTime hostTimeValue(const QString &text, const QDate &today)
{
    const QString t = text.trimmed();
    static const char *const kDateTimeForms[] = {
        "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm",
        "dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm",    "dd/MM/yy HH:mm:ss",
    };
    for (const char *form : kDateTimeForms) {
        const QDateTime read = readWallClock(t, QLatin1String(form));
        if (!read.isValid())
            continue;
        // In the hour a spring-forward skips the host's reading has no local
        // time; it is kept as read rather than lost.
        const QDateTime local(read.date(), read.time());
        return local.isValid() ? local : read;
    }
    static const char *const kTimeForms[] = {"HH:mm:ss", "HH:mm"};
    for (const char *form : kTimeForms) {
        const QTime time = QTime::fromString(t, QLatin1String(form));
        if (time.isValid())
            return QDateTime(today, time);
    }
    static const char *const kDateForms[] = {"yyyy-MM-dd", "dd/MM/yyyy"};
    for (const char *form : kDateForms) {
        const QDate date = QDate::fromString(t, QLatin1String(form));
        if (date.isValid())
            return QDateTime(date, QTime(0, 0));
    }
    return {};
}

} // namespace FrameText

FrameCut cutFrame(const QString &linkText)
{
    FrameCut cut;
    cut.received = FrameText::withoutFlag(linkText);

    QString text = FrameText::normaliseLineEnds(cut.received);
    if (!FrameText::rewriteShortHeader(text))
        return dropped(std::move(cut), QStringLiteral("no header line"));
    cut.canonical = text;

    const qsizetype headerEnd = text.indexOf(kCRLF);
    cut.header = text.left(headerEnd);
    // The monitor text "<UI C Len=56>" holds a ">" of its own: only one before it names a source.
    const qsizetype gt = cut.header.indexOf(QLatin1Char('>'));
    const qsizetype ui = cut.header.indexOf(QLatin1String("<UI"));
    if (gt < 0 || (ui >= 0 && ui < gt))
        return dropped(std::move(cut), QStringLiteral("no \">\" in the header"));
    cut.source = FrameText::sourceCallsign(cut.header);
    if (cut.source.isEmpty())
        return dropped(std::move(cut), QStringLiteral("no source callsign before \">\""));

    cut.payload = text.mid(headerEnd + 2);
    if (cut.payload.endsWith(kCRLF))
        cut.payload.chop(2);
    return cut;
}

FrameDecode decodeFrame(const FrameCut &cut, const QString &timeHeard,
                        const QString &timeHeardSecond, const QDateTime &now, const QTimeZone &zone)
{
    FrameDecode frame;
    static_cast<FrameCut &>(frame) = cut;
    if (cut.dropped)
        return frame;

    const QString &payload = cut.payload;
    const QChar first = payload.isEmpty() ? QChar() : payload.front();
    qsizetype weatherAt = -1;
    if (first == QLatin1Char('_'))
        weatherAt = 0;
    else if (first == QLatin1Char('='))
        weatherAt = FrameText::weatherSymbolAt(payload, 1);
    else if (first == QLatin1Char('@'))
        weatherAt = FrameText::weatherSymbolAt(payload, 1 + kStampLength);

    QString weather;
    // A station that sends its sensors' counters is stored as if it had sent "_".
    QString counters;
    if ((first == QLatin1Char('$') || first == QLatin1Char('!')) && rawWeatherReport(payload, &counters))
        weatherAt = 0;
    if (weatherAt >= 0) {
        weather = !counters.isEmpty()          ? counters
                  : first == QLatin1Char('_') ? payload
                                              : FrameText::weatherPart(payload, weatherAt);
        if (first != QLatin1Char('@') || !timeHeard.isEmpty() || !timeHeardSecond.isEmpty()) {
            const TimeFound found = timeFromHost(timeHeard, timeHeardSecond, now);
            frame.rule = found.rule;
            frame.reportTime = found.time;
        } else {
            // A stamp that is not a time must not cost the frame or the
            // report: it is filed as heard, which is now.
            const QDateTime stamp = FrameText::stampTime(QStringView(payload).mid(1, kStampLength), now, zone);
            frame.rule = stamp.isValid() ? ReportTimeRule::Stamp : ReportTimeRule::Now;
            frame.reportTime = stamp.isValid() ? stamp : now;
        }
    }

    frame.objectName = FrameText::placedObjectName(payload);
    const QString &callsign = cut.source;
    if (weather.startsWith(QLatin1Char('_'))) {
        if (weather.startsWith(QLatin1String("_PHG"))) {
            frame.phgIgnored = true;
            frame.events.append({FrameEvent::Ignored, QStringLiteral("PHG ignored from ") + callsign,
                                 callsign});
        } else {
            frame.weather = weather;
            frame.events.append({FrameEvent::Information,
                                 QStringLiteral("Added wx Data from ") + callsign, callsign});
        }
    }

    QString entry;
    if (payload.startsWith(QLatin1Char('~'))) {
        if (FrameText::isNumeric(payload.mid(2)))
            entry = QStringLiteral("Message Ack from ");
        else if (payload.startsWith(kQueryAll))
            entry = QStringLiteral("Query all stations from ");
        else
            entry = QStringLiteral("Message from ");
    } else {
        entry = QStringLiteral("Added Beacon from ");
    }
    frame.events.append({FrameEvent::Information, entry + callsign, callsign});
    return frame;
}

FrameDecode decodeFrame(const QString &linkText, const QDateTime &now)
{
    return decodeFrame(cutFrame(linkText), QString(), QString(), now, QTimeZone::systemTimeZone());
}
