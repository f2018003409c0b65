#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// A transition rule: with year 0 a recurring rule (day = week 1 to 5 of the
// weekday in the month, 5 meaning the last), otherwise a fixed date.
struct SystemTime
{
    quint16 year = 0;
    quint16 month = 0;
    quint16 dayOfWeek = 0;  // 0 = Sunday
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    bool operator==(const SystemTime &) const = default;
};

// One zone of the time zone table. Biases in minutes, UTC = local + bias.
struct TimeZoneRecord
{
    qint32 Bias = 0;
    qint32 StandardBias = 0;
    qint32 DaylightBias = 0;
    SystemTime StandardDate;
    SystemTime DaylightDate;
    QString displayName;
    QString standardName;
    QString daylightName;
    QString mapIdentifier;
};

// The time zone table, built from the system's time zone database.
class Timezone
{
public:
    // Wording kept for the loading sequence's messages.
    static QString timeZonesKey();

    static bool IsWindowsNT() { return true; }
    // Fills the table; false when the system has no zone information.
    bool LoadTimeZones(const QString &key, int year);
    // The record of one zone for the given year's rules; empty when unknown.
    static TimeZoneRecord ReadTimeZone(const QByteArray &zoneId, int year);
    // The standard name of the zone the system uses.
    static QString systemStandardName();
    // Makes the first entry with that standard name the current zone;
    // without a match the current zone is left empty.
    bool selectCurrent(const QString &standardName);
    // The table's name for a zone: the name itself when listed, else the
    // listed zone with the same clock all year (an alias such as
    // "US/Eastern"); empty when there is none.
    QString resolve(const QString &zoneName) const;
    // False for a list holding only Qt's own "UTC..." entries, which it
    // offers even when the system has no time zone database.
    static bool hasRealZones(const QList<QByteArray> &ids);

    const QList<TimeZoneRecord> &zones() const { return m_zones; }
    const TimeZoneRecord &current() const { return m_current; }
    const TimeZoneRecord *find(const QString &standardName) const;

private:
    QList<TimeZoneRecord> m_zones;
    int m_year = 0;
    TimeZoneRecord m_current;
};

QString StripNull(const QString &text);
// The n-th occurrence of the weekday (0 = Sunday) in the month, or the last
// one when there are fewer; a null date when there is none.
QDate TransitionDate(int year, int month, int weekday, int occurrence);
// True strictly between the start and the end of daylight time in t's year.
bool IsDaylightSaving(const QDateTime &t, const TimeZoneRecord &zone);

// The zone's offset from UTC in seconds at that moment, as the record's
// rules give it (the start of daylight time counts as daylight time).
int UtcOffsetAt(const QDateTime &utc, const TimeZoneRecord &zone);

// What a zone's clock shows at an instant.
struct ZoneClock
{
    QDateTime wallClock;  // the date and time as the zone's clock reads them (held as UTC fields)
    int offsetSeconds = 0;
    bool daylight = false;  // the clock is ahead of the zone's standard time
    int daylightOffsetHours = 0;  // the record's daylight bias in whole hours while daylight time is on, else 0
};

// The zone's own rules from the system when it knows the zone's name, else
// the record's; a record without a name keeps UTC plus its bias.
ZoneClock zoneClockAt(const QDateTime &instant, const TimeZoneRecord &zone);

// The program-wide table loaded at start.
Timezone &timezones();
