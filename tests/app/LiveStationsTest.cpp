// The frame path and the station list windows driven as a user drives them,
// on the embedded host playing recorded traffic.
#include "LiveProgramFixture.h"

#include "FakeHost.h"
#include "stations/StationListModel.h"
#include "stations/frmIncoming.h"
#include "stations/frmStationInfo.h"
#include "stations/frmStations.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>

using Col = StationListModel::Column;

namespace {

const QString kDigi = QStringLiteral("G3KDC-1>APKS01,WIDE2-1:!5152.20N/00129.40W#Witney fill-in digi PHG5130");
const QString kVia = QStringLiteral("M0KDB>APKS01,G3KDC-1*,WIDE2-1:!5142.30N/00109.90W-QRV 2m/70cm");
const QString kDx = QStringLiteral("VK2KIB>APKS01,TCPIP*,qAC,T2UK:!3352.20S/15112.60E-Sydney via APRS-IS");
const QString kHomeDx = QStringLiteral("G0HOM>APKS01,WIDE2-2:>DX: VK2KIB worked on 20m");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs while a modal window is open, then closes it.
template<typename Window, typename Look>
void whileModal(Look look)
{
    QTimer::singleShot(0, [look] {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        look(*window);
        window->accept();
    });
}

} // namespace

TEST_F(LiveProgramTest, HeardStationsFillTheListTheTerminalAndTheStationInformation)
{
    folder.write(QStringLiteral("STATIONS.INI"), "[G3KDC-1]\r\nNAME=Witney digi\r\n");
    frmMain &m = start({kDigi, kVia, kVia, kDx});
    play();
    frmDocument *list = mainList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), "Station List (3 Stations)");
    EXPECT_EQ(cell("M0KDB", Col::Hrd), "2");
    EXPECT_EQ(cell("M0KDB", Col::Path), "G3KDC-1*,WIDE2-1 Port=1 ");
    EXPECT_EQ(cell("G3KDC-1", Col::Lattitude), "51.52.20N");
    EXPECT_EQ(cell("G3KDC-1", Col::Longitude), "001.29.40W");
    EXPECT_GT(cell("VK2KIB", Col::Dist).toInt(), 10000);  // miles, the default
    EXPECT_TRUE(m.tool("ID_PlotPath")->isEnabled());

    m.tool("ID_Inbound")->trigger();
    auto *terminal = dynamic_cast<frmIncoming *>(m.terminal());
    ASSERT_NE(terminal, nullptr);
    EXPECT_TRUE(terminal->isVisible());
    const QString shown = terminal->lstIncoming->toPlainText();
    EXPECT_EQ(shown.count(QStringLiteral("M0KDB>APKS01")), 2);
    EXPECT_TRUE(shown.contains(QStringLiteral("!3352.20S/15112.60E-Sydney via APRS-IS")));

    activate(list);
    list->selectRow(rowOf("G3KDC-1"));
    QString caption, latitude;
    bool direct = false;
    whileModal<frmStationInfo>([&](frmStationInfo &info) {
        caption = info.windowTitle();
        latitude = info.txtLatitude->text();
        direct = info.chkDirect->isChecked();
    });
    m.tool("ID_Properties")->trigger();
    EXPECT_EQ(caption, "Station Information for G3KDC-1 [Witney digi]");
    EXPECT_EQ(latitude, "51.52.20N");
    EXPECT_TRUE(direct);

    // Plot Path draws home, digipeater, station on the host's own map.
    list->selectRow(rowOf("M0KDB"));
    m.tool("ID_PlotPath")->trigger();
    const QList<EmbeddedHostMap::Drawing> &drawn = host()->hostMap()->drawings();
    ASSERT_EQ(drawn.size(), 2);
    EXPECT_NEAR(drawn[0].lat2, 51.0 + 52.0 / 60, 0.02);
    EXPECT_EQ(drawn[1].colour, QColor(0, 0, 255));
}

