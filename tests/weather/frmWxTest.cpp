// The weather window inside the real main window: opening, the date list,
// the charts, the ranges and the chart tool window.
#include "../app/MainWindowFixture.h"

#include "weather/WxChartView.h"
#include "weather/WxDataFile.h"
#include "weather/WxDataStore.h"
#include "weather/frmWx.h"
#include "weather/frmWxToolbar.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QLegend>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>

namespace {

const QString kToday = QStringLiteral("01/07/2026");
const QString kYesterday = QStringLiteral("30/06/2026");

QByteArray dayOf(const QString &day, const QStringList &timesAndReports)
{
    QByteArray text = "[" + day.toLatin1() + "]\r\n";
    for (int i = 0; i < timesAndReports.size(); ++i)
        text += "Value" + QByteArray::number(i + 1) + "=" + day.toLatin1() + " "
                + timesAndReports[i].section(u' ', 0, 0).toLatin1() + "\xFD"
                + timesAndReports[i].section(u' ', 1).toLatin1() + "\r\n";
    return text;
}

class WeatherWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        providers().weather = []() -> QWidget * { return new frmWx; };
        writeFile(QStringLiteral("N0CALL"),
                  dayOf(kYesterday, {"23:00:00 _090/005g010t050h80b10150P010"})
                      + dayOf(kToday, {"06:00:00 _12072202c052s001g002t068r000p000P000h72b10191wDAV",
                                       "06:05:00 _PHG5130", "06:10:00 _180/010g015t059h60P020b10185",
                                       "06:15:00 _t061"}));
    }
    void TearDown() override
    {
        frmWxToolbar::closeIfOpen();
        MainWindowTest::TearDown();
    }

    void writeFile(const QString &callsign, const QByteArray &bytes)
    {
        QDir().mkpath(dirs.data() + "/WxData");
        QFile file(dirs.data() + "/WxData/" + callsign + ".kew");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // Opens the window for a station from the main list, as the toolbar does.
    frmWx *openFor(const QString &callsign)
    {
        m = &start();
        // The loading sequence has read the options; tests change them now.
        if (options)
            options(config());
        m->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(mainList->parentWidget()));
        mainList->selected = callsign;
        m->tool("ID_WXDisplay")->trigger();
        QApplication::processEvents();
        return qobject_cast<frmWx *>(m->activeChild());
    }

    QComboBox *dates() const { return m->combo("ID_WxDates"); }

    static qsizetype points(QXYSeries *series) { return series->points().size(); }
    static QXYSeries *series(WxChartView *chart, int index) { return chart->seriesList().at(index); }
    static QValueAxis *axis(WxChartView *chart, Qt::Alignment side)
    {
        return qobject_cast<QValueAxis *>(chart->chart()->axes(Qt::Vertical).at(side == Qt::AlignLeft ? 0 : 1));
    }

    frmMain *m = nullptr;
    std::function<void(Configuration &)> options;
};

} // namespace

