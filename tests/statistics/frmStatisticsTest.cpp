#include "core/Configuration.h"
#include "core/Utilities.h"
#include "statistics/StatisticsChart.h"
#include "statistics/StatisticsFile.h"
#include "statistics/frmStatistics.h"

#include "ProcessZone.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPicture>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class StatisticsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { config() = Configuration{}; }
    TempDirs dirs;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 7, 1), QTime(12, 0, 30))};

    void tickAt(frmStatistics &window, int minute)
    {
        clock.time = QDateTime(QDate(2026, 7, 1), QTime(12, minute, 30));
        window.Timer1_Timer();
    }
};

} // namespace

TEST_F(StatisticsWindowTest, LiveWindowCountsWhileHiddenAndSamplesByTheSetting)
{
    config().statisticsSample = 2;
    frmStatistics live(frmStatistics::Kind::Live);
    EXPECT_EQ(live.windowTitle(), "Statistics");
    EXPECT_TRUE(live.Timer1.isActive());
    EXPECT_EQ(live.Timer1.interval(), 60000);
    ASSERT_EQ(live.series().count(), 1);
    EXPECT_EQ(live.series().bars().first().time, clock.time);
    EXPECT_FALSE(live.isVisible());

    for (int i = 0; i < 11; ++i)
        live.UpdateStatitics();
    tickAt(live, 1);
    EXPECT_EQ(live.series().bars().last().value, 11);
    EXPECT_EQ(live.sampler()->frameCount(), 0);
    for (int i = 0; i < 10; ++i)
        live.UpdateStatitics();
    tickAt(live, 2);
    ASSERT_EQ(live.series().count(), 2);
    EXPECT_EQ(live.series().bars().first().value, 21);
    EXPECT_STREQ(barColourName(live.series().bars().first().colour), "red");
    EXPECT_EQ(live.tcStats->trend().count, 1);  // the bar still counting is not in it

    // Settings changed meanwhile (the options dialog) count from the next tick.
    config().statisticsSample = 1;
    config().medCount = 30;
    for (int i = 0; i < 21; ++i)
        live.UpdateStatitics();
    tickAt(live, 3);
    ASSERT_EQ(live.series().count(), 3);
    EXPECT_STREQ(barColourName(live.series().bars()[1].colour), "yellow");
}

// The bar of the running period is still filling: a trend through it would
// dive towards zero at the start of every period.
TEST_F(StatisticsWindowTest, LiveTrendLeavesOutTheBarStillCountedAndDrawsItInProgress)
{
    config().statisticsSample = 2;
    frmStatistics live(frmStatistics::Kind::Live);
    live.resize(640, 360);
    const int frames[] = {20, 0, 20, 0, 5};  // per minute: bars of 20 and 20, then 5 so far
    for (int minute = 1; minute <= 5; ++minute) {
        for (int i = 0; i < frames[minute - 1]; ++i)
            live.UpdateStatitics();
        tickAt(live, minute);
    }
    const QList<StatisticsBar> &bars = live.series().bars();
    ASSERT_EQ(bars.size(), 3);
    EXPECT_EQ(bars.last().value, 5);
    EXPECT_EQ(live.tcStats->trend().count, 2);
    EXPECT_EQ(live.tcStats->trend().at(0), 20.0);
    EXPECT_EQ(live.tcStats->trend().slope, 0.0);

    const QImage image = live.tcStats->grab().toImage();
    const StatisticsChartLayout layout(live.tcStats->rect(), live.tcStats->fontMetrics(), bars, true);
    const QPoint done = layout.barRect(0, 20).center().toPoint();
    const QPoint counting = (layout.barRect(2, 5).center() + QPointF(0, 2)).toPoint();
    EXPECT_EQ(image.pixelColor(done), QColor(255, 255, 0));
    const QColor inProgress = image.pixelColor(counting);
    EXPECT_NE(inProgress, QColor(0, 255, 0));
    EXPECT_GT(inProgress.green(), 40);
    EXPECT_EQ(inProgress.red(), 0);
}

