#include "zones/TimeZones.h"

#include <QFile>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

QString Timezone::timeZonesKey()
{
    return IsWindowsNT() ? QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones")
                         : QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones");
}

namespace {

// The local wall-clock moment just before a change, as a recurring rule.
SystemTime recurringRule(const QDateTime &localBefore)
{
    const QDate date = localBefore.date();
    const QTime time = localBefore.time();
    SystemTime rule;
    rule.month = quint16(date.month());
    rule.dayOfWeek = quint16(date.dayOfWeek() % 7);
    rule.day = quint16(date.day() + 7 > date.daysInMonth() ? 5 : (date.day() - 1) / 7 + 1);
    rule.hour = quint16(time.hour());
    rule.minute = quint16(time.minute());
    rule.second = quint16(time.second());
    return rule;
}

// The same moment as a fixed date of the given year.
SystemTime fixedRule(const QDateTime &local)
{
    SystemTime rule = recurringRule(local);
    rule.year = quint16(local.date().year());
    rule.day = quint16(local.date().day());
    return rule;
}

QString offsetText(int seconds)
{
    const int minutes = qAbs(seconds) / 60;
    return QStringLiteral("(UTC%1%2:%3) ")
        .arg(QChar(seconds < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QChar(u'0'))
        .arg(minutes % 60, 2, 10, QChar(u'0'));
}

QDateTime wallClock(const QDateTime &utc, int offsetSeconds)
{
    return utc.addSecs(offsetSeconds).toTimeZone(QTimeZone::utc());
}

// A change of the zone's offset from UTC within one year.
struct OffsetChange
{
    QDateTime atUtc;
    int from = 0;
    int to = 0;
};

QList<OffsetChange> changesIn(const QTimeZone &zone, int year, int *offsetAtStart)
{
    const QDateTime yearStart(QDate(year, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime yearEnd(QDate(year + 1, 1, 1), QTime(0, 0), QTimeZone::utc());
    int previous = zone.offsetFromUtc(yearStart);
    *offsetAtStart = previous;
    QList<OffsetChange> changes;
    // Only the offset counts: a change of name or of the database's daylight
    // flag alone does not move a clock.
    for (const QTimeZone::OffsetData &transition : zone.transitions(yearStart, yearEnd)) {
        if (transition.atUtc <= yearStart || transition.atUtc >= yearEnd
            || transition.offsetFromUtc == previous)
            continue;
        changes.append({transition.atUtc, previous, transition.offsetFromUtc});
        previous = transition.offsetFromUtc;
    }
    return changes;
}

// A recurring rule where it also names the same change next year, else the
// fixed date: some zones follow the moon or a decree, not the weekday.
SystemTime ruleFor(const QTimeZone &zone, const OffsetChange &change)
{
    const QDateTime localBefore = wallClock(change.atUtc, change.from);
    const SystemTime rule = recurringRule(localBefore);
    const int nextYear = localBefore.date().year() + 1;
    const QDate nextDate = TransitionDate(nextYear, rule.month, rule.dayOfWeek, rule.day);
    if (nextDate.isValid()) {
        const QDateTime nextLocal(nextDate, localBefore.time(), QTimeZone::utc());
        const QDateTime nextUtc = nextLocal.addSecs(-change.from);
        if (zone.offsetFromUtc(nextUtc.addSecs(-1)) == change.from && zone.offsetFromUtc(nextUtc) == change.to)
            return rule;
    }
    return fixedRule(localBefore);
}

// The database's file for a zone; empty when there is none. Names come from
// the system and the zone list, never from a user, but keep them inside.
QByteArray zoneFile(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1String("..")) || name.startsWith(u'/'))
        return {};
    const QString folder = qEnvironmentVariableIsEmpty("TZDIR") ? QStringLiteral("/usr/share/zoneinfo")
                                                                 : qEnvironmentVariable("TZDIR");
    QFile file(folder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1 << 20)
        return {};
    return file.readAll();
}

} // namespace

TimeZoneRecord Timezone::ReadTimeZone(const QByteArray &zoneId, int year)
{
    TimeZoneRecord record;
    const QTimeZone zone(zoneId);
    if (!zone.isValid())
        return record;

    int offsetAtStart = 0;
    QList<OffsetChange> changes = changesIn(zone, year, &offsetAtStart);
    // A zone that moved its base offset this year is described by the part of
    // the year after the move, which is what the coming years will show.
    QList<int> offsets{offsetAtStart};
    for (const OffsetChange &change : changes)
        if (!offsets.contains(change.to))
            offsets.append(change.to);
    while (offsets.size() > 2) {
        const int dropped = offsets.takeFirst();
        while (!changes.isEmpty() && (changes.first().from == dropped || changes.first().to == dropped))
            changes.removeFirst();
    }

    // The lower offset is standard time and the higher one daylight time,
    // whatever the database calls them: a zone such as Europe/Dublin whose
    // database marks winter as a negative daylight saving then reads as its
    // clocks show, summer ahead of winter.
    const int standard = *std::min_element(offsets.begin(), offsets.end());
    const int daylight = *std::max_element(offsets.begin(), offsets.end());
    record.Bias = -standard / 60;
    record.StandardBias = 0;

    const QString id = QString::fromLatin1(zoneId);
    record.standardName = id;
    record.daylightName = id;
    record.displayName = offsetText(standard) + id;
    record.mapIdentifier = QLocale::territoryToCode(zone.territory());
    if (standard == daylight)
        return record;

    record.DaylightBias = -(daylight - standard) / 60;
    const OffsetChange *start = nullptr;
    const OffsetChange *end = nullptr;
    for (const OffsetChange &change : changes) {
        if (change.to == daylight && !start)
            start = &change;
        if (change.to == standard && !end)
            end = &change;
    }
    // Daylight time that runs over the turn of the year without a change in
    // it starts at the first moment of the year or ends at the last.
    const QDateTime yearStart(QDate(year, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime yearLast(QDate(year, 12, 31), QTime(23, 59, 59), QTimeZone::utc());
    record.DaylightDate = start ? ruleFor(zone, *start) : fixedRule(yearStart);
    record.StandardDate = end ? ruleFor(zone, *end) : fixedRule(yearLast);
    return record;
}

bool Timezone::hasRealZones(const QList<QByteArray> &ids)
{
    // Qt offers "UTC" and "UTC+hh:mm" even without a time zone database.
    for (const QByteArray &id : ids)
        if (!id.startsWith("UTC"))
            return true;
    return false;
}

bool Timezone::LoadTimeZones(const QString &, int year)
{
    m_zones.clear();
    m_year = year;
    const QList<QByteArray> ids = QTimeZone::availableTimeZoneIds();
    if (!hasRealZones(ids))
        return false;
    for (const QByteArray &id : ids)
        m_zones.append(ReadTimeZone(id, year));
    return !m_zones.isEmpty();
}

QString Timezone::systemStandardName()
{
    return StripNull(QString::fromLatin1(QTimeZone::systemTimeZoneId()));
}

bool Timezone::selectCurrent(const QString &standardName)
{
    if (const TimeZoneRecord *found = find(standardName)) {
        m_current = *found;
        return true;
    }
    m_current = {};
    return false;
}

QString Timezone::resolve(const QString &zoneName) const
{
    if (find(zoneName))
        return zoneName;
    // An alias the table does not list ("US/Eastern", "Etc/UTC",
    // "Asia/Calcutta") is a link to a listed zone in the database: the same
    // file under another name.
    if (const QByteArray data = zoneFile(zoneName); !data.isEmpty())
        for (const TimeZoneRecord &zone : m_zones)
            if (zoneFile(zone.standardName) == data)
                return zone.standardName;
    // Without the files, the listed zone that keeps the same clock all year,
    // one of the same country first.
    const TimeZoneRecord alias = ReadTimeZone(zoneName.toLatin1(), m_year);
    if (alias.standardName.isEmpty())
        return {};
    auto sameClock = [&alias](const TimeZoneRecord &zone) {
        return zone.Bias == alias.Bias && zone.DaylightBias == alias.DaylightBias
            && zone.DaylightDate == alias.DaylightDate && zone.StandardDate == alias.StandardDate;
    };
    const TimeZoneRecord *anyCountry = nullptr;
    for (const TimeZoneRecord &zone : m_zones) {
        if (!sameClock(zone))
            continue;
        if (!alias.mapIdentifier.isEmpty() && zone.mapIdentifier == alias.mapIdentifier)
            return zone.standardName;
        if (!anyCountry)
            anyCountry = &zone;
    }
    return anyCountry ? anyCountry->standardName : QString();
}

const TimeZoneRecord *Timezone::find(const QString &standardName) const
{
    for (const TimeZoneRecord &zone : m_zones)
        if (zone.standardName == standardName)
            return &zone;
    return nullptr;
}

QString StripNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QDate TransitionDate(int year, int month, int weekday, int occurrence)
{
    if (month < 1 || month > 12)
        return {};
    QDate found;
    int count = 0;
    const QDate first(year, month, 1);
    for (int day = 1; day <= 31; ++day) {
        const QDate date = first.addDays(day - 1);
        if (date.month() > month || date.year() > year)
            break;
        if (date.dayOfWeek() % 7 == weekday) {
            found = date;
            if (++count >= occurrence)
                break;
        }
    }
    return found;
}

namespace {

// The moment a rule takes effect in the given year, as wall-clock time.
QDateTime ruleMoment(const SystemTime &rule, int year)
{
    const QDate date = rule.year != 0 ? QDate(year, rule.month, rule.day)
                                      : TransitionDate(year, rule.month, rule.dayOfWeek, rule.day);
    if (!date.isValid())
        return {};
    return QDateTime(date, QTime(rule.hour, rule.minute, rule.second), QTimeZone::utc());
}

} // namespace

bool IsDaylightSaving(const QDateTime &t, const TimeZoneRecord &zone)
{
    // Compare wall-clock times, whatever zone t is expressed in.
    const QDateTime at(t.date(), t.time(), QTimeZone::utc());
    const int year = t.date().year();
    const QDateTime start = ruleMoment(zone.DaylightDate, year);
    const QDateTime end = ruleMoment(zone.StandardDate, year);
    if (start == end)
        return false;
    if (start < end)
        return start < at && at < end;
    return at < end || at > start;
}

int UtcOffsetAt(const QDateTime &utc, const TimeZoneRecord &zone)
{
    const int standard = -(zone.Bias + zone.StandardBias) * 60;
    const int daylight = -(zone.Bias + zone.DaylightBias) * 60;
    if (zone.DaylightDate.month == 0 || zone.StandardDate.month == 0)
        return standard;
    // The start is written in standard time and the end in daylight time,
    // each the clock just before the change. Wall clocks as milliseconds.
    const qint64 at = utc.toMSecsSinceEpoch();
    const qint64 onStandard = at + qint64(standard) * 1000;
    const qint64 onDaylight = at + qint64(daylight) * 1000;
    const int year = QDateTime::fromMSecsSinceEpoch(onStandard, QTimeZone::utc()).date().year();
    const QDateTime startMoment = ruleMoment(zone.DaylightDate, year);
    const QDateTime endMoment = ruleMoment(zone.StandardDate, year);
    if (!startMoment.isValid() || !endMoment.isValid() || startMoment == endMoment)
        return standard;
    const qint64 start = startMoment.toMSecsSinceEpoch();
    const qint64 end = endMoment.toMSecsSinceEpoch();
    // Daylight time kept to the end of the year has no change to mark its end:
    // the year's last second stands for it, on the year's own clock.
    const SystemTime &last = zone.StandardDate;
    const bool toYearEnd = last.year != 0 && last.month == 12 && last.day == 31 && last.hour == 23
                        && last.minute == 59 && last.second == 59;
    const qint64 endClock = toYearEnd ? onStandard : onDaylight;
    const bool inDaylight = start < end ? (onStandard >= start && endClock < end)
                                        : (endClock < end || onStandard >= start);
    return inDaylight ? daylight : standard;
}

ZoneClock zoneClockAt(const QDateTime &instant, const TimeZoneRecord &zone)
{
    const QDateTime utc = instant.toUTC();
    const QByteArray id = zone.standardName.toLatin1();
    const QTimeZone named = id.isEmpty() ? QTimeZone() : QTimeZone(id);
    ZoneClock clock;
    clock.offsetSeconds = named.isValid() ? named.offsetFromUtc(utc) : UtcOffsetAt(utc, zone);
    clock.daylight = clock.offsetSeconds > -(zone.Bias + zone.StandardBias) * 60;
    // Whole hours with halves to even, as the loading sequence hands them.
    clock.daylightOffsetHours = clock.daylight ? int(std::nearbyint(zone.DaylightBias / 60.0)) : 0;
    clock.wallClock = utc.addSecs(clock.offsetSeconds);
    return clock;
}

Timezone &timezones()
{
    static Timezone table;
    return table;
}