TEST_F(WeatherWindowTest, OpensOnTodayWithEveryChartFilledFromTheStoredReports)
{
    frmWx *wx = openFor("N0CALL");
    ASSERT_NE(wx, nullptr);
    EXPECT_EQ(wx->windowTitle(), "Live Weather data for N0CALL");
    EXPECT_EQ(WindowRegistry::tagOf(wx), WindowTag::WxStation);

    // The date list is this window's: both days, today chosen; WX Display waits for a station list.
    EXPECT_TRUE(dates()->isEnabled());
    EXPECT_EQ(dates()->count(), 2);
    EXPECT_EQ(dates()->currentText(), kToday);
    EXPECT_FALSE(m->tool("ID_WXDisplay")->isEnabled());

    const QStringList tabs = {"Temperature", "Wind Speed", "Pressure", "Rainfall", "Wind Direction"};
    ASSERT_EQ(wx->tabs()->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(wx->tabs()->tabText(i), tabs[i]);

    // Four reports with weather, one "PHG" report that adds nothing, one with only a temperature.
    WxChartView *temp = wx->temperatureChart();
    EXPECT_EQ(points(series(temp, 0)), 3);  // temperature
    EXPECT_EQ(points(series(temp, 1)), 2);  // dew point
    EXPECT_EQ(points(series(temp, 2)), 2);  // wind chill
    EXPECT_EQ(points(series(temp, 3)), 2);  // humidity
    EXPECT_EQ(points(series(wx->windChart(), 0)), 2);
    EXPECT_EQ(points(series(wx->windChart(), 1)), 2);
    EXPECT_EQ(points(series(wx->pressureChart(), 0)), 2);
    EXPECT_EQ(points(series(wx->rainChart(), 0)), 2);
    EXPECT_EQ(points(series(wx->windDirectionChart(), 0)), 2);
    EXPECT_EQ(wx->day().noWeather, 1);

    // x is the time of day, y the reading in the unit the option asks for.
    const QPointF first = series(temp, 0)->points().first();
    EXPECT_EQ(qint64(first.x()) - WxChartView::origin(), 6 * 3600 * 1000);
    EXPECT_NEAR(first.y(), 20.0, 1e-4);
    EXPECT_NEAR(series(wx->pressureChart(), 0)->points().at(1).y(), 1018.5, 1e-3);
    EXPECT_EQ(series(wx->rainChart(), 0)->name(), "Rain Today");
    EXPECT_NEAR(series(wx->rainChart(), 0)->points().at(1).y(), 5.08, 1e-4);

    // Colours, legends, axis titles with units, the hover text.
    const QList<QColor> colours = {Qt::red, QColor(0, 200, 0), QColor(230, 200, 0), Qt::blue};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(series(temp, i)->color(), colours[i]) << i;
    EXPECT_EQ(series(wx->windChart(), 1)->color(), QColor(Qt::red));
    EXPECT_TRUE(temp->chart()->legend()->isVisible());
    EXPECT_EQ(axis(temp, Qt::AlignLeft)->titleText(), "Temperature °C");
    EXPECT_EQ(axis(temp, Qt::AlignRight)->titleText(), "Humidity %");
    EXPECT_EQ(axis(wx->windChart(), Qt::AlignLeft)->titleText(), "Wind Speed mph");
    EXPECT_EQ(axis(wx->pressureChart(), Qt::AlignLeft)->titleText(), "Pressure mb");
    EXPECT_EQ(axis(wx->rainChart(), Qt::AlignLeft)->titleText(), "Rain mm");
    EXPECT_EQ(qobject_cast<QDateTimeAxis *>(temp->chart()->axes(Qt::Horizontal).first())->format(), "HH:mm");
    EXPECT_EQ(temp->pointText(series(temp, 0), first + QPointF(90000, 0)), "06:00:00  Temperature: 20.0 °C");
    EXPECT_EQ(wx->windDirectionChart()->pointText(series(wx->windDirectionChart(), 0), first), "06:00:00  Wind Direction: 52°");
}

TEST_F(WeatherWindowTest, DateListChoosesTheDayAndAMissingTodayFallsToTheFirst)
{
    clock.time = QDateTime(QDate(2026, 7, 5), QTime(9, 0));
    frmWx *wx = openFor("N0CALL");
    EXPECT_EQ(dates()->currentText(), kYesterday);
    EXPECT_EQ(wx->selectedDay(), kYesterday);
    EXPECT_EQ(points(series(wx->temperatureChart(), 0)), 1);

    dates()->setCurrentIndex(1);
    dates()->activated(1);
    EXPECT_EQ(wx->selectedDay(), kToday);
    EXPECT_EQ(points(series(wx->temperatureChart(), 0)), 3);

    // Typing a day with no section clears the charts.
    dates()->setEditText("02/07/2026");
    EXPECT_EQ(points(series(wx->temperatureChart(), 0)), 0);
    EXPECT_TRUE(wx->temperatureChart()->chart()->title().endsWith("(no reports)"));
}

TEST_F(WeatherWindowTest, FahrenheitShowsTemperatureDewPointAndRoundedChillInFahrenheit)
{
    options = [](Configuration &c) { c.centigrade = false; };
    writeFile("N0CALL", dayOf(kToday, {"12:00:00 _c000s030t023h50"}));
    frmWx *wx = openFor("N0CALL");
    WxChartView *temp = wx->temperatureChart();
    EXPECT_EQ(axis(temp, Qt::AlignLeft)->titleText(), "Temperature °F");
    EXPECT_DOUBLE_EQ(series(temp, 0)->points().first().y(), 23);
    EXPECT_DOUBLE_EQ(series(temp, 2)->points().first().y(), -13);
    EXPECT_NEAR(series(temp, 1)->points().first().y(), 7.19, 0.01);
    EXPECT_TRUE(temp->pointText(series(temp, 0), series(temp, 0)->points().first()).endsWith("23.0 °F"));
}

TEST_F(WeatherWindowTest, RangesComeFromTheOptionsOrFitTheDay)
{
    options = [](Configuration &c) {
        c.tempMin = -10;
        c.tempMax = 40;
        c.pressureAuto = true;
    };
    frmWx *wx = openFor("N0CALL");
    EXPECT_DOUBLE_EQ(axis(wx->temperatureChart(), Qt::AlignLeft)->min(), -10);
    EXPECT_DOUBLE_EQ(axis(wx->temperatureChart(), Qt::AlignLeft)->max(), 40);
    EXPECT_DOUBLE_EQ(axis(wx->temperatureChart(), Qt::AlignRight)->max(), 100);
    EXPECT_DOUBLE_EQ(axis(wx->windChart(), Qt::AlignLeft)->max(), 30);
    EXPECT_DOUBLE_EQ(axis(wx->windDirectionChart(), Qt::AlignLeft)->max(), 360);
    QValueAxis *pressure = axis(wx->pressureChart(), Qt::AlignLeft);
    EXPECT_LE(pressure->min(), 1018.5);
    EXPECT_GE(pressure->max(), 1019.1);
    EXPECT_GT(pressure->min(), 1000);  // fitted, not the 0 to 1050 of the options
}

TEST_F(WeatherWindowTest, ChartToolWindowFollowsTheTabAndItsCommandsWork)
{
    frmWx *wx = openFor("N0CALL");
    frmWxToolbar *tools = frmWxToolbar::instance();
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->isVisible());
    EXPECT_EQ(tools->boundChart(), wx->temperatureChart());
    wx->tabs()->setCurrentIndex(3);
    EXPECT_EQ(tools->boundChart(), wx->rainChart());
    wx->tabs()->setCurrentIndex(4);
    EXPECT_EQ(tools->boundChart(), wx->windDirectionChart());
    wx->tabs()->setCurrentIndex(2);
    WxChartView *chart = wx->pressureChart();

    QDateTimeAxis *time = chart->timeAxis();
    const qint64 wholeDay = time->max().toMSecsSinceEpoch() - time->min().toMSecsSinceEpoch();
    tools->action("cmdZoomIn")->trigger();
    EXPECT_NEAR(double(time->max().toMSecsSinceEpoch() - time->min().toMSecsSinceEpoch()), wholeDay / 2.0, 1000);
    EXPECT_TRUE(chart->userMoved());
    tools->action("cmdReset")->trigger();
    EXPECT_EQ(time->max().toMSecsSinceEpoch() - time->min().toMSecsSinceEpoch(), wholeDay);
    EXPECT_DOUBLE_EQ(axis(chart, Qt::AlignLeft)->max(), 1050);

    tools->action("cmdPan")->trigger();
    EXPECT_EQ(chart->mode(), WxChartView::Mode::Pan);
    tools->action("cmdZoomArea")->trigger();
    EXPECT_EQ(chart->mode(), WxChartView::Mode::ZoomArea);
    EXPECT_FALSE(tools->action("cmdPan")->isChecked());
    // A dragged rectangle zooms to it.
    const QPoint middle = chart->chart()->plotArea().center().toPoint();
    QTest::mousePress(chart->viewport(), Qt::LeftButton, {}, middle - QPoint(40, 30));
    QTest::mouseRelease(chart->viewport(), Qt::LeftButton, {}, middle + QPoint(40, 30));
    EXPECT_LT(time->max().toMSecsSinceEpoch() - time->min().toMSecsSinceEpoch(), wholeDay / 2);
    EXPECT_LT(axis(chart, Qt::AlignLeft)->max() - axis(chart, Qt::AlignLeft)->min(), 1050.0 / 2);
    tools->action("cmdReset")->trigger();
    wx->tabs()->setCurrentIndex(0);
    EXPECT_EQ(chart->mode(), WxChartView::Mode::Select);
    EXPECT_EQ(wx->temperatureChart()->mode(), WxChartView::Mode::ZoomArea);

    // The clipboard is touched only when the user asks.
    QApplication::clipboard()->clear();
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
    tools->action("cmdCopy")->trigger();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    // Save: the file name comes through Prompts; ".png" is added when missing.
    const qsizetype messages = prompts.shown.size();
    prompts.fileAnswers.enqueue(dirs.data() + "/chart");
    tools->action("cmdSave")->trigger();
    QImage saved(dirs.data() + "/chart.png");
    EXPECT_EQ(saved.size(), wx->temperatureChart()->size());
    prompts.fileAnswers.enqueue(QString());  // cancelled
    tools->action("cmdSave")->trigger();
    EXPECT_EQ(prompts.shown.size(), messages) << prompts.texts().join("\n").toStdString();
    EXPECT_EQ(prompts.fileTitles.last(), "Save Chart As");
}

