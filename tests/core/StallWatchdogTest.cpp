#include "core/LatencyHistogram.h"
#include "core/StallWatchdog.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The watchdog on a clock the test moves; its heartbeat timer never runs.
class StallWatchdogTest : public ::testing::Test
{
protected:
    StallWatchdogTest()
    {
        watchdog.setReporter([this](const QString &line) { lines << line; });
        owner.setObjectName(QStringLiteral("frmSatStatus"));
        timer.setObjectName(QStringLiteral("tmrSatUpdate"));
        timer.setInterval(60000);
    }

    // The heartbeat arrives this many milliseconds after it was due.
    void beatLate(qint64 ms)
    {
        now += StallWatchdog::kHeartbeatMs + ms;
        watchdog.heartbeat();
    }
    // The heartbeat arrives as the work before it returns.
    void beatNow() { watchdog.heartbeat(); }
    // A timer event for `timer` that runs for `ms`, inside whatever is entered.
    void timerRuns(qint64 ms)
    {
        QTimerEvent event(1);
        watchdog.enterEvent(&timer, &event);
        now += ms;
        busy += ms;
        watchdog.leave();
    }

    qint64 now = 1000;
    qint64 busy = 0;  // the thread's processor time
    StallWatchdog watchdog{[this] { return now; }, [this] { return busy; }};
    QStringList lines;
    QWidget owner;
    QTimer timer{&owner};
};

TEST(LatencyHistogram, PercentilesReadTheBinOfTheWantedSample)
{
    struct Case
    {
        QList<qint64> samples;
        double percent;
        qint64 expected;
    };
    const Case cases[] = {
        {{}, 99, 0},
        {{0, 0, 0, 7}, 50, 0},
        {{0, 0, 0, 7}, 99, 7},
        {{3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
          3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
          3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 900},
         99, 3},
        {{257}, 99, 250},       // ten-millisecond bins from 100 ms
        {{4321}, 99, 4300},     // a hundred from a second
        {{86400000}, 99, 10000},  // everything longer shares the last bin
        {{-5}, 99, 0},
    };
    for (const Case &c : cases) {
        LatencyHistogram histogram;
        for (qint64 sample : c.samples)
            histogram.add(sample);
        EXPECT_EQ(histogram.percentile(c.percent), c.expected) << c.samples.size() << " samples, " << c.percent << "%";
    }
}

TEST_F(StallWatchdogTest, LatenessUnderTheThresholdIsMeasuredButNotReported)
{
    for (qint64 late : {0, 2, 1, 41, 3})
        beatLate(late);
    EXPECT_EQ(watchdog.worstStallMs(), 41);
    EXPECT_EQ(watchdog.stallsOverThreshold(), 0);
    EXPECT_EQ(watchdog.heartbeats(), 5);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(watchdog.summary(), QStringLiteral("stalls over 250 ms: 0, worst stall 41 ms, p99 lateness 41 ms"));
    EXPECT_TRUE(watchdog.worstStallCulprit().isEmpty());
    // A stall just under the threshold is not reported, but the worst one keeps its name.
    timerRuns(230);
    beatNow();
    beatLate(0);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(watchdog.worstStallMs(), 230);
    EXPECT_EQ(watchdog.worstStallCulprit(), QStringLiteral("timer tmrSatUpdate of QWidget (60000 ms)"));
}

TEST_F(StallWatchdogTest, AStallIsReportedOnceWithTheTimerThatRanAndTheActiveWindow)
{
    watchdog.setContext([] { return QStringLiteral("active window \"Satellite Status\""); });
    now += 30;
    timerRuns(320);
    beatNow();
    beatLate(0);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QStringLiteral("stall 320 ms (busy 320 ms) in timer tmrSatUpdate of QWidget (60000 ms); active window \"Satellite Status\""));
    EXPECT_EQ(watchdog.stallsOverThreshold(), 1);
    EXPECT_EQ(watchdog.worstStallMs(), 320);
}

TEST_F(StallWatchdogTest, TheCommandAroundTheWorkNamesItAndAnInnerPartThatTookMostIsNamedToo)
{
    watchdog.enterActivity("command", QStringLiteral("ID_Refresh"));
    now += 20;
    timerRuns(300);
    now += 10;
    watchdog.leave();
    beatNow();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QStringLiteral("stall 330 ms (busy 300 ms) in command ID_Refresh > timer tmrSatUpdate of QWidget (60000 ms)"));

    // Many short events inside one long one: the long one is named.
    QEvent paint(QEvent::Paint);
    owner.setObjectName(QStringLiteral("lstView"));
    watchdog.enterEvent(&owner, &paint);
    for (int i = 0; i < 10; ++i)
        timerRuns(30);
    watchdog.leave();
    beatNow();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], QStringLiteral("stall 300 ms (busy 300 ms) in Paint event for QWidget \"lstView\""));
}

TEST_F(StallWatchdogTest, WorkThatLetsTheHeartbeatThroughIsNoStall)
{
    // A modal dialog's loop: the command runs for seconds, beating all along.
    watchdog.enterActivity("command", QStringLiteral("ID_Options"));
    for (int i = 0; i < 50; ++i)
        beatLate(1);
    watchdog.leave();
    beatLate(0);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(watchdog.worstStallMs(), 1);
}

TEST_F(StallWatchdogTest, StartUpAndShutdownAreLeftOutOfTheFigures)
{
    timerRuns(900);
    beatNow();
    EXPECT_EQ(lines.size(), 1) << "a stall while loading is still reported";
    watchdog.markStartupDone();
    beatLate(6);
    watchdog.markShutdownBegun();
    timerRuns(700);
    beatNow();
    EXPECT_EQ(lines.size(), 2) << "a stall while closing is still reported";
    EXPECT_EQ(watchdog.summary(), QStringLiteral("stalls over 250 ms: 0, worst stall 6 ms, p99 lateness 6 ms"));
}

TEST_F(StallWatchdogTest, NestingDeeperThanItKeepsStillBalances)
{
    QTimerEvent event(1);
    for (int i = 0; i < 200; ++i)
        watchdog.enterEvent(&timer, &event);
    now += 400;
    for (int i = 0; i < 200; ++i)
        watchdog.leave();
    watchdog.leave();  // one too many is harmless
    beatNow();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("stall 400 ms (busy 0 ms) in timer tmrSatUpdate"))) << lines[0].toStdString();
}

} // namespace