TEST_F(LiveProgramTest, AStatusWithBarsIsSavedAndMergedBackWhole_AndNeverBecomesALogPath)
{
    const QString victim = dirs.data() + QStringLiteral("/victim.txt");
    const QString evil = QStringLiteral("N0EVIL>APKS01,WIDE2-1:>hi|there|") + victim;
    const QString saved = dirs.data() + QStringLiteral("/Saved Lists/evening.kel");

    QDir().mkpath(dirs.data() + QStringLiteral("/Saved Lists"));
    // First run: the station is heard and the list saved.
    frmMain &first = start({evil});
    play();
    EXPECT_EQ(cell("N0EVIL", Col::Status), "hi|there|" + victim);
    activate(mainList());
    prompts.fileAnswers.enqueue(saved);
    first.tool("ID_Save")->trigger();
    ASSERT_TRUE(QFile::exists(saved));
    quit();

    // Second run: the saved list is merged into the new main list, then the
    // station is heard again.
    frmMain &second = start({evil});
    prompts.fileAnswers.enqueue(saved);
    prompts.answers.enqueue(Prompts::Answer::Yes);
    second.mnuFileOpen_Click();
    ASSERT_EQ(rowOf("N0EVIL"), 0);
    EXPECT_EQ(cell("N0EVIL", Col::Status), "hi|there|" + victim);
    EXPECT_EQ(cell("N0EVIL", Col::LogFile), "");
    play();
    EXPECT_EQ(cell("N0EVIL", Col::Hrd), "2");
    EXPECT_FALSE(QFile::exists(victim)) << readFile(victim).constData();
    EXPECT_EQ(mainList()->windowTitle(), "Station List (1 Stations)");
}

TEST_F(LiveProgramTest, PlotDxIsATwoStateToolThatDrawsTheDxLine_AlsoFromTheStationsMonitor)
{
    frmMain &m = start({kDx, kHomeDx});
    play();
    QAction *plotDx = m.tool("ID_PlotDX");
    ASSERT_TRUE(plotDx->isCheckable());
    EmbeddedHostMap *map = host()->hostMap();
    auto redLines = [map] {
        int n = 0;
        for (const EmbeddedHostMap::Drawing &d : map->drawings())
            n += d.kind == EmbeddedHostMap::Drawing::Line && d.colour == QColor(255, 0, 0);
        return n;
    };
    EXPECT_EQ(redLines(), 0);
    plotDx->trigger();
    settle();
    EXPECT_TRUE(plotDx->isChecked());
    ASSERT_EQ(redLines(), 1);
    const EmbeddedHostMap::Drawing line = map->drawings().first();
    EXPECT_NEAR(line.lat1, 51.5, 0.02);
    EXPECT_NEAR(line.lat2, -(33 + 52.2 / 60), 0.02);
    EXPECT_NEAR(line.lon2, 151 + 12.6 / 60, 0.02);

    plotDx->trigger();  // released: the redraw leaves the line off
    settle();
    EXPECT_EQ(redLines(), 0);

    // The floating toolbar presses the main tool.
    m.tool("ID_ShowHide")->trigger();
    frmStations *monitor = frmStations::instance();
    ASSERT_NE(monitor, nullptr);
    monitor->tool(QStringLiteral("ID_PlotDX"))->trigger();
    settle();
    EXPECT_TRUE(plotDx->isChecked());
    EXPECT_EQ(redLines(), 1);
    plotDx->trigger();  // released on the main toolbar: the monitor's tool follows
    EXPECT_FALSE(monitor->tool(QStringLiteral("ID_PlotDX"))->isChecked());
    m.tool("ID_ShowHide")->trigger();
}

TEST_F(LiveProgramTest, AWeatherFrameWithABadStampStillReachesTheTerminalAndTheList)
{
    // A host that keeps no time heard, so the frame's own stamp would be read.
    FakeHostApplication fake;
    HostStationRecord station;
    station.callsign = QStringLiteral("G4KWA");
    station.latitude = 3104.4f;
    station.longitude = -73.2f;
    fake.stations.insert(station.callsign, station);
    providers().host = [&fake](const QString &, QObject *, QString *) -> HostApplication * { return &fake; };
    frmMain &m = start({});
    const QString frame = QStringLiteral("G4KWA>APKS01,WIDE1-1:\r\n@07x000z5144.40N/00113.20W_200/004g007t043\r\n");
    fake.hear(frame);
    m.tool("ID_Inbound")->trigger();
    auto *terminal = dynamic_cast<frmIncoming *>(m.terminal());
    ASSERT_NE(terminal, nullptr);
    EXPECT_TRUE(terminal->lstIncoming->toPlainText().contains(QStringLiteral("@07x000z5144.40N")));
    EXPECT_EQ(cell("G4KWA", Col::Hrd), "1");
    EXPECT_EQ(cell("G4KWA", Col::Type), "Fixed");
    ASSERT_FALSE(terminal->eventLog().isEmpty());
    EXPECT_EQ(terminal->eventLog().last().text, "Added Beacon from G4KWA");
    main.reset();
}

