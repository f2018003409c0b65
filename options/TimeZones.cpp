#include "options/TimeZones.h"

#include <QTimeZone>

QString Timezone::timeZonesKey()
{
    return IsWindowsNT() ? QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones")
                         : QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones");
}

namespace {

// The local wall-clock moment just before a transition, as a recurring rule.
SystemTime ruleFor(const QTimeZone::OffsetData &transition, int offsetBefore)
{
    const QDateTime local = transition.atUtc.addSecs(offsetBefore).toTimeZone(QTimeZone::utc());
    const QDate date = local.date();
    const QTime time = local.time();
    SystemTime rule;
    rule.month = quint16(date.month());
    rule.dayOfWeek = quint16(date.dayOfWeek() % 7);
    const int week = (date.day() - 1) / 7 + 1;
    rule.day = quint16(date.day() + 7 > date.daysInMonth() ? 5 : week);
    rule.hour = quint16(time.hour());
    rule.minute = quint16(time.minute());
    rule.second = quint16(time.second());
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

} // namespace

TimeZoneRecord Timezone::ReadTimeZone(const QByteArray &zoneId, int year)
{
    TimeZoneRecord record;
    const QTimeZone zone(zoneId);
    if (!zone.isValid())
        return record;

    const QDateTime yearStart(QDate(year, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime yearEnd(QDate(year + 1, 1, 1), QTime(0, 0), QTimeZone::utc());
    const int standardOffset = zone.standardTimeOffset(yearStart.addDays(182)) ;
    record.Bias = -standardOffset / 60;
    record.StandardBias = 0;

    const QString id = QString::fromLatin1(zoneId);
    record.standardName = id;
    record.daylightName = id;
    record.displayName = offsetText(standardOffset) + id;
    record.mapIdentifier = QLocale::territoryToCode(zone.territory());

    if (!zone.hasDaylightTime())
        return record;
    int offsetBefore = zone.offsetFromUtc(yearStart.addSecs(-1));
    for (const QTimeZone::OffsetData &transition : zone.transitions(yearStart, yearEnd)) {
        if (transition.daylightTimeOffset > 0 && record.DaylightDate.month == 0) {
            record.DaylightDate = ruleFor(transition, offsetBefore);
            record.DaylightBias = -transition.daylightTimeOffset / 60;
        } else if (transition.daylightTimeOffset == 0 && record.StandardDate.month == 0) {
            record.StandardDate = ruleFor(transition, offsetBefore);
        }
        offsetBefore = transition.offsetFromUtc;
    }
    // A zone that only entered or only left daylight time this year has no rule.
    if (record.DaylightDate.month == 0 || record.StandardDate.month == 0) {
        record.DaylightDate = {};
        record.StandardDate = {};
        record.DaylightBias = 0;
    }
    return record;
}

bool Timezone::LoadTimeZones(const QString &, int year)
{
    m_zones.clear();
    const QList<QByteArray> ids = QTimeZone::availableTimeZoneIds();
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

Timezone &timezones()
{
    static Timezone table;
    return table;
}
