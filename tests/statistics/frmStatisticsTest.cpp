#include "core/Configuration.h"
#include "core/Utilities.h"
#include "statistics/StatisticsChart.h"
#include "statistics/StatisticsFile.h"
#include "statistics/frmStatistics.h"

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
    EXPECT_EQ(live.tcStats->trend().size(), 2);

    // Settings changed meanwhile (the options dialog) count from the next tick.
    config().statisticsSample = 1;
    config().medCount = 30;
    for (int i = 0; i < 21; ++i)
        live.UpdateStatitics();
    tickAt(live, 3);
    ASSERT_EQ(live.series().count(), 3);
    EXPECT_STREQ(barColourName(live.series().bars()[1].colour), "yellow");
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
    EXPECT_EQ(saved.tcStats->trend().size(), 2);

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
    paintStatisticsChart(painter, image.rect(), series.bars(), trend);
    painter.end();

    const StatisticsChartLayout layout(image.rect(), QFontMetrics(QFont()), series.bars(), trend);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::black));
    const QColor colours[] = {QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
    for (int i = 0; i < 3; ++i) {
        const QRectF bar = layout.barRect(i, series.bars()[i].value);
        // Low on the bar, away from the trend line.
        EXPECT_EQ(image.pixelColor(int(bar.center().x()) - 3, int(bar.bottom()) - 2), colours[i]) << i;
    }
    // The trend crosses the middle bar's centre at its value (15 by symmetry).
    const int x = int(layout.plot.left() + 1.5 * layout.slot);
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
