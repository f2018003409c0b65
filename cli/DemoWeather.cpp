#include "cli/DemoWeather.h"

#include "core/LineText.h"
#include "host/aprs/Tnc2.h"
#include "stations/FrameDecoder.h"
#include "weather/WxDecoder.h"

#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kStepMinutes = 5;
constexpr int kDayMinutes = 1440;
constexpr double kTwoPi = 2 * std::numbers::pi;

// The readings of a report in the units it sends them: degrees, miles per
// hour, degrees Fahrenheit, hundredths of an inch, percent, tenths of a millibar.
struct Readings
{
    int direction = 225, speed = 5, gust = 8, temperature = 50;
    int rainHour = 0, rain24 = 0, rainToday = 0;
    int humidity = 80, pressure = 10130;
    bool stamped = false;  // "_MMDDHHMM" positionless form, else "_ddd/sss"
    QString comment;       // what follows the readings
};

bool readNumber(const QString &text, qsizetype at, int width, int *value)
{
    if (at + width > text.size())
        return false;
    bool ok = false;
    const int v = text.mid(at, width).toInt(&ok);
    if (!ok)
        return false;
    *value = v;
    return true;
}

Readings readAnchor(const QString &report)
{
    Readings r;
    qsizetype at = 1;
    int stamp = 0;
    if (readNumber(report, 1, 8, &stamp)) {
        r.stamped = true;
        at = 9;
    } else if (report.size() >= 8 && report[4] == u'/' && readNumber(report, 1, 3, &r.direction)
               && readNumber(report, 5, 3, &r.speed)) {
        at = 8;
    }
    struct Field
    {
        char16_t letter;
        int width;
        int *value;
    };
    const Field fields[] = {{u'c', 3, &r.direction}, {u's', 3, &r.speed},     {u'g', 3, &r.gust},
                            {u't', 3, &r.temperature}, {u'r', 3, &r.rainHour}, {u'p', 3, &r.rain24},
                            {u'P', 3, &r.rainToday}, {u'h', 2, &r.humidity},  {u'b', 5, &r.pressure}};
    while (at < report.size()) {
        const auto field = std::find_if(std::begin(fields), std::end(fields),
                                        [&](const Field &f) { return report[at] == f.letter; });
        if (field == std::end(fields) || !readNumber(report, at + 1, field->width, field->value))
            break;
        at += 1 + field->width;
    }
    if (r.humidity == 0)
        r.humidity = 100;
    r.comment = report.mid(at);
    return r;
}

QString writeReport(const Readings &r, const QDateTime &time)
{
    const QString temperature = r.temperature < 0 ? QStringLiteral("-%1").arg(-r.temperature, 2, 10, QChar(u'0'))
                                                   : QStringLiteral("%1").arg(r.temperature, 3, 10, QChar(u'0'));
    auto three = [](int value) { return QStringLiteral("%1").arg(value, 3, 10, QChar(u'0')); };
    const QString head = r.stamped ? time.toString(QStringLiteral("MMddHHmm")) + u'c' + three(r.direction) + u's'
                                         + three(r.speed)
                                   : three(r.direction) + u'/' + three(r.speed);
    return u'_' + head + u'g' + three(r.gust) + u't' + temperature + u'r' + three(r.rainHour) + u'p'
           + three(r.rain24) + u'P' + three(r.rainToday) + u'h'
           + QStringLiteral("%1").arg(r.humidity % 100, 2, 10, QChar(u'0')) + u'b'
           + QStringLiteral("%1").arg(r.pressure, 5, 10, QChar(u'0')) + r.comment;
}

// Rain that has fallen since yesterday 00:00, in hundredths of an inch: a
// shower yesterday afternoon, and today what the station reports, falling
// in the small hours.
class RainStory
{
public:
    RainStory(int showerHundredths, int todayHundredths, int nowMinute)
        : m_shower(showerHundredths)
        , m_today(todayHundredths)
    {
        const int today = nowMinute - kDayMinutes;
        m_todayFrom = std::min(180.0, today / 3.0);
        m_todayTo = std::min(360.0, today * 2 / 3.0);
    }

    double fallen(int minute) const
    {
        if (minute <= 0)
            return 0;
        return minute < kDayMinutes ? sinceMidnight(minute) : m_shower + sinceMidnight(minute);
    }

