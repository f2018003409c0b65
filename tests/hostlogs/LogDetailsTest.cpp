#include "hostlogs/LogDetails.h"

#include "ProcessZone.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QList<QPair<QString, int>> tally(const LogDetails::Summary &summary)
{
    QList<QPair<QString, int>> out;
    for (const LogDetails::Station &station : summary.stations)
        out.append({station.callsign, station.count});
    return out;
}

} // namespace

TEST(LogDetails, TimesOutOfOrderEndOnTheLargestAndStationsCountInFirstOrder)
{
    const LogDetails::Summary s = LogDetails::examine(
        "2026-07-01 09:00:00 START LOCAL TIME\r\n"
        "2026-07-01 09:00:05 G4KDA>APKS01,WIDE2-1:!5145.67N/00115.71W-\r\n"
        "2026-07-01 11:30:00 G0KST>APRS:>status\r\n"
        "2026-07-01 10:15:00 G4KDA>APRS:>again\r\n"
        "2026-07-01 12:00:00 no frame on this line\r\n"
        "2026-07-01 10:16:00 g4kda>APRS:>letter case counts\r\n"
        "2026-07-01 10:17:00 G4KDA>APRS:>third\r\n");
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(s.start, "2026-07-01 09:00:00");
    EXPECT_EQ(s.end, "2026-07-01 12:00:00");  // a line without ">" moves only the end
    EXPECT_EQ(tally(s), (QList<QPair<QString, int>>{{"G4KDA", 3}, {"G0KST", 1}, {"g4kda", 1}}));
}

TEST(LogDetails, BothLogKindsReadAsValid)
{
    // The host's monitor log: one line per frame.
    const LogDetails::Summary host = LogDetails::examine(
        "2026-07-01 10:00:00 START LOCAL TIME\r\n2026-07-01 10:00:02 G4KDA>APKS01,G3KDC-1*,WIDE2-1:!5145.67N\r\n");
    ASSERT_TRUE(host.valid);  // a single entry after the START line is a log too
    EXPECT_EQ(tally(host), (QList<QPair<QString, int>>{{"G4KDA", 1}}));

    // The station list's auto log: monitor-form header, then the payload on its own line.
    const LogDetails::Summary autoLog = LogDetails::examine(
        "2026-12-06 12:29:00 START LOCAL TIME\r\n"
        "2026-12-06 12:29:00 N0CALL>APZ031,CLRMRE*,WIDE3-2 Port=1 <UI C Len=56>:  \r\n"
        "@291229z3614.79N/09549.68W_91/000g000t056r000P000p000h81b10186zU2k\r\n"
        "2026-12-06 12:41:07 N0CALL>APZ031,WIDE3-2 Port=1 <UI C Len=56>:  \r\n"
        ">2026-12-31 a payload that looks like a date is still no entry\r\n");
    ASSERT_TRUE(autoLog.valid);
    EXPECT_EQ(autoLog.end, "2026-12-06 12:41:07");
    EXPECT_EQ(tally(autoLog), (QList<QPair<QString, int>>{{"N0CALL", 2}}));
}

TEST(LogDetails, MarkedLinesAndPrefixedFrames)
{
    const LogDetails::Summary s = LogDetails::examine(
        "06/12/2026 08:00:00\xfeSTART\r\n"
        "06/12/2026 08:00:00\xfe" "START again, the last one counts\r\n"
        "2026-12-06 08:01:00\xfeG1ABC>APRS:>marked\r\n"
        "x\xfe" "12:00:01  G2DEF>APRS:>the tenth character is a blank\r\n"
        "plain text, no stamp: N9XYZ>APRS\n"
        "2026-12-06 08:02:00 G1ABC>APRS\r");
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(s.start, "06/12/2026 08:00:00");
    EXPECT_EQ(s.end, "x");  // compared as text, as the files were
    EXPECT_EQ(tally(s), (QList<QPair<QString, int>>{{"G1ABC", 2}, {"G2DEF", 1}}));
}

