#include "zones/TimeZones.h"

#include <QProcess>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QDateTime at(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd HH:mm:ss");
}

SystemTime rule(int month, int weekday, int week, int hour)
{
    SystemTime r;
    r.month = quint16(month);
    r.dayOfWeek = quint16(weekday);
    r.day = quint16(week);
    r.hour = quint16(hour);
    return r;
}

} // namespace

TEST(TimeZones, TransitionDateRules)
{
    // Last Sunday of March 2026 is the 29th.
    EXPECT_EQ(TransitionDate(2026, 3, 0, 5), QDate(2026, 3, 29));
    EXPECT_EQ(TransitionDate(2026, 3, 0, 1), QDate(2026, 3, 1));
    // February 2026 has four Mondays: the fifth falls back to the fourth.
    EXPECT_EQ(TransitionDate(2026, 2, 1, 5), QDate(2026, 2, 23));
    // A weekday that occurs five times gives the fifth.
    EXPECT_EQ(TransitionDate(2026, 6, 2, 5), QDate(2026, 6, 30));
    EXPECT_EQ(TransitionDate(2026, 12, 4, 5), QDate(2026, 12, 31));
    EXPECT_FALSE(TransitionDate(2026, 0, 0, 1).isValid());
}

TEST(TimeZones, NorthernRuleHasExclusiveLimits)
{
    TimeZoneRecord zone;
    zone.DaylightDate = rule(3, 0, 5, 1);
    zone.StandardDate = rule(10, 0, 5, 2);
    EXPECT_FALSE(IsDaylightSaving(at("2026-01-15 12:00:00"), zone));
    EXPECT_FALSE(IsDaylightSaving(at("2026-03-29 01:00:00"), zone));
    EXPECT_TRUE(IsDaylightSaving(at("2026-03-29 01:00:01"), zone));
    EXPECT_TRUE(IsDaylightSaving(at("2026-07-01 00:00:00"), zone));
    EXPECT_FALSE(IsDaylightSaving(at("2026-10-25 02:00:00"), zone));
    EXPECT_FALSE(IsDaylightSaving(at("2026-11-01 00:00:00"), zone));
}

TEST(TimeZones, SouthernRuleWrapsTheYear)
{
    TimeZoneRecord zone;
    zone.DaylightDate = rule(10, 0, 1, 2);
    zone.StandardDate = rule(4, 0, 1, 3);
    EXPECT_TRUE(IsDaylightSaving(at("2026-01-15 12:00:00"), zone));
    EXPECT_FALSE(IsDaylightSaving(at("2026-07-15 12:00:00"), zone));
    EXPECT_TRUE(IsDaylightSaving(at("2026-12-31 23:59:59"), zone));
}

TEST(TimeZones, ZoneWithoutRulesIsNeverDaylight)
{
    TimeZoneRecord zone;
    for (const char *t : {"2026-01-01 00:00:00", "2026-06-30 12:00:00", "2026-12-31 23:59:59"})
        EXPECT_FALSE(IsDaylightSaving(at(t), zone)) << t;
}

TEST(TimeZones, StripNull)
{
    EXPECT_EQ(StripNull(QString("GMT Standard Time") + QChar(0) + QChar(0)), "GMT Standard Time");
    EXPECT_EQ(StripNull(QString(QChar(0)) + "x"), "");
    EXPECT_EQ(StripNull("plain"), "plain");
}

