#include "StationListFixture.h"

#include "FakeMainWindow.h"
#include "stations/EmergencyAlerts.h"
#include "stations/MapPlotting.h"
#include "stations/frmStations.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <ctime>

TEST_F(StationListTest, MonitorListsTheRowsUnlessHeld)
{
    known(QStringLiteral("A1"));
    known(QStringLiteral("B2"));
    frmStations monitor;
    makeList();
    hear(QStringLiteral("A1"));
    monitor.refresh();
    EXPECT_EQ(monitor.stationBox()->count(), 1);
    monitor.setHold(true);
    hear(QStringLiteral("B2"));
    monitor.refresh();
    EXPECT_EQ(monitor.stationBox()->count(), 1);
    monitor.setHold(false);
    hear(QStringLiteral("B2"));
    monitor.refresh();
    ASSERT_EQ(monitor.stationBox()->count(), 2);
    EXPECT_EQ(monitor.stationBox()->itemText(1), "B2");
    // A station in emergency is red in the box too, until acknowledged.
    EmergencyAlerts::instance().reset();
    HostStationRecord sos;
    sos.callsign = QStringLiteral("B2");
    sos.message = QStringLiteral("Emergency");
    sos.information = QStringLiteral("`(_fn\"Oj/");
    ASSERT_TRUE(EmergencyAlerts::instance().consider(sos));
    const QAbstractItemModel *box = monitor.stationBox()->model();
    EXPECT_EQ(box->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(box->index(0, 0).data(Qt::ForegroundRole).isValid());
    EmergencyAlerts::instance().reset();
    EXPECT_FALSE(box->index(1, 0).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(monitor.windowTitle(), "Plotting Toolbar");
    for (const char *id : {"ID_PlotPath", "ID_ClearMap", "ID_PlotDX", "ID_ShowHide"})
        EXPECT_TRUE(monitor.tool(QString::fromLatin1(id))) << id;
    EXPECT_EQ(monitor.tool(QStringLiteral("ID_ClearMap"))->toolTip(), "Clears the UIView32 Map");
}

TEST_F(StationListTest, MonitorPlotsTheChosenStationsPathAndClearsTheMap)
{
    known(QStringLiteral("N0GATE"), 3095.5f, -20.2f);
    known(QStringLiteral("N0CALL"), 3100.9f, -30.7f);
    known(QStringLiteral("OTHER"));
    makeList();
    WindowRegistry::instance().add(list.get(), WindowTag::StationList);
    hear(QStringLiteral("OTHER"));
    hear(QStringLiteral("N0CALL"));
    frmStations monitor;
    monitor.stationBox()->setEditText(QStringLiteral("N0CALL"));
    monitor.tool(QStringLiteral("ID_PlotPath"))->trigger();
    EXPECT_EQ(list->selectedCallsign(), "N0CALL");
    EXPECT_EQ(host.fakeMap.calls.filter(QStringLiteral("line(")).size(), 2);
    EXPECT_EQ(shared().plottedPathStation, "N0CALL");
    monitor.tool(QStringLiteral("ID_ClearMap"))->trigger();
    EXPECT_TRUE(shared().plottedPathStation.isEmpty());
    EXPECT_EQ(host.calls.last(), "refreshMap");
}

TEST_F(StationListTest, MonitorDrivesTheMainToolsAndClosingReleasesShowHide)
{
    FakeMainWindow main;
    main.tool(MainTool::ShowHide)->setChecked(true);
    frmStations monitor;
    monitor.show();
    monitor.tool(QStringLiteral("ID_PlotDX"))->trigger();
    EXPECT_TRUE(main.tool(MainTool::PlotDX)->isChecked());
    monitor.tool(QStringLiteral("ID_ShowHide"))->trigger();  // released: the monitor closes
    EXPECT_FALSE(monitor.isVisible());
    EXPECT_FALSE(main.tool(MainTool::ShowHide)->isChecked());
    EXPECT_EQ(main.triggered, (QStringList{"ID_PlotDX", "ID_ShowHide"}));
}

TEST_F(StationListTest, PlotDxDrawsTheLineOnlyWhileTheMainToolIsPressed)
{
    FakeMainWindow main;
    makeList();
    dxTarget() = DxTarget{QStringLiteral("VK2KIB"), -2028.0, 9072.0};
    list->PlotDX();
    EXPECT_TRUE(host.fakeMap.calls.isEmpty());
    main.tool(MainTool::PlotDX)->setChecked(true);
    list->PlotDX();
    EXPECT_EQ(host.fakeMap.calls, (QStringList{"pen(3)", "mode(13)", "line(-8,3084,9072,-2028,255)"}));
    dxTarget() = DxTarget{};
}

TEST_F(StationListTest, PlotPathToolIsEnabledOnceTheListHoldsTwoRowsAndWxToolFollowsTheSelection)
{
    FakeMainWindow main;
    main.tool(MainTool::PlotPath)->setEnabled(false);
    known(QStringLiteral("A1"));
    known(QStringLiteral("B2"));
    makeList();
    hear(QStringLiteral("A1"));
    hear(QStringLiteral("B2"));
    EXPECT_FALSE(main.tool(MainTool::PlotPath)->isEnabled());  // one row when B2 arrived
    hear(QStringLiteral("B2"));
    EXPECT_TRUE(main.tool(MainTool::PlotPath)->isEnabled());

    list->selectRow(0);
    list->UpdateWxTool(true);
    EXPECT_FALSE(main.tool(MainTool::WXDisplay)->isEnabled());
    QDir().mkpath(dirs.data() + QStringLiteral("/WxData"));
    QFile file(dirs.data() + QStringLiteral("/WxData/A1.kew"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    list->UpdateWxTool(false);
    EXPECT_FALSE(main.tool(MainTool::WXDisplay)->isEnabled());
    list->UpdateWxTool(true);
    EXPECT_TRUE(main.tool(MainTool::WXDisplay)->isEnabled());
}

TEST_F(StationListTest, WxToolLooksForNoWeatherFileOutsideItsFolder)
{
    FakeMainWindow main;
    known(QStringLiteral("../evil"));
    makeList();
    hear(QStringLiteral("../evil"));
    QFile file(dirs.data() + QStringLiteral("/evil.kew"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QDir().mkpath(dirs.data() + QStringLiteral("/WxData"));
    list->selectRow(0);
    list->UpdateWxTool(true);
    EXPECT_FALSE(main.tool(MainTool::WXDisplay)->isEnabled());
}

// The monitor rebuilds its box a few times a second while a busy feed fills
// the list; with tens of thousands of stations that must stay about as cheap
// as reading their callsigns, or the program does little else. Compared by
// processor time, not by the clock.
TEST_F(StationListTest, MonitorRefreshesALongListAtAboutTheCostOfReadingItsCallsigns)
{
    constexpr int kStations = 20000;
    frmStations monitor;
    makeList();
    for (int i = 0; i < kStations; ++i) {
        const QString call = QStringLiteral("N%1").arg(i, 6, 10, QLatin1Char('0'));
        known(call);
        hear(call);
    }
    monitor.show();
    QTest::keyClicks(monitor.stationBox()->lineEdit(), QStringLiteral("N01"));
    const auto cpuSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
    };
    double start = cpuSeconds();
    QStringList read;
    for (int round = 0; round < 5; ++round) {
        read.clear();
        for (int r = 0; r < list->model().count(); ++r)
            read << list->model().cell(r, StationListModel::Station);
    }
    const double reading = cpuSeconds() - start;
    start = cpuSeconds();
    for (int round = 0; round < 5; ++round)
        monitor.refresh();
    const double refreshing = cpuSeconds() - start;
    EXPECT_LT(refreshing, reading * 4) << "refreshing " << refreshing << " s, reading " << reading << " s";
    ASSERT_EQ(monitor.stationBox()->count(), kStations);
    EXPECT_EQ(monitor.stationBox()->itemText(kStations - 1), "N019999");
}