    double sinceMidnight(int minute) const
    {
        if (minute < kDayMinutes)
            return m_shower * ramp(minute, 14 * 60, 16 * 60);
        return m_today * ramp(minute - kDayMinutes, m_todayFrom, m_todayTo);
    }

private:
    static double ramp(double x, double from, double to)
    {
        if (x >= to)
            return 1;
        return x <= from ? 0 : (x - from) / (to - from);
    }

    double m_shower;
    double m_today;
    double m_todayFrom = 0;
    double m_todayTo = 0;
};

// A daily swing: -1 to 1, highest at the hour given.
double daily(int minute, double peakHour)
{
    return std::cos(kTwoPi * (minute - peakHour * 60) / kDayMinutes);
}

} // namespace

namespace DemoWeather {

QList<Station> firstReports(const QByteArray &traffic, const QDateTime &now)
{
    QList<Station> stations;
    QSet<QString> seen;
    for (const QByteArray &raw : traffic.split('\n')) {
        const QString line = decodeLine(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        Tnc2Frame frame;
        if (!parseTnc2(splitTimeStamp(line).text.toString(), &frame) || seen.contains(frame.source))
            continue;
        const FrameDecode decoded = decodeFrame(frame.monitorText(), now);
        // History is drawn on from the first report's readings, so a report
        // without a temperature cannot start one.
        if (decoded.weather.isEmpty() || decodeWxReport(decoded.weather).temperature == kWxAbsent)
            continue;
        seen.insert(frame.source);
        stations.append({decoded.source, decoded.weather});
    }
    return stations;
}

QList<Report> history(const Station &station, const QDateTime &now)
{
    const Readings anchor = readAnchor(station.report);
    const QDate yesterday = now.date().addDays(-1);
    const int nowMinute = kDayMinutes + now.time().hour() * 60 + now.time().minute();
    // Each station its own weather, the same every time it is written.
    QRandomGenerator random(quint32(qHash(station.callsign, 26)));
    const double pressurePhase = random.bounded(kTwoPi);
    const double directionPhase = random.bounded(kTwoPi);
    const RainStory rain(8 + int(random.bounded(8)), anchor.rainToday, nowMinute);

    auto smooth = [&](int minute) {
        Readings r;
        const double warmth = 7 * daily(minute, 15) + 2.0 * (nowMinute - minute) / kDayMinutes;
        r.temperature = int(std::lround(warmth));
        r.humidity = int(std::lround(-11 * daily(minute, 15)));
        r.speed = int(std::lround(3 * daily(minute, 14)));
        r.direction = int(std::lround(35 * std::sin(kTwoPi * minute / kDayMinutes + directionPhase)));
        r.pressure = int(std::lround(55 * std::sin(kTwoPi * minute / (2 * kDayMinutes) + pressurePhase)));
        return r;
    };
    const Readings atNow = smooth(nowMinute);

    QList<Report> reports;
    for (int minute = 0; minute <= nowMinute; minute += kStepMinutes) {
        const QDate date = minute < kDayMinutes ? yesterday : now.date();
        const int ofDay = minute % kDayMinutes;
        const QDateTime time(date, QTime(ofDay / 60, ofDay % 60));
        // Noise dies away over the last hour, so the last report is the anchor's.
        const double fade = std::min(1.0, (nowMinute - minute) / 60.0);
        const double noise = (random.generateDouble() - 0.5) * fade;
        if (!time.isValid())
            continue;  // an hour the clocks skip
        const Readings s = smooth(minute);
        Readings r = anchor;
        r.temperature = anchor.temperature + s.temperature - atNow.temperature + int(std::lround(2 * noise));
        r.humidity = std::clamp(anchor.humidity + s.humidity - atNow.humidity + int(std::lround(4 * noise)), 30, 100);
        r.speed = std::max(0, anchor.speed + s.speed - atNow.speed + int(std::lround(3 * noise)));
        r.gust = std::max(r.speed, anchor.gust + r.speed - anchor.speed + int(std::lround(4 * std::fabs(noise))));
        r.direction = ((anchor.direction + s.direction - atNow.direction + int(std::lround(30 * noise))) % 360 + 360) % 360;
        r.pressure = anchor.pressure + s.pressure - atNow.pressure;
        r.rainHour = int(std::lround(rain.fallen(minute) - rain.fallen(minute - 60)));
        r.rain24 = int(std::lround(rain.fallen(minute) - rain.fallen(minute - kDayMinutes)));
        r.rainToday = int(std::lround(rain.sinceMidnight(minute)));
        reports.append({time, writeReport(r, time)});
    }
    return reports;
}

} // namespace DemoWeather
