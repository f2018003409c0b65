#include "statistics/StatisticsBarIndex.h"
#include "statistics/StatisticsFile.h"
#include "statistics/StatisticsSampler.h"
#include "statistics/StatisticsSeries.h"

#include "ProcessZone.h"
#include "TempDirs.h"

#include <QFile>
#include <QLocale>

#include <limits>
#include <gtest/gtest.h>

namespace {

QDateTime at(int hour, int minute, int second = 0, int day = 1)
{
    return QDateTime(QDate(2026, 7, day), QTime(hour, minute, second));
}

} // namespace

TEST(StatisticsSeries, BarColoursAreStrictlyAboveTheThresholds)
{
    const struct { qint32 value; const char *colour; } cases[] = {
        {0, "green"}, {10, "green"}, {11, "yellow"}, {20, "yellow"}, {21, "red"}, {-5, "green"},
    };
    StatisticsSeries series;  // the defaults, 10 and 20
    for (const auto &c : cases)
        EXPECT_STREQ(barColourName(barColour(c.value, series.thresholds())), c.colour) << c.value;
    EXPECT_EQ(barColour(21, {}), 255);
    EXPECT_EQ(barColour(20, {}), 65535);
    EXPECT_EQ(barColour(10, {}), 65280);
    EXPECT_STREQ(barColourName(barColour(6, {5, 50})), "yellow");
}

TEST(StatisticsSeries, LastBarGrowsAndTakesItsNewColour)
{
    StatisticsSeries series;
    series.addToLastBar(5);  // no bars: nothing to add to
    EXPECT_TRUE(series.isEmpty());
    series.AddStatisticsBar(at(12, 0), 0);
    series.AddStatisticsBar(at(12, 10), 9);
    series.addToLastBar(12);
    EXPECT_EQ(series.bars().first().value, 0);
    EXPECT_EQ(series.bars().last().value, 21);
    EXPECT_STREQ(barColourName(series.bars().last().colour), "red");
    series.addToLastBar(std::numeric_limits<qint32>::max());
    EXPECT_EQ(series.bars().last().value, std::numeric_limits<qint32>::max());
}

TEST(StatisticsSeries, TrendIsTheLeastSquaresLineThroughTheBars)
{
    EXPECT_TRUE(leastSquaresTrend({}).isEmpty());
    EXPECT_EQ(leastSquaresTrend({{at(12, 0), 7, 0}}), QList<double>({7.0}));

    // 2, 4, 9 at equal steps: slope 3.5, through the mean 5.
    const QList<double> trend = leastSquaresTrend({{at(12, 0), 2, 0}, {at(12, 10), 4, 0}, {at(12, 20), 9, 0}});
    ASSERT_EQ(trend.size(), 3);
    EXPECT_NEAR(trend[0], 1.5, 1e-9);
    EXPECT_NEAR(trend[1], 5.0, 1e-9);
    EXPECT_NEAR(trend[2], 8.5, 1e-9);

    // Spaced by time, not by position: a late bar weighs by its distance.
    const QList<double> gap = leastSquaresTrend({{at(12, 0), 0, 0}, {at(12, 10), 10, 0}, {at(13, 0), 60, 0}});
    EXPECT_NEAR(gap[1], 10.0, 1e-9);
}