TEST_F(StatisticsWindowTest, SavedFileWithTimesInTheHourClocksSkipLoadsWhole)
{
    ProcessZone london("Europe/London");
    const QString path = dirs.data() + "/spring.kes";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("46110.0208333333|4\r\n46110.0625|5\r\n46110.1041666667|6\r\n");  // 00:30, 01:30, 02:30
    file.close();
    frmStatistics saved(frmStatistics::Kind::Saved);
    saved.LoadStatisticsData(path);
    EXPECT_EQ(saved.lblStatus->text(), "3 bars");
    EXPECT_EQ(saved.tcStats->trend().count, 3);
}

TEST_F(StatisticsWindowTest, SaveUsesItsDialogAndWritesEveryBar)
{
    frmStatistics live(frmStatistics::Kind::Live);
    live.UpdateStatitics();
    tickAt(live, 1);

    live.SaveStatisticsData();  // cancelled: nothing written, nothing said
    EXPECT_EQ(prompts.fileTitles, QStringList({"Save Station List As"}));
    EXPECT_EQ(prompts.fileFilters.last(), "Kestrel Statistics dara (*.kes);;All Files (*.*)");
    EXPECT_EQ(prompts.fileFolders.last(), GetDataFolder() + "/Statistics");
    EXPECT_TRUE(prompts.shown.isEmpty());

    prompts.fileAnswers.enqueue(dirs.data() + "/today");  // no extension: .kes is added
    live.SaveStatisticsData();
    QFile file(dirs.data() + "/today.kes");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "46204.5003472222|1\r\n");

    prompts.fileAnswers.enqueue(dirs.data() + "/no/such/folder/x.kes");
    live.SaveStatisticsData();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.last().text.startsWith("Error in ERROR_SaveStatisticsData : "));
}

TEST_F(StatisticsWindowTest, SavedWindowShowsItsFileAndNeverChanges)
{
    const QString path = dirs.data() + "/old.kes";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("46204.5|5\r\ngarbage\r\n46204.5069444444|25\r\n");
    file.close();

    frmStatistics saved(frmStatistics::Kind::Saved);
    saved.LoadStatisticsData(path);
    EXPECT_FALSE(saved.Timer1.isActive());
    ASSERT_EQ(saved.series().count(), 2);
    EXPECT_EQ(saved.skippedLines(), 1);
    EXPECT_EQ(saved.lblStatus->text(), "2 bars; 1 line of the file could not be read");
    EXPECT_EQ(saved.tcStats->trend().count, 2);

    saved.UpdateStatitics();
    saved.Timer1_Timer();
    saved.UpdateLastBar();
    EXPECT_EQ(saved.series().bars().last().value, 25);
    EXPECT_EQ(saved.series().count(), 2);

    frmStatistics missing(frmStatistics::Kind::Saved);
    missing.LoadStatisticsData(dirs.data() + "/none.kes");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.last().text.startsWith("Error in ERROR_LoadStatisticsData : "));
}

