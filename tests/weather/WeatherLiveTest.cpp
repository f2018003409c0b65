// Weather end to end: the real main window and its windows on the real
// embedded host, fed lines of the recorded demo traffic. Set
// KESTREL_WX_SCREENSHOTS=/some/folder to keep pictures of the demo's weather window.
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/IniSettingsStore.h"
#include "core/SharedState.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "host/EmbeddedHost.h"
#include "host/aprs/Tnc2.h"
#include "stations/frmDocument.h"
#include "weather/WxChartView.h"
#include "weather/frmWx.h"
#include "weather/frmWxToolbar.h"

#include "../host/HostFolder.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "ToolProcess.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>
#include <QXYSeries>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kSourceDir = QStringLiteral(KESTREL_SOURCE_DIR);

// The demo traffic's frames up to (not including) the moment given.
QStringList demoLines(const QString &before)
{
    QFile file(kSourceDir + QStringLiteral("/data/demo-host/DemoTraffic.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString &raw : QString::fromLatin1(file.readAll()).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.left(8) >= before)
            break;
        lines << splitTimeStamp(line).text.toString();
    }
    return lines;
}

// Watches every value axis of a weather window and keeps the most ticks any
// of them was asked to lay out, at every change of range or spacing. Qt lays
// an axis out as soon as its range changes, so a fault there means millions
// of ticks; past a thousand the probe widens the spacing itself, so that the
// test fails instead of freezing.
class TickProbe
{
public:
    explicit TickProbe(frmWx *wx)
    {
        for (int tab = 0; tab < wx->tabs()->count(); ++tab)
            for (QAbstractAxis *any : wx->chartOfTab(tab)->chart()->axes(Qt::Vertical))
                if (auto *axis = qobject_cast<QValueAxis *>(any)) {
                    auto check = [this, axis] { this->check(axis); };
                    QObject::connect(axis, &QValueAxis::minChanged, axis, check);
                    QObject::connect(axis, &QValueAxis::maxChanged, axis, check);
                    QObject::connect(axis, &QValueAxis::tickIntervalChanged, axis, check);
                    QObject::connect(axis, &QValueAxis::tickTypeChanged, axis, check);
                }
    }
    double most = 0;

private:
    void check(QValueAxis *axis)
    {
        const double span = axis->max() - axis->min();
        const double ticks = axis->tickType() == QValueAxis::TicksDynamic ? span / axis->tickInterval() + 1
                                                                           : axis->tickCount();
        most = std::max(most, ticks);
        if (ticks > 1000)
            axis->setTickInterval(span / 10);
    }
};

class WeatherLive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KESTREL_HOST_HEADLESS", "1");
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        wireProgram();
    }
    void TearDown() override
    {
        main.reset();
        frmWxToolbar::closeIfOpen();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
    }

    frmMain &start(const QString &hostFolder)
    {
        store.values[MemorySettingsStore::id("Kestrel", "Paths", "UIVIEW32")] = hostFolder;
        main = std::make_unique<frmMain>(false);
        main->resize(1280, 860);
        main->show();
        main->runLoadingSequence();
        host = dynamic_cast<EmbeddedHost *>(main->host());
        list = qobject_cast<frmDocument *>(WindowRegistry::instance().firstTagged(WindowTag::StationList));
        return *main;
    }

    void hear(const QStringList &lines)
    {
        for (const QString &line : lines)
            ASSERT_TRUE(host->hearLine(line)) << line.toStdString();
        QApplication::processEvents();
    }

    // Clicks the station's row in the main list, as the user would.
    void clickStation(const QString &callsign)
    {
        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(list->parentWidget()));
        int row = -1;
        for (int r = 0; r < list->model().count(); ++r)
            if (list->model().cell(r, StationListModel::Station) == callsign)
                row = r;
        ASSERT_GE(row, 0) << callsign.toStdString();
        list->selectRow(row);
        const QModelIndex index = list->model().index(row, 0);
        QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {}, list->view()->visualRect(index).center());
    }

    frmWx *openWeather()
    {
        main->tool("ID_WXDisplay")->trigger();
        QApplication::processEvents();
        return qobject_cast<frmWx *>(main->activeChild());
    }

    static qsizetype points(WxChartView *chart, int series = 0)
    {
        return chart->seriesList().at(series)->points().size();
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    std::unique_ptr<frmMain> main;
    EmbeddedHost *host = nullptr;
    frmDocument *list = nullptr;
};

} // namespace