// The index a live chart follows tick by tick must answer as one built anew,
// and both as a plain search: for bars in time order and out of it.
TEST(StatisticsBarIndex, FollowedAndNewIndexesAnswerAsAPlainSearch)
{
    quint32 noise = 7;
    auto next = [&noise](int below) {
        noise = noise * 1103515245u + 12345u;
        return int((noise >> 16) % quint32(below));
    };
    for (const bool shuffled : {false, true}) {
        SCOPED_TRACE(shuffled ? "out of time order" : "in time order");
        StatisticsSeries series;
        series.AddStatisticsBar(at(0, 0), 4);
        StatisticsBarIndex followed(series.bars());
        QDateTime time = at(0, 0);
        for (int tick = 0; tick < 300; ++tick) {
            series.addToLastBar(next(9) - 2);  // now and then a count that falls
            if (next(3) > 0) {
                time = time.addSecs(shuffled && next(4) == 0 ? -3600 : 60 * (1 + next(3)));
                series.AddStatisticsBar(time, next(30) - 5);
            }
            if (!followed.follow(series.bars()))
                followed = StatisticsBarIndex(series.bars());
        }
        const QList<StatisticsBar> &bars = series.bars();
        const StatisticsBarIndex fresh(bars);
        const QList<double> trend = leastSquaresTrend(bars);
        for (const StatisticsBarIndex *index : {static_cast<const StatisticsBarIndex *>(&followed), &fresh}) {
            ASSERT_EQ(index->size(), bars.size());
            for (qsizetype rank = 1; rank < bars.size(); ++rank)
                ASSERT_LE(bars[index->barAtRank(rank - 1)].time, bars[index->barAtRank(rank)].time);
            for (int query = 0; query < 200; ++query) {
                const qsizetype from = next(int(bars.size())), to = from + next(int(bars.size() - from) + 1);
                qint32 most = std::numeric_limits<qint32>::min(), least = std::numeric_limits<qint32>::max();
                for (qsizetype rank = from; rank < to; ++rank) {
                    most = std::max(most, bars[index->barAtRank(rank)].value);
                    least = std::min(least, bars[index->barAtRank(rank)].value);
                }
                const qsizetype largest = index->largestIn(from, to), smallest = index->smallestIn(from, to);
                ASSERT_EQ(largest < 0, from == to);
                if (from < to) {
                    ASSERT_EQ(bars[largest].value, most) << from << ".." << to;
                    ASSERT_EQ(bars[smallest].value, least) << from << ".." << to;
                }
            }
            const StatisticsTrend line = index->trend();
            for (qsizetype i = 0; i < bars.size(); ++i)
                ASSERT_NEAR(line.at(index->secondsOf(i)), trend[i], 1e-6) << i;
        }
    }
}

TEST(StatisticsSampler, SampleTenStartsABarAtTheTenthMinuteBoundary)
{
    StatisticsSeries series;
    StatisticsSampler sampler(series, 10);
    sampler.start(at(12, 0, 30));
    ASSERT_EQ(series.count(), 1);

    // Ticks a minute apart, three frames each: nine ticks add to the first bar.
    for (int minute = 1; minute <= 9; ++minute) {
        for (int i = 0; i < 3; ++i)
            sampler.UpdateStatitics();
        EXPECT_FALSE(sampler.tick(at(12, minute, 30)));
        EXPECT_EQ(sampler.frameCount(), 0);
    }
    EXPECT_EQ(series.count(), 1);
    EXPECT_EQ(series.bars().last().value, 27);

    // The tenth boundary: the minute's frames still go to the old bar, then a new one begins.
    sampler.UpdateStatitics();
    EXPECT_TRUE(sampler.tick(at(12, 10, 30)));
    ASSERT_EQ(series.count(), 2);
    EXPECT_EQ(series.bars()[0].value, 28);
    EXPECT_EQ(series.bars()[1].value, 0);
    EXPECT_EQ(series.bars()[1].time, at(12, 10, 30));
    EXPECT_EQ(sampler.sampleStart(), at(12, 10, 30));

    // A late tick counts boundaries, not elapsed time: 12:10:30 to 12:20:01 is ten.
    EXPECT_TRUE(sampler.tick(at(12, 20, 1)));
    EXPECT_EQ(series.count(), 3);
}

TEST(StatisticsSampler, MinuteBoundariesFollowTheClockFace)
{
    EXPECT_EQ(StatisticsSampler::minuteBoundaries(at(12, 0, 0), at(12, 0, 59)), 0);
    EXPECT_EQ(StatisticsSampler::minuteBoundaries(at(12, 0, 59), at(12, 1, 0)), 1);
    EXPECT_EQ(StatisticsSampler::minuteBoundaries(at(23, 55), at(0, 5, 0, 2)), 10);
}