TEST_F(WeatherWindowTest, LastWeatherWindowTakesTheToolWindowAndDateListWithIt)
{
    frmWx *first = openFor("N0CALL");
    writeFile("G4KWA", dayOf(kToday, {"10:00:00 _t050"}));
    m->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(mainList->parentWidget()));
    EXPECT_FALSE(dates()->isEnabled());  // the weather window was deactivated
    mainList->selected = "G4KWA";
    m->tool("ID_WXDisplay")->setEnabled(true);  // as the station list does on activation
    m->tool("ID_WXDisplay")->trigger();
    QApplication::processEvents();
    auto *second = qobject_cast<frmWx *>(m->activeChild());
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    EXPECT_EQ(second->callsign(), "G4KWA");
    EXPECT_EQ(dates()->count(), 1);
    EXPECT_EQ(m->weatherWindowsOpened(), 2);

    // Back to the first: its own days and charts.
    m->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    EXPECT_EQ(dates()->count(), 2);
    EXPECT_TRUE(dates()->isEnabled());
    EXPECT_EQ(frmWxToolbar::instance()->boundChart(), first->temperatureChart());

    second->parentWidget()->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(frmWxToolbar::instance(), nullptr);
    EXPECT_EQ(m->weatherWindowsOpened(), 1);
    first->parentWidget()->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmWxToolbar::instance(), nullptr);
    EXPECT_EQ(dates()->count(), 0);
    EXPECT_EQ(m->weatherWindowsOpened(), 0);
}