TEST_F(WeatherLive, ReportHeardWhileTheStationsWindowIsOpenAppearsOnItsCharts)
{
    HostFolder folder;
    start(folder.path());
    ASSERT_NE(host, nullptr);
    ASSERT_NE(list, nullptr);
    // Ten minutes of traffic: three positionless reports from G1KWD, one
    // position report with weather from G4KWA.
    hear(demoLines(QStringLiteral("00:10:30")));
    const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));

    // A station with no weather file leaves the tool off.
    clickStation(QStringLiteral("G4KDA"));
    EXPECT_FALSE(main->tool("ID_WXDisplay")->isEnabled());
    clickStation(QStringLiteral("G1KWD"));
    ASSERT_TRUE(main->tool("ID_WXDisplay")->isEnabled());
    frmWx *wx = openWeather();
    ASSERT_NE(wx, nullptr);
    EXPECT_EQ(wx->windowTitle(), QStringLiteral("Live Weather data for G1KWD"));
    EXPECT_EQ(main->combo("ID_WxDates")->currentText(), today);
    EXPECT_EQ(points(wx->temperatureChart()), 3);
    EXPECT_EQ(points(wx->windDirectionChart()), 3);
    EXPECT_NEAR(wx->pressureChart()->seriesList().first()->points().last().y(), 1011.8, 1e-3);

    // The next report, heard while the window is open (and the station list
    // active), reaches the file and the charts at once.
    clickStation(QStringLiteral("G1KWD"));
    hear({QStringLiteral("G1KWD>APKS01,TCPIP*,qAC,T2UK:_12072015c283s006g011t049r000p000P000h78b10117")});
    EXPECT_EQ(points(wx->temperatureChart()), 4);
    EXPECT_EQ(points(wx->windChart(), 1), 4);
    EXPECT_NEAR(wx->windChart()->seriesList().at(1)->points().last().y(), 11, 1e-6);
    EXPECT_NEAR(wx->temperatureChart()->seriesList().first()->points().last().y(), (49 - 32) * 5 / 9.0, 1e-4);

    // A "PHG" weather frame is logged as ignored and stores nothing.
    hear({QStringLiteral("G1KWD>APKS01:_PHG5130")});
    EXPECT_EQ(points(wx->temperatureChart()), 4);
}

// Only a station that reports as a weather station (its symbol is "_") gets
// a weather file: an underscore in a compressed position, in its csT bytes or
// in a comment is no weather part.
TEST_F(WeatherLive, UnderscoresThatAreNoWeatherSymbolStoreNothing)
{
    HostFolder folder;
    start(folder.path());
    ASSERT_NE(host, nullptr);
    const struct
    {
        const char *line;
        bool weather;
    } cases[] = {
        {"G3KDC-1>APKS01,WIDE2-1:=/49z1N+cH#  _Witney", false},        // "_" as the compression type byte
        {"G4KDJ-3>APKS01,WIDE2-1:=/4M<<N7_ir  !Reading", false},       // "_" inside the base-91 longitude
        {"G0KXA>APRS,WIDE1-1:=5130.00N/00007.50W-My_home", false},     // "_" in a comment
        {"G0KXB>APRS,WIDE1-1:@071200z5130.00N/00007.50W-Shack_2", false},
        {"G0KXC>APRS,WIDE1-1:=/5L!!<*e7_7P[g005t077r000p000P000h50b09900", true},  // compressed weather station
        {"G0KXD>APRS,WIDE1-1:@071200z5130.00N/00007.50W_090/005g010t050", true},
    };
    for (const auto &c : cases)
        hear({QLatin1String(c.line)});
    for (const auto &c : cases) {
        const QString callsign = QString::fromLatin1(c.line).section(u'>', 0, 0);
        SCOPED_TRACE(callsign.toStdString());
        EXPECT_EQ(QFile::exists(dirs.data() + QStringLiteral("/WxData/") + callsign + QStringLiteral(".kew")), c.weather);
        clickStation(callsign);
        EXPECT_EQ(main->tool("ID_WXDisplay")->isEnabled(), c.weather);
    }
    clickStation(QStringLiteral("G0KXC"));
    frmWx *wx = openWeather();
    ASSERT_NE(wx, nullptr);
    ASSERT_EQ(points(wx->temperatureChart()), 1);
    EXPECT_NEAR(wx->temperatureChart()->seriesList().first()->points().first().y(), 25.0, 1e-4);
}