TEST_F(LiveProgramTest, ClosingALoadedListCountsItOut)
{
    const QString saved = dirs.data() + QStringLiteral("/Saved Lists/one.kel");
    QDir().mkpath(dirs.data() + QStringLiteral("/Saved Lists"));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("G3KDC-1|Fixed|Yes|1|Received Direct|51.52.20N|001.29.40W|1||2026-12-06 12:00:00|\r\n");
    file.close();
    frmMain &m = start({});
    EXPECT_EQ(m.stationListsOpened(), 1);
    prompts.fileAnswers.enqueue(saved);
    prompts.answers.enqueue(Prompts::Answer::No);
    m.mnuFileOpen_Click();
    EXPECT_EQ(m.stationListsOpened(), 2);
    QWidget *loaded = m.activeChild();
    ASSERT_EQ(WindowRegistry::tagOf(loaded), "Loaded Station List");
    frameOf(loaded)->close();
    settle();
    EXPECT_EQ(m.stationListsOpened(), 1);
}

TEST_F(LiveProgramTest, OneOnlyWindowsHideOnTheirCloseBoxAndComeBack)
{
    frmMain &m = start({kDigi});
    const struct
    {
        const char *tool;
        const char *entry;
        QWidget *window;
    } kinds[] = {
        {"ID_Inbound", "Terminal Window", m.terminal()},
        {"ID_DXClusterDisplay", "DX Stations Monitor", m.dxMonitor()},
        {"ID_SatelliteStatus", "Satellite Status", m.satelliteStatus()},
        {"ID_Statistics", "Live Statistics", m.liveStatistics()},
    };
    for (const auto &kind : kinds) {
        SCOPED_TRACE(kind.entry);
        ASSERT_NE(kind.window, nullptr);
        QAction *tool = m.tool(kind.tool);
        tool->trigger();
        ASSERT_TRUE(kind.window->isVisible());
        const int listed = m.windowListCount();
        frameOf(kind.window)->close();
        settle();
        EXPECT_FALSE(tool->isChecked());
        EXPECT_EQ(m.windowListCount(), listed - 1);
        EXPECT_EQ(m.windowMenu()->findChild<QAction *>(QString::fromLatin1(kind.entry)), nullptr);
        ASSERT_NE(frameOf(kind.window), nullptr) << "hidden, not unloaded";
        tool->trigger();
        EXPECT_TRUE(kind.window->isVisible());
        tool->trigger();
    }
    // Frames heard while the terminal was hidden are there when it comes back.
    play();
    m.tool("ID_Inbound")->trigger();
    EXPECT_TRUE(static_cast<frmIncoming *>(m.terminal())->lstIncoming->toPlainText().contains("G3KDC-1>APKS01"));
}

TEST_F(LiveProgramTest, ShutdownUnloadsTheTerminalToo)
{
    frmMain &m = start({});
    QPointer<QWidget> terminal = m.terminal();
    m.tool("ID_Inbound")->trigger();
    prompts.answers.enqueue(Prompts::Answer::Yes);
    prompts.answers.enqueue(Prompts::Answer::No);
    EXPECT_TRUE(m.close());
    settle();
    EXPECT_TRUE(terminal.isNull());
}

namespace {

// A list whose row update fails, as a list may when its host call throws.
class FailingList : public QWidget, public StationListWindow
{
public:
    void RxData(HostStationRecord &, bool) override { throw std::runtime_error("row update failed"); }
    void PlotDX() override {}
    void PlotPHGRNGcircles() override {}
    void PlotStationPath() override {}
    void SaveStationList() override {}
    void MergeStationList(const QString &) override {}
    QString selectedCallsign() const override { return {}; }
    void setListFont(const QString &) override {}
    void setListFontSize(int) override {}
};

} // namespace

TEST_F(LiveProgramTest, BeaconsReachTheListsThroughTheFrameIntake)
{
    frmMain &m = start({kDigi});
    play();
    // What the host does once a feed has taken its beacon.
    const auto beaconSent = [this] {
        host()->recordBeacon(QStringLiteral("G0HOM>APZKES:=5130.00N/00007.50W-"), 51.5, -0.125);
    };
    beaconSent();
    settle();
    EXPECT_EQ(cell("G0HOM", Col::Hrd), "1");
    EXPECT_EQ(cell("G0HOM", Col::Path), "Received Direct");

    // One path: the intake's, which reports a failing list and goes on.
    m.addChild(new FailingList, QStringLiteral("Station List"), false);
    prompts.shown.clear();
    EXPECT_NO_THROW(beaconSent());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Error in ERROR_NotifyBeacon : row update failed");
    EXPECT_EQ(cell("G0HOM", Col::Hrd), "2");
}