TEST(TimeZones, RulesDerivedFromTheSystemDatabase)
{
    const TimeZoneRecord london = Timezone::ReadTimeZone("Europe/London", 2026);
    ASSERT_EQ(london.standardName, "Europe/London");
    EXPECT_EQ(london.displayName, "(UTC+00:00) Europe/London");
    EXPECT_EQ(london.Bias, 0);
    EXPECT_EQ(london.DaylightBias, -60);
    EXPECT_EQ(london.DaylightDate, rule(3, 0, 5, 1));
    EXPECT_EQ(london.StandardDate, rule(10, 0, 5, 2));

    const TimeZoneRecord newYork = Timezone::ReadTimeZone("America/New_York", 2026);
    EXPECT_EQ(newYork.Bias, 300);
    EXPECT_EQ(newYork.displayName, "(UTC-05:00) America/New_York");
    EXPECT_EQ(newYork.DaylightDate, rule(3, 0, 2, 2));  // second Sunday of March
    EXPECT_EQ(newYork.StandardDate, rule(11, 0, 1, 2));

    const TimeZoneRecord sydney = Timezone::ReadTimeZone("Australia/Sydney", 2026);
    EXPECT_EQ(sydney.Bias, -600);
    EXPECT_EQ(sydney.DaylightDate, rule(10, 0, 1, 2));
    EXPECT_EQ(sydney.StandardDate, rule(4, 0, 1, 3));
    EXPECT_TRUE(IsDaylightSaving(at("2026-01-10 12:00:00"), sydney));
    EXPECT_FALSE(IsDaylightSaving(at("2026-07-10 12:00:00"), sydney));

    const TimeZoneRecord tokyo = Timezone::ReadTimeZone("Asia/Tokyo", 2026);
    EXPECT_EQ(tokyo.Bias, -540);
    EXPECT_EQ(tokyo.DaylightDate, SystemTime{});
    EXPECT_FALSE(IsDaylightSaving(at("2026-07-10 12:00:00"), tokyo));

    EXPECT_TRUE(Timezone::ReadTimeZone("Not/AZone", 2026).standardName.isEmpty());
}

TEST(TimeZones, TableAndCurrentZone)
{
    Timezone table;
    ASSERT_TRUE(table.LoadTimeZones(Timezone::timeZonesKey(), 2026));
    EXPECT_GT(table.zones().size(), 100);
    EXPECT_TRUE(table.selectCurrent("Europe/Paris"));
    EXPECT_EQ(table.current().Bias, -60);
    EXPECT_FALSE(table.selectCurrent("europe/paris"));  // exact match only
    EXPECT_TRUE(table.current().standardName.isEmpty());
}

TEST(TimeZones, CommandLine)
{
    const QString tool = QStringLiteral(KESTREL_TOOL_PATH);
    auto run = [&](const QStringList &args, int *status) {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(30000);
        *status = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    };
    int status = -1;
    EXPECT_EQ(run({"tz", "transition", "2026", "3", "0", "5"}, &status), "2026-03-29");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(run({"tz", "dst", "Europe/London", "2026-07-01 12:00:00"}, &status), "true");
    EXPECT_EQ(run({"tz", "dst", "Europe/London", "2026-01-01 12:00:00"}, &status), "false");
    run({"tz", "transition", "2026", "13", "0", "1"}, &status);
    EXPECT_EQ(status, 2);
    run({"tz", "dst", "Nowhere/Special", "2026-01-01 12:00:00"}, &status);
    EXPECT_EQ(status, 2);
    const QString list = run({"tz", "list"}, &status);
    EXPECT_TRUE(list.contains("Europe/London\t(UTC+00:00) Europe/London\t0\t-60")) << list.left(200).toStdString();
}