// The demo hour's compressed digipeaters and homes carry "_" in their bytes:
// only its five weather stations get weather files, and the list calls
// exactly the ones with a position "Wx".
TEST_F(WeatherLive, DemoHourFilesWeatherForItsWeatherStationsOnly)
{
    HostFolder folder;
    start(folder.path());
    ASSERT_NE(host, nullptr);
    hear(demoLines(QStringLiteral("99")));
    QStringList files = QDir(dirs.data() + QStringLiteral("/WxData")).entryList({QStringLiteral("*.kew")});
    files.sort();
    EXPECT_EQ(files, QStringList({"G0KWC.kew", "G1KWD.kew", "G4KWA.kew", "M0KWB-13.kew", "M0KWE.kew"}));
    QStringList typedWx;
    for (int r = 0; r < list->model().count(); ++r)
        if (list->model().cell(r, StationListModel::Type) == QLatin1String("Wx"))
            typedWx << list->model().cell(r, StationListModel::Station);
    typedWx.sort();
    EXPECT_EQ(typedWx, QStringList({"G0KWC", "G1KWD", "G4KWA", "M0KWB-13"}));
}

// The demo as installed for a new user: its weather stations carry two days
// of history, yesterday fills every chart of a station's window, and today's
// history runs on into the first report heard, on scales that fit it.
TEST_F(WeatherLive, DemoWeatherStationShowsFiveFilledCharts)
{
    const ToolRun install = tool({QStringLiteral("install-demo")});
    ASSERT_EQ(install.status, 0) << install.err.toStdString();
    // The program reads the options the installer wrote.
    const IniSettingsStore written;
    for (const auto &[section, key] : Configuration::keys())
        if (QString value; written.read(QStringLiteral("Kestrel"), section, key, &value))
            store.write(QStringLiteral("Kestrel"), section, key, value);
    const QString demo = dirs.data() + QStringLiteral("/DemoHost");
    ASSERT_TRUE(QFile::exists(dirs.data() + QStringLiteral("/WxData/G4KWA.kew")));

    start(demo);
    ASSERT_NE(host, nullptr);
    hear(demoLines(QStringLiteral("00:00:20")));
    clickStation(QStringLiteral("G4KWA"));
    frmWx *wx = openWeather();
    ASSERT_NE(wx, nullptr);
    QComboBox *dates = main->combo(QStringLiteral("ID_WxDates"));
    const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("dd/MM/yyyy"));
    const int index = dates->findText(yesterday);
    ASSERT_GE(index, 0);
    dates->setCurrentIndex(index);
    emit dates->activated(index);
    ASSERT_EQ(wx->selectedDay(), yesterday);

    for (int tab = 0; tab < wx->tabs()->count(); ++tab)
        for (QXYSeries *series : wx->chartOfTab(tab)->seriesList())
            EXPECT_EQ(series->points().size(), 288) << wx->tabs()->tabText(tab).toStdString() << " "
                                                    << series->name().toStdString();

    const QString shots = qEnvironmentVariable("KESTREL_WX_SCREENSHOTS");
    auto shootTabs = [&](const QString &day) {
        if (shots.isEmpty())
            return;
        QDir().mkpath(shots);
        wx->parentWidget()->showMaximized();
        for (int tab = 0; tab < wx->tabs()->count(); ++tab) {
            wx->tabs()->setCurrentIndex(tab);
            QTest::qWait(150);
            const QString name = wx->tabs()->tabText(tab).toLower().replace(u' ', u'-');
            EXPECT_TRUE(main->grab().save(shots + QStringLiteral("/weather-%1-%2-%3.png").arg(day).arg(tab + 1).arg(name)));
        }
    };
    shootTabs(QStringLiteral("yesterday"));

    const int today = dates->findText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    ASSERT_GE(today, 0);
    dates->setCurrentIndex(today);
    emit dates->activated(today);
    const QList<QPointF> temperatures = wx->temperatureChart()->seriesList().first()->points();
    ASSERT_GE(temperatures.size(), 2);
    EXPECT_NEAR(temperatures.last().y(), temperatures[temperatures.size() - 2].y(), 1.0)
        << "the first report heard follows on from the history";
    auto *pressureAxis = qobject_cast<QValueAxis *>(wx->pressureChart()->chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(pressureAxis, nullptr);
    for (const QPointF &point : wx->pressureChart()->seriesList().first()->points()) {
        EXPECT_GT(point.y(), pressureAxis->min());
        EXPECT_LT(point.y(), pressureAxis->max());
    }
    EXPECT_LT(pressureAxis->max() - pressureAxis->min(), 100) << "a scale that shows the day's changes";
    shootTabs(QStringLiteral("today"));
    if (shots.isEmpty())
        return;
    if (frmWxToolbar *tools = frmWxToolbar::instance())
        tools->grab().save(shots + QStringLiteral("/weather-chart-tools.png"));
}

