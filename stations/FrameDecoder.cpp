#include "stations/FrameDecoder.h"

#include "core/WallClock.h"

namespace {

constexpr QChar kCR(13);
constexpr QChar kLF(10);
constexpr QChar kNul(0);
const QString kCRLF = QStringLiteral("\r\n");

// The first byte of the "query all stations" form is the Latin-1 character 253.
const QString kQueryAll = QStringLiteral("~") + QChar(0xFD) + QStringLiteral("~");

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// "DDHHMMz" after the "@".
constexpr qsizetype kStampLength = 7;

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
                        const QString &timeHeardSecond, const QDateTime &now)
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
    if (weatherAt >= 0) {
        weather = payload.mid(weatherAt);
        if (first != QLatin1Char('@') || !timeHeard.isEmpty() || !timeHeardSecond.isEmpty()) {
            const TimeFound found = timeFromHost(timeHeard, timeHeardSecond, now);
            frame.rule = found.rule;
            frame.reportTime = found.time;
        } else {
            // "@DDHHMMz": only the hour and minute are used, on today's date.
            // A position follows the stamp, so all of it is there.
            bool digits = true;
            for (qsizetype i = 3; i < 7; ++i)
                digits = digits && isDigit(payload.at(i));
            if (digits) {
                const int hours = payload.mid(3, 2).toInt();
                const int minutes = payload.mid(5, 2).toInt();
                QDateTime midnight = now;
                midnight.setTime(QTime(0, 0));
                // Hours past 23 roll into the next day, as a time serial would.
                frame.rule = ReportTimeRule::Stamp;
                frame.reportTime = midnight.addSecs(qint64(hours) * 3600 + qint64(minutes) * 60);
            } else {
                // A stamp that is not a time must not cost the frame or the
                // report: it is filed as heard, which is now.
                frame.rule = ReportTimeRule::Now;
                frame.reportTime = now;
            }
        }
    }

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
    return decodeFrame(cutFrame(linkText), QString(), QString(), now);
}