// The record must keep the clock the database keeps: for every zone and
// every hour of two whole years, with the table loaded for each year as the
// program loads it at start.
TEST(TimeZones, EveryZoneKeepsTheDatabaseClockForTwoYears)
{
    for (int year : {2026, 2027}) {
        Timezone table;
        ASSERT_TRUE(table.LoadTimeZones(Timezone::timeZonesKey(), year));
        QStringList wrong;
        for (const TimeZoneRecord &record : table.zones()) {
            const QTimeZone zone(record.standardName.toLatin1());
            ASSERT_TRUE(zone.isValid()) << record.standardName.toStdString();
            // The record describes the zone's own year: from its first local
            // hour to its last, whatever UTC says then.
            const int standard = -record.Bias * 60;
            QDateTime utc = QDateTime(QDate(year, 1, 1), QTime(0, 30), QTimeZone::utc()).addSecs(-standard);
            const QDateTime end = QDateTime(QDate(year + 1, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(-standard);
            // The database's offset between its transitions, walked along.
            const QTimeZone::OffsetDataList transitions = zone.transitions(utc, end);
            int next = 0;
            int databaseOffset = zone.offsetFromUtc(utc);
            for (; utc < end; utc = utc.addSecs(3600)) {
                while (next < transitions.size() && transitions[next].atUtc <= utc)
                    databaseOffset = transitions[next++].offsetFromUtc;
                if (UtcOffsetAt(utc, record) != databaseOffset) {
                    wrong << record.standardName + u' ' + utc.toString(Qt::ISODate);
                    break;
                }
            }
        }
        EXPECT_TRUE(wrong.isEmpty()) << year << ": " << wrong.join(", ").toStdString();
    }
}

TEST(TimeZones, NegativeDaylightSavingReadsAsSummerTime)
{
    const TimeZoneRecord dublin = Timezone::ReadTimeZone("Europe/Dublin", 2026);
    EXPECT_EQ(dublin.displayName, "(UTC+00:00) Europe/Dublin");
    EXPECT_EQ(dublin.Bias, 0);
    EXPECT_EQ(dublin.DaylightBias, -60);
    EXPECT_EQ(dublin.DaylightDate, rule(3, 0, 5, 1));
    EXPECT_EQ(dublin.StandardDate, rule(10, 0, 5, 2));
    EXPECT_TRUE(IsDaylightSaving(at("2026-07-15 12:00:00"), dublin));
    EXPECT_FALSE(IsDaylightSaving(at("2026-01-15 12:00:00"), dublin));

    // Morocco's clocks go back for Ramadan, a month that moves every year:
    // fixed dates of the year loaded, daylight time the rest of the year.
    const TimeZoneRecord casablanca = Timezone::ReadTimeZone("Africa/Casablanca", 2026);
    EXPECT_EQ(casablanca.Bias, 0);
    EXPECT_EQ(casablanca.DaylightBias, -60);
    EXPECT_EQ(casablanca.StandardDate.year, 2026);
    EXPECT_TRUE(IsDaylightSaving(at("2026-07-15 12:00:00"), casablanca));
}

TEST(TimeZones, AliasOfTheSystemZoneFindsTheListedZone)
{
    Timezone table;
    ASSERT_TRUE(table.LoadTimeZones(Timezone::timeZonesKey(), 2026));
    EXPECT_EQ(table.resolve("Europe/London"), "Europe/London");
    EXPECT_EQ(table.resolve("US/Eastern"), "America/New_York");
    EXPECT_EQ(table.resolve("Asia/Calcutta"), "Asia/Kolkata");
    EXPECT_EQ(table.resolve("Europe/Kiev"), "Europe/Kyiv");
    const QString utc = table.resolve("Etc/UTC");
    ASSERT_FALSE(utc.isEmpty());
    ASSERT_TRUE(table.selectCurrent(utc));
    EXPECT_EQ(table.current().Bias, 0);
    EXPECT_EQ(table.current().DaylightBias, 0);
    EXPECT_TRUE(table.resolve("Not/AZone").isEmpty());
    // US/Eastern found, so summer there is daylight time.
    ASSERT_TRUE(table.selectCurrent(table.resolve("US/Eastern")));
    EXPECT_TRUE(IsDaylightSaving(at("2026-07-04 12:00:00"), table.current()));
}

TEST(TimeZones, OnlyQtsOwnUtcEntriesMeanNoDatabase)
{
    EXPECT_FALSE(Timezone::hasRealZones({}));
    EXPECT_FALSE(Timezone::hasRealZones({"UTC", "UTC+01:00", "UTC-12:00"}));
    EXPECT_TRUE(Timezone::hasRealZones({"UTC", "Europe/London"}));
}