// Zooming in or out as far as the user likes, resetting, and readings from the
// air that no axis can show (a million degrees, the largest single-precision
// number) never make an axis lay out more than about twenty ticks, even for a
// moment, and such a reading does not stretch an automatic range.
TEST_F(WeatherLive, ChartAxesKeepFewTicksWhateverTheZoomOrTheReadings)
{
    HostFolder folder;
    start(folder.path());
    ASSERT_NE(host, nullptr);
    hear(demoLines(QStringLiteral("00:10:30")));
    clickStation(QStringLiteral("G1KWD"));
    frmWx *wx = openWeather();
    ASSERT_NE(wx, nullptr);
    TickProbe probe(wx);
    constexpr double kMostTicks = 20;

    auto wheel = [](QWidget *chart, int steps, Qt::KeyboardModifiers modifiers) {
        for (int i = 0; i < std::abs(steps); ++i) {
            const QPointF at(chart->width() / 2.0, chart->height() / 2.0);
            QWheelEvent event(at, chart->mapToGlobal(at), {}, {0, steps > 0 ? 120 : -120}, Qt::NoButton, modifiers,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(chart, &event);
        }
    };
    const struct
    {
        const char *tab;
        int zoomIns;   // negative: zoom outs
        bool reset;
        int wheelSteps;  // with Ctrl, then without
    } cases[] = {
        {"Wind Direction", -11, false, 0}, {"Pressure", 13, true, 0},   {"Temperature", -40, true, 0},
        {"Temperature", 60, true, 0},      {"Rainfall", 0, false, -40}, {"Wind Speed", 0, true, 40},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tab);
        int tab = 0;
        while (wx->tabs()->tabText(tab) != QLatin1String(c.tab))
            ++tab;
        wx->tabs()->setCurrentIndex(tab);
        WxChartView *chart = wx->chartOfTab(tab);
        for (int i = 0; i < std::abs(c.zoomIns); ++i)
            QTest::keyClick(chart, c.zoomIns > 0 ? Qt::Key_Plus : Qt::Key_Minus);
        wheel(chart, c.wheelSteps, Qt::ControlModifier);
        wheel(chart, c.wheelSteps, Qt::NoModifier);
        QTest::keyClick(chart, Qt::Key_Right);
        QTest::keyClick(chart, Qt::Key_Up);
        QApplication::processEvents();
        if (const QString shots = qEnvironmentVariable("KESTREL_WX_SCREENSHOTS"); !shots.isEmpty())
            chart->image().save(shots + QStringLiteral("/zoomed-%1.png").arg(QLatin1String(c.tab)));
        if (c.reset)
            QTest::keyClick(chart, Qt::Key_Home);
        QApplication::processEvents();
        EXPECT_LE(probe.most, kMostTicks);
    }

    config().tempAuto = true;
    config().humidityAuto = true;
    config().windAuto = true;
    config().pressureAuto = true;
    wx->UpdateChartRanges();
    QValueAxis *temperature = nullptr;
    for (QAbstractAxis *axis : wx->temperatureChart()->chart()->axes(Qt::Vertical, wx->temperatureChart()->seriesList().first()))
        temperature = qobject_cast<QValueAxis *>(axis);
    ASSERT_NE(temperature, nullptr);
    const qsizetype before = points(wx->temperatureChart());
    for (const char *reading : {"1000000", "340282000000000000000000000000000000000", "-340282000000000000000000000000000000000"}) {
        SCOPED_TRACE(reading);
        hear({QStringLiteral("G1KWD>APKS01,TCPIP*,qAC,T2UK:_12072015c283s%1g%1t%1r000p000P000h78b%1").arg(QLatin1String(reading))});
        EXPECT_LE(probe.most, kMostTicks);
        EXPECT_LT(temperature->max(), 100) << "an unshowable reading does not stretch the range";
        EXPECT_GT(temperature->min(), -100);
        EXPECT_EQ(points(wx->temperatureChart()), before) << "nor is it drawn";
    }
    // A sound report still is.
    hear({QStringLiteral("G1KWD>APKS01,TCPIP*,qAC,T2UK:_12072015c283s006g011t049r000p000P000h78b10117")});
    EXPECT_EQ(points(wx->temperatureChart()), before + 1);
    EXPECT_LE(probe.most, kMostTicks);
}