// Callsigns whose bytes differ but read as one name are one station.
TEST(LogDetails, CallsignsThatReadAlikeAreOneStation)
{
    const LogDetails::Summary s = LogDetails::examine("2026-12-06 08:00:00\xfeSTART\r\n"
                                                      "2026-12-06 08:01:00\xfeG4ABC>APRS:>plain\r\n"
                                                      "2026-12-06 08:02:00\xfe\xEF\xBB\xBFG4ABC>APRS:>marked\r\n"
                                                      "2026-12-06 08:03:00\xfe\xC3\xA9>APRS:>UTF-8\r\n"
                                                      "2026-12-06 08:04:00\xfe\xE9>APRS:>Latin-1\r\n"
                                                      "2026-12-06 08:05:00\xfe\xEF\xBB\xBF>APRS:>no name\r\n");
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(tally(s), (QList<QPair<QString, int>>{{"G4ABC", 2}, {QString::fromUtf8("\xC3\xA9"), 2}}));
}

TEST(LogDetails, AByteOrderMarkIsNoPartOfTheStartTime)
{
    const LogDetails::Summary s = LogDetails::examine("\xEF\xBB\xBF" "2026-07-01 09:00:00 START LOCAL TIME\r"
                                                      "2026-07-01 09:00:05 G4KDA>APRS:>CR-only line ends\r");
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(s.start, "2026-07-01 09:00:00");
    EXPECT_EQ(s.end, "2026-07-01 09:00:05");
}

TEST(LogDetails, NotALog)
{
    for (const char *text : {"", "2026-07-01 10:00:00 START LOCAL TIME\r\n",
                             "START\r\nSTART\r\nSTART", "2026-07-01 10:00:02 G4KDA>APRS:x\r\n2026-07-01 10:00:03 G4KDA>APRS:y\r\n"})
        EXPECT_FALSE(LogDetails::examine(text).valid) << text;
}

TEST(LogDetails, TimesShowAsDayMonthYearAndTheListLinesUp)
{
    EXPECT_EQ(LogDetails::displayTime("2026-12-06 14:03:22"), "06-Dec-2026 14:03:22");
    EXPECT_EQ(LogDetails::displayTime("06/12/2026 08:00:00"), "06-Dec-2026 08:00:00");
    EXPECT_EQ(LogDetails::displayTime("not a time"), "not a time");
    EXPECT_EQ(LogDetails::displayTime("2026-02-30 10:00:00"), "2026-02-30 10:00:00");
    {
        // A stamp is a wall-clock reading, also in the hour a spring-forward skips.
        ProcessZone london("Europe/London");
        EXPECT_EQ(LogDetails::displayTime("2026-03-29 01:30:00"), "29-Mar-2026 01:30:00");
        EXPECT_EQ(LogDetails::displayTime("29/03/2026 01:59:59"), "29-Mar-2026 01:59:59");
    }
    EXPECT_EQ(LogDetails::stationLines({{"G4KDA", 3}, {"VERYLONGCALLSIGN", 12345}}),
              QStringList({"Callsign     Hrd x", "G4KDA           3", "VERYLONGCALLSIGN12345"}));
}

TEST(LogDetailsGarbage, RandomBytesNeverBreakTheSummary)
{
    QRandomGenerator random(13);
    static const char alphabet[] = "START2026-07-01 10:00:00>\xfe\r\n\r\n G4KDA";
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes;
        const int size = int(random.bounded(2000));
        for (int i = 0; i < size; ++i)
            bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                            : alphabet[random.bounded(int(sizeof alphabet - 1))];
        const LogDetails::Summary s = LogDetails::examine(bytes);
        if (!s.valid)
            continue;
        EXPECT_GE(s.end, s.start);
        qint64 total = 0;
        for (const LogDetails::Station &station : s.stations) {
            EXPECT_FALSE(station.callsign.isEmpty());
            EXPECT_GT(station.count, 0);
            total += station.count;
        }
        EXPECT_LE(total, bytes.count('>'));
        EXPECT_EQ(LogDetails::stationLines(s.stations).size(), s.stations.size() + 1);
    }
}