TEST(StatisticsFile, DayNumbersCountFromTheEndOf1899)
{
    EXPECT_DOUBLE_EQ(StatisticsFile::toDayNumber(at(12, 0)), 46204.5);
    EXPECT_DOUBLE_EQ(StatisticsFile::toDayNumber(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(StatisticsFile::toDayNumber(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(StatisticsFile::fromDayNumber(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(StatisticsFile::fromDayNumber(46204.5), at(12, 0));
    // A time a hair before midnight rounds into the next day.
    EXPECT_EQ(StatisticsFile::fromDayNumber(46204.999999999), QDateTime(QDate(2026, 7, 2), QTime(0, 0)));
    EXPECT_FALSE(StatisticsFile::fromDayNumber(1e300).isValid());
    EXPECT_FALSE(StatisticsFile::fromDayNumber(std::nan("")).isValid());
}

// Day numbers are wall-clock readings: one inside the hour a spring-forward
// skips in the computer's zone reads and writes back like any other.
TEST(StatisticsFile, DayNumbersInTheHourClocksSkipReadAndWriteBack)
{
    ProcessZone london("Europe/London");
    const QByteArray text = "46110.0208333333|4\r\n46110.0625|5\r\n";  // 29 March 2026, 00:30 and 01:30
    StatisticsFile::Loaded loaded;
    StatisticsFile::parse(text, loaded);
    EXPECT_EQ(loaded.skipped, 0);
    ASSERT_EQ(loaded.series.count(), 2);
    EXPECT_EQ(loaded.series.bars()[1].time.time(), QTime(1, 30));
    EXPECT_EQ(loaded.series.bars()[0].time.secsTo(loaded.series.bars()[1].time), 3600);
    EXPECT_EQ(StatisticsFile::textOf(loaded.series.bars()), text);
}

TEST(StatisticsFile, LeadingNumberReadsAsTheOldReaderDid)
{
    const struct { const char *text; double value; bool found; } cases[] = {
        {"46204.5", 46204.5, true}, {"  46 204.5abc", 46204.5, true}, {"-1.25", -1.25, true},
        {"1.5E3", 1500, true}, {"2d2", 200, true}, {"7e", 7, true}, {"46204,5", 46204, true},
        {"", 0, false}, {"abc", 0, false}, {"-", 0, false}, {".", 0, false},
    };
    for (const auto &c : cases) {
        bool found = true;
        EXPECT_DOUBLE_EQ(StatisticsFile::leadingNumber(QString::fromLatin1(c.text), &found), c.value) << c.text;
        EXPECT_EQ(found, c.found) << c.text;
    }
}

TEST(StatisticsFile, SaveAndLoadKeepValuesAndTimesToTheSecondWithAPointAlways)
{
    TempDirs dirs;
    QLocale::setDefault(QLocale(QLocale::German));
    StatisticsSeries series;
    series.AddStatisticsBar(at(0, 0, 1), 0);
    series.AddStatisticsBar(at(13, 37, 59), 21);
    series.AddStatisticsBar(at(23, 59, 59), 20);
    series.AddStatisticsBar(QDateTime(QDate(1899, 12, 29), QTime(6, 0, 7)), 3);
    const QString path = dirs.data() + QStringLiteral("/day.kes");
    QString error;
    ASSERT_TRUE(StatisticsFile::save(path, series.bars(), &error)) << error.toStdString();
    QLocale::setDefault(QLocale::c());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("46204.0000115741|0\r\n")) << text.constData();
    EXPECT_FALSE(text.contains(','));

    StatisticsFile::Loaded loaded;
    ASSERT_TRUE(StatisticsFile::load(path, loaded, &error));
    EXPECT_EQ(loaded.skipped, 0);
    ASSERT_EQ(loaded.series.count(), series.count());
    for (qsizetype i = 0; i < series.count(); ++i) {
        EXPECT_EQ(loaded.series.bars()[i].time, series.bars()[i].time) << i;
        EXPECT_EQ(loaded.series.bars()[i].value, series.bars()[i].value) << i;
        EXPECT_EQ(loaded.series.bars()[i].colour, series.bars()[i].colour) << i;
    }
}

TEST(StatisticsFile, LinesWithoutABarAreSkippedAndCounted)
{
    StatisticsFile::Loaded loaded;
    StatisticsFile::parse("\xEF\xBB\xBF" "46204.5|5\r\n"  // a byte-order mark is no part of the number
                          "no bar here\r\n"
                          "\r\n"                 // blank: not counted
                          "46204.5|abc\n"        // no count
                          "x|4\r"                // no time
                          "99999999|4\n"         // after the year 9999
                          "46204.5|4294967296\n" // beyond 32 bits
                          "46204.5|1|2\n"        // a second "|" spoils the count
                          "46204.50694|12.5\n"   // 12:09:59.6 is 12:10:00; 12.5 rounds to even
                          "46204.5138888889 | 13.5 ",
                          loaded);
    EXPECT_EQ(loaded.skipped, 6);
    ASSERT_EQ(loaded.series.count(), 3);
    EXPECT_EQ(loaded.series.bars()[1].time, at(12, 10));
    EXPECT_EQ(loaded.series.bars()[1].value, 12);
    EXPECT_EQ(loaded.series.bars()[2].time, at(12, 20));
    EXPECT_EQ(loaded.series.bars()[2].value, 14);
}

TEST(StatisticsFile, SaveIntoAFolderThatIsNotThereSaysWhyAndWritesNothing)
{
    TempDirs dirs;
    QString error;
    EXPECT_FALSE(StatisticsFile::save(dirs.data() + QStringLiteral("/missing/day.kes"), {{at(12, 0), 1, 0}}, &error));
    EXPECT_FALSE(error.isEmpty());
}