TEST_F(WeatherWindowTest, ToolbarOptionOffOpensNoToolWindow)
{
    options = [](Configuration &c) { c.wxToolbar = false; };
    openFor("N0CALL");
    EXPECT_EQ(frmWxToolbar::instance(), nullptr);
}

TEST_F(WeatherWindowTest, FileOpenShowsTheChosenFileWhereverItLies)
{
    QTemporaryDir elsewhere;
    const QString path = elsewhere.filePath("G7XYZ.kew");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(dayOf(kToday, {"08:00:00 _t050", "08:05:00 _t051"}));
    file.close();

    frmMain &main = start();
    prompts.fileAnswers.enqueue(path);
    main.mnuFileOpen_Click();
    QApplication::processEvents();
    auto *wx = qobject_cast<frmWx *>(main.activeChild());
    ASSERT_NE(wx, nullptr);
    EXPECT_EQ(wx->windowTitle(), "Weather data for G7XYZ");
    EXPECT_EQ(wx->fileName(), path);
    EXPECT_EQ(series(wx->temperatureChart(), 0)->points().size(), 2);
    EXPECT_TRUE(shared().currentWeatherFile.isEmpty());
}

TEST_F(WeatherWindowTest, ReportStoredWhileTheWindowIsOpenIsShownAtOnce)
{
    frmWx *wx = openFor("N0CALL");
    HostStationRecord station;
    station.callsign = "N0CALL";
    WxDataStore::program().AddWxData(station, "_000/000t070", QDateTime(QDate(2026, 7, 1), QTime(12, 0)));
    EXPECT_EQ(series(wx->temperatureChart(), 0)->points().size(), 4);
    // A report for a new day adds the day to the list and leaves the shown day alone.
    WxDataStore::program().AddWxData(station, "_000/000t071", QDateTime(QDate(2026, 7, 2), QTime(0, 5)));
    EXPECT_EQ(dates()->count(), 3);
    EXPECT_EQ(dates()->currentText(), kToday);
    EXPECT_EQ(series(wx->temperatureChart(), 0)->points().size(), 4);
    // Another station's report does nothing here.
    station.callsign = "G4KWA";
    WxDataStore::program().AddWxData(station, "_000/000t072", QDateTime(QDate(2026, 7, 1), QTime(12, 5)));
    EXPECT_EQ(series(wx->temperatureChart(), 0)->points().size(), 4);
}

// A station without some sensors sends dots or blanks in their place, and
// comments with figures in them: neither may show up as a reading.
TEST_F(WeatherWindowTest, MissingSensorsAndCommentFiguresAddNoPoints)
{
    writeFile("N0CALL", dayOf(kToday, {"10:00:00 _c090s005g...t...h..b.....", "10:05:00 _c090s005t077 1234 Main St",
                                       "10:10:00 _c090s005t+68b10150 13.8V"}));
    frmWx *wx = openFor("N0CALL");
    WxChartView *temp = wx->temperatureChart();
    ASSERT_EQ(points(series(temp, 0)), 2);
    EXPECT_NEAR(series(temp, 0)->points().at(0).y(), 25.0, 1e-4);
    EXPECT_NEAR(series(temp, 0)->points().at(1).y(), 20.0, 1e-4);
    EXPECT_EQ(points(series(temp, 3)), 0);  // humidity
    EXPECT_EQ(points(series(wx->windChart(), 1)), 0);  // gust
    ASSERT_EQ(points(series(wx->pressureChart(), 0)), 1);
    EXPECT_NEAR(series(wx->pressureChart(), 0)->points().first().y(), 1015.0, 1e-3);
    EXPECT_EQ(series(wx->rainChart(), 0)->name(), "Rain");
}