TEST_F(StatisticsWindowTest, LiveWindowInAFrameHasNoCloseButOtherWindowsDo)
{
    QMdiArea area;
    auto *live = new frmStatistics(frmStatistics::Kind::Live);
    QMdiSubWindow *liveFrame = area.addSubWindow(live);
    auto *saved = new frmStatistics(frmStatistics::Kind::Saved);
    QMdiSubWindow *savedFrame = area.addSubWindow(saved);
    area.show();
    QCoreApplication::processEvents();
    auto closeShown = [](QMdiSubWindow *frame) {
        for (QAction *action : frame->systemMenu()->actions())
            if (action->text().remove(u'&').startsWith("Close"))
                return action->isVisible() && action->isEnabled();
        return false;
    };
    EXPECT_FALSE(liveFrame->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(closeShown(liveFrame));
    EXPECT_TRUE(closeShown(savedFrame));
}

// Bars stand at their times: twelve hours without a frame show as a gap,
// and the trend over the bars is one straight line.
TEST(StatisticsChart, BarsStandAtTheirTimesAndTheTrendIsStraight)
{
    StatisticsSeries series;
    const QDateTime start(QDate(2026, 7, 1), QTime(12, 0));
    series.AddStatisticsBar(start, 5);
    series.AddStatisticsBar(start.addSecs(600), 15);
    series.AddStatisticsBar(start.addSecs(730 * 60), 30);  // 00:10 the next day
    const QList<double> trend = leastSquaresTrend(series.bars());
    QImage image(800, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    paintStatisticsChart(painter, image.rect(), series.bars());
    painter.end();

    const StatisticsChartLayout layout(image.rect(), QFontMetrics(QFont()), series.bars());
    const double x0 = layout.barRect(0, 5).center().x();
    const double x1 = layout.barRect(1, 15).center().x();
    const double x2 = layout.barRect(2, 30).center().x();
    EXPECT_NEAR((x2 - x1) / (x1 - x0), 72.0, 0.5);
    EXPECT_LE(layout.barRect(2, 30).right(), layout.plot.right() + 1);
    // Halfway through the silence the line is halfway between its ends.
    const int x = int(std::lround((x1 + x2) / 2));
    const int y = int(std::lround(layout.yOf((trend[1] + trend[2]) / 2)));
    bool green = false;
    for (int dy = -2; dy <= 2; ++dy) {
        const QColor c = image.pixelColor(x, y + dy);
        green = green || (c.red() < 60 && c.blue() < 60 && c.green() > 90 && c.green() < 170);
    }
    EXPECT_TRUE(green);
}

TEST(StatisticsChart, BlackGroundBarsInTheirColoursAndTheTrendOverThem)
{
    StatisticsSeries series;
    const QDateTime start(QDate(2026, 7, 1), QTime(12, 0));
    series.AddStatisticsBar(start, 5);
    series.AddStatisticsBar(start.addSecs(600), 15);
    series.AddStatisticsBar(start.addSecs(1200), 30);
    const QList<double> trend = leastSquaresTrend(series.bars());
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    paintStatisticsChart(painter, image.rect(), series.bars());
    painter.end();

    const StatisticsChartLayout layout(image.rect(), QFontMetrics(QFont()), series.bars());
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
    const QColor colours[] = {QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
    for (int i = 0; i < 3; ++i) {
        const QRectF bar = layout.barRect(i, series.bars()[i].value);
        // Low on the bar, away from the trend line.
        EXPECT_EQ(image.pixelColor(int(bar.center().x()) - 3, int(bar.bottom()) - 2), colours[i]) << i;
    }
    // The trend crosses the middle bar's centre at its value (15 by symmetry).
    const int x = int(layout.xOf(1));
    const int y = int(std::lround(layout.yOf(trend[1])));
    bool green = false;
    for (int dy = -2; dy <= 2; ++dy) {
        const QColor c = image.pixelColor(x, y + dy);
        green = green || (c.red() < 60 && c.blue() < 60 && c.green() > 90 && c.green() < 170);
    }
    EXPECT_TRUE(green);
    EXPECT_EQ(layout.barAt(layout.barRect(2, 30).center().toPoint(), 3), 2);
    EXPECT_EQ(layout.barAt(QPoint(0, 0), 3), -1);
}

// A year of minute bars draws no more than a day of them: one bar per pixel
// column, the tallest of the column's bars, so a lone busy minute still shows.
TEST(StatisticsChart, AYearOfMinuteBarsDrawsAColumnEachKeepingItsPeak)
{
    auto minuteBars = [](qsizetype count, qsizetype spikeAt) {
        StatisticsSeries series;
        const QDateTime start(QDate(2025, 7, 1), QTime(0, 0), Qt::UTC);
        for (qsizetype i = 0; i < count; ++i)
            series.AddStatisticsBar(start.addSecs(i * 60), i == spikeAt ? 40 : 3 + int(i % 5));
        return series;
    };
    auto drawing = [](const StatisticsSeries &series) {
        StatisticsChartView view(series);
        view.resize(900, 420);
        QPicture picture;
        QPainter painter(&picture);
        view.render(&painter);
        painter.end();
        return picture.size();
    };
    const StatisticsSeries year = minuteBars(525600, 300000);
    EXPECT_LT(drawing(year), 2 * drawing(minuteBars(1440, 700)));

    StatisticsChartView view(year);
    view.resize(900, 420);
    const QImage image = view.grab().toImage();
    const StatisticsChartLayout layout(view.rect(), view.fontMetrics(), year.bars());
    const QPointF spike = layout.barRect(300000, 40).center();
    EXPECT_EQ(image.pixelColor(spike.toPoint()), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(QPoint(int(spike.x()) + 40, int(spike.y()))), QColor(255, 0, 0));
    if (const QString shots = qEnvironmentVariable("KESTREL_STATS_SCREENSHOT"); !shots.isEmpty())
        image.save(shots);
}

