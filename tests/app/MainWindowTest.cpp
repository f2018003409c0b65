#include "app/ToolDefinitions.h"
#include "core/AppInfo.h"
#include "core/MainWindowPort.h"
#include "stations/FrameIntake.h"
#include "stations/frmEmergency.h"
#include "core/HostStationRecord.h"

#include "MainWindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QLabel>
#include <QStatusBar>
#include <QSystemTrayIcon>

namespace {

QStringList entries(const frmMain &m)
{
    QStringList ids;
    for (QAction *action : m.windowMenu()->actions())
        ids << (action->isSeparator() ? QStringLiteral("--%1").arg(action->objectName()) : action->objectName());
    return ids;
}

} // namespace

TEST_F(MainWindowTest, EveryToolHasItsIdentifierCaptionAndTip)
{
    frmMain &m = start();
    ASSERT_NE(m.tool("ID_Exit"), nullptr);
    EXPECT_EQ(m.tool("ID_Exit")->text(), "E&xit");
    EXPECT_EQ(m.tool("ID_Exit")->toolTip(), "Exit Kestrel");
    EXPECT_EQ(m.tool("ID_PrintPreview")->text(), "Print Pre&view");
    EXPECT_EQ(m.tool("ID_SatelliteStatus")->toolTip(), "Display Satellite Satus Window");
    EXPECT_TRUE(m.tool("ID_Inbound")->isCheckable());
    EXPECT_EQ(m.findChild<QAction *>("ID_ClearMap")->toolTip(), "Clears the UIView32 Map");
    ASSERT_NE(m.combo("ID_PlotInterval"), nullptr);
    EXPECT_EQ(m.combo("ID_PlotInterval")->count(), 4);
    EXPECT_EQ(m.combo("ID_Font")->itemText(5), "Times New Roman");
}

TEST_F(MainWindowTest, WindowListAddsTheSeparatorOnceAndChecksTheMainList)
{
    frmMain &m = start();
    const QStringList fixed = {"ID_TileHorizontally", "ID_Tilevertically", "ID_Cascade", "ID_ArrangeIcons", "--",
                               "ID_HostMap", "--"};
    EXPECT_EQ(entries(m), fixed + QStringList({"Station List", "--separator"}));
    m.UpdateWindowList("Screen Capture 1", true);
    m.UpdateWindowList("Screen Capture 2", true);
    EXPECT_EQ(entries(m), fixed + QStringList({"Station List", "--separator", "Screen Capture 1", "Screen Capture 2"}));
    m.UpdateWindowList("Screen Capture 1", false);
    EXPECT_EQ(m.windowListCount(), 2);
    EXPECT_FALSE(entries(m).contains("Screen Capture 1"));

    // The main list's caption grows a count but its entry keeps the plain name.
    m.SetCheckedWindow("Station List (12 Stations)", true);
    QAction *entry = m.windowMenu()->findChild<QAction *>("Station List");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isChecked());
    EXPECT_FALSE(entry->icon().isNull());
    m.SetCheckedWindow("Station List (12 Stations)", false);
    EXPECT_FALSE(entry->isChecked());
    EXPECT_TRUE(entry->icon().isNull());
    m.SetCheckedWindow("No such window", true);  // ignored
}

TEST_F(MainWindowTest, WindowListEntryFocusesByCaption)
{
    frmMain &m = start();
    mainList->setWindowTitle("Station List (3 Stations)");
    m.OpenDataWindow(3, QString());
    EXPECT_EQ(m.activeChild()->windowTitle(), "Screen Capture 1");
    QAction *entry = m.windowMenu()->findChild<QAction *>("Station List");
    ASSERT_NE(entry, nullptr);
    m.windowMenu()->triggered(entry);
    EXPECT_EQ(m.activeChild(), mainList);
}

TEST_F(MainWindowTest, OpenDispatchesByExtension)
{
    frmMain &m = start();
    const QString folder = dirs.data() + "/Saved Lists";
    QDir().mkpath(folder);
    for (const char *name : {"N0CALL.kew", "my.list.kel", "other.kel", "stats.kes", "notes.txt"}) {
        QFile file(folder + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    prompts.fileAnswers.enqueue(folder + "/N0CALL.kew");
    m.mnuFileOpen_Click();
    EXPECT_EQ(prompts.fileTitles.last(), "OPen Data File");
    EXPECT_EQ(m.activeChild()->windowTitle(), "Weather data for N0CALL");
    EXPECT_EQ(WindowRegistry::tagOf(m.activeChild()), "WX Station");

    prompts.fileAnswers.enqueue(folder + "/my.list.kel");
    prompts.answers.enqueue(Prompts::Answer::Yes);
    m.mnuFileOpen_Click();
    EXPECT_EQ(log.last(), "main.Merge(my.list.kel)");
    EXPECT_EQ(prompts.shown.last().title, "Load Station List");
    EXPECT_EQ(m.stationListsOpened(), 2);  // counted also when merged

    prompts.fileAnswers.enqueue(folder + "/other.kel");
    prompts.answers.enqueue(Prompts::Answer::No);
    m.mnuFileOpen_Click();
    EXPECT_EQ(m.activeChild()->windowTitle(), "Station List other.kel");
    EXPECT_EQ(WindowRegistry::tagOf(m.activeChild()), "Loaded Station List");
    EXPECT_EQ(QDir::current().absolutePath(), QDir(folder).absolutePath());

    prompts.fileAnswers.enqueue(folder + "/stats.kes");
    m.mnuFileOpen_Click();
    EXPECT_EQ(m.activeChild()->windowTitle(), "Saved Statistics " + folder + "/stats.kes");

    const int windows = int(m.mdiArea()->subWindowList().size());
    prompts.fileAnswers.enqueue(folder + "/notes.txt");
    m.mnuFileOpen_Click();
    prompts.fileAnswers.enqueue(QString());  // cancelled
    m.mnuFileOpen_Click();
    EXPECT_EQ(m.mdiArea()->subWindowList().size(), windows);
}

TEST_F(MainWindowTest, WeatherWindowNeedsACallsign)
{
    frmMain &m = start();
    m.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(mainList->parentWidget()));
    m.tool("ID_WXDisplay")->trigger();
    EXPECT_EQ(m.weatherWindowsOpened(), 0);
    mainList->selected = "G0ABC";
    m.tool("ID_WXDisplay")->trigger();
    EXPECT_EQ(m.weatherWindowsOpened(), 1);
    EXPECT_EQ(m.activeChild()->windowTitle(), "Live Weather data for G0ABC");
    EXPECT_EQ(shared().currentStation, "G0ABC");
}

TEST_F(MainWindowTest, WithoutItsGuideHelpSaysThereIsNone)
{
    frmMain &m = start();
    prompts.shown.clear();
    // A shipped-data folder without the guide in it.
    qputenv("KESTREL_SHARE_DIR", dirs.data().toLocal8Bit());
    m.tool("ID_Contents")->trigger();
    qunsetenv("KESTREL_SHARE_DIR");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Unable to display Help Contents. There is no Help associated with this project.");
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Information);
    EXPECT_EQ(prompts.shown[0].title, m.windowTitle());
}

TEST_F(MainWindowTest, InboundToolShowsAndHidesTheTerminal)
{
    frmMain &m = start();
    m.tool("ID_Inbound")->trigger();
    EXPECT_TRUE(m.terminal()->parentWidget()->isVisible());
    EXPECT_TRUE(entries(m).contains("Terminal Window"));
    m.tool("ID_Inbound")->trigger();
    EXPECT_FALSE(m.terminal()->parentWidget()->isVisible());
    EXPECT_FALSE(entries(m).contains("Terminal Window"));
}

TEST_F(MainWindowTest, TheInstalledPortNamesEachToolByItsIdentifierUntilTheWindowGoes)
{
    frmMain &m = start();
    ASSERT_EQ(MainWindowPort::instance(), &m);
    for (std::size_t i = 0; i < std::size(kTools); ++i) {
        QAction *tool = MainWindowPort::toolOf(MainTool(i));
        ASSERT_NE(tool, nullptr) << kTools[i].id;
        EXPECT_EQ(tool->objectName(), QLatin1String(kTools[i].id));
        EXPECT_EQ(tool->isCheckable(), kTools[i].kind == ToolDefinition::TwoState) << kTools[i].id;
    }
    // The ones windows below the top reach, by name as well as by place.
    const std::pair<MainTool, const char *> used[] = {
        {MainTool::Open, "ID_Open..."}, {MainTool::WXDisplay, "ID_WXDisplay"}, {MainTool::PlotPath, "ID_PlotPath"},
        {MainTool::WxDates, "ID_WxDates"}, {MainTool::PlotDX, "ID_PlotDX"},
        {MainTool::SatelliteStatus, "ID_SatelliteStatus"}, {MainTool::ShowHide, "ID_ShowHide"},
        {MainTool::DisplayMoon, "ID_DisplayMoon"}, {MainTool::DisplaySun, "ID_DisplaySun"},
        {MainTool::PointsOrLines, "ID_PointsOrLines"}, {MainTool::FontSize, "ID_FontSize"}};
    for (const auto &[id, name] : used)
        EXPECT_EQ(m.tool(id)->objectName(), QLatin1String(name));
    EXPECT_EQ(m.weatherDates(), m.combo("ID_WxDates"));
    m.setStatusText("Object Created");
    EXPECT_EQ(MainWindowPort::instance()->statusText(), "Object Created");

    main.reset();
    EXPECT_EQ(MainWindowPort::instance(), nullptr);
    EXPECT_EQ(MainWindowPort::widget(), nullptr);
    MainWindowPort::switchToolOff(MainTool::SatelliteStatus);  // nothing to switch, and no crash
    EXPECT_EQ(MainWindowPort::toolOf(MainTool::PlotDX), nullptr);
}

// A station list that notes whether the frame light was on as each station came.
class IndicatorWatcher : public RecordingStationList
{
public:
    IndicatorWatcher(QStringList *log, const frmMain &main) : RecordingStationList(log, QStringLiteral("watcher")), m_main(main) {}
    void RxData(HostStationRecord &, bool) override { lit << m_main.frameIndicatorOn(); }
    QList<bool> lit;

private:
    const frmMain &m_main;
};

TEST_F(MainWindowTest, HostFramesGoStraightToTheIntakeWhichLightsTheOneIndicator)
{
    providers().frameIntake = attachFrameIntake;
    frmMain &m = start();
    auto *watcher = new IndicatorWatcher(&log, m);
    m.addChild(watcher, "Station List", true);
    host.hear("A>B:x\r\n");
    host.hear("A>B:x\r\n");  // the same text twice is two frames
    EXPECT_EQ(watcher->lit, (QList<bool>{true, true}));
    EXPECT_EQ(m.linkField()->text(), "A>B:x\r\n");
    EXPECT_FALSE(m.frameIndicatorOn());

    m.injectTestFrame();  // the test command takes the same road from the link field on
    EXPECT_EQ(watcher->lit, (QList<bool>{true, true, true}));
    EXPECT_EQ(m.linkField()->text(), frmMain::sampleFrame());
    EXPECT_FALSE(m.frameIndicatorOn());

    QStringList seen;
    m.setFrameHandler([&](const QString &text) { seen << text; });
    m.injectTestFrame();
    EXPECT_EQ(seen, QStringList{"N0CALL>APW233,TCPIP,N0GATE:\r\n_12072202c052s001g002t068r000p000P000h72b10191wDAV\r\n"});
    host.hear("A>B:x\r\n");
    EXPECT_EQ(seen.size(), 1) << "the host's frames do not pass through the main window";
}

TEST_F(MainWindowTest, EventsAreRoutedByTagInLoadOrder)
{
    providers().frameIntake = attachFrameIntake;  // beacons reach the lists through the intake
    frmMain &m = start();
    auto *loaded = new RecordingStationList(&log, "loaded");
    m.addChild(loaded, "Loaded Station List", true);
    auto *second = new RecordingStationList(&log, "second");
    m.addChild(second, "Station List", true);
    HostStationRecord known;
    known.callsign = "G4XYZ";
    host.stations.insert("G4XYZ", known);

    log.clear();
    emit host.NotifyBeacon("NOBODY", 1, 2);
    EXPECT_TRUE(log.isEmpty());  // unknown stations reach no list
    emit host.NotifyBeacon("G4XYZ", 1, 2);
    EXPECT_EQ(log, QStringList({"main.RxData(G4XYZ,1)", "second.RxData(G4XYZ,1)"}));

    log.clear();
    emit host.fakeMap.MapHasChanged();
    const QStringList changed = log;
    log.clear();
    emit host.fakeMap.MapRedrawn();
    EXPECT_EQ(log, changed);
    EXPECT_EQ(changed, QStringList({"main.PlotDX", "main.PlotPHGRNGcircles", "second.PlotDX",
                                    "second.PlotPHGRNGcircles", "dx.PlotDxOnMap"}));

    log.clear();
    // The host's kilometres arrive in the options' miles.
    emit host.NotifyDXSpot("DX de X: 14025.0 Y", "Y", "14025.0", 1, 2, 3, 1609);
    EXPECT_EQ(log, QStringList({"AddDxSpot(DX de X: 14025.0 Y,Y,14025.0,1,2,3,1000)"}));
    EXPECT_FALSE(m.dxIndicatorOn());
}

TEST_F(MainWindowTest, ShutdownNoToExitLeavesEverythingAsItWas)
{
    frmMain &m = start();
    host.objects = {"ISS"};
    const int writes = store.writes;
    prompts.answers.enqueue(Prompts::Answer::No);
    EXPECT_FALSE(m.close());
    EXPECT_EQ(prompts.shown.last().text, "Are you sure you wish to exit Kestrel.");
    EXPECT_EQ(prompts.shown.last().title, "Exit Kestrel");
    EXPECT_EQ(store.writes, writes);
    EXPECT_TRUE(host.isLinkOpen());
    EXPECT_EQ(host.objects, QStringList({"ISS"}));
    EXPECT_TRUE(mainList->isVisible());
}

TEST_F(MainWindowTest, ShutdownCancelAtTheSaveQuestionStops)
{
    frmMain &m = start();
    prompts.answers.enqueue(Prompts::Answer::Yes);
    prompts.answers.enqueue(Prompts::Answer::Cancel);
    EXPECT_FALSE(m.close());
    EXPECT_EQ(prompts.shown.last().text, "Do you wish to save the station list.");
    EXPECT_EQ(prompts.shown.last().buttons, Prompts::Buttons::YesNoCancel);
    EXPECT_TRUE(host.isLinkOpen());
}

TEST_F(MainWindowTest, ShutdownSavesCleansTheMapAndWritesTheConfiguration)
{
    frmMain &m = start();
    host.objects = {"ISS", "AO-91"};
    shared().autoRecords.clear();
    for (const char *call : {"A1", "B2", "C3", "D4", "E5"})
        store.write("Kestrel", "AutoLog", QString("AutoLog") + QString::number(store.values.size()), call);
    for (const char *call : {"N0CALL", "N0CALL-9", "G4XYZ"})
        shared().autoRecords.add({call, true});
    prompts.answers.enqueue(Prompts::Answer::Yes);
    prompts.answers.enqueue(Prompts::Answer::Yes);
    host.calls.clear();
    log.clear();
    EXPECT_TRUE(m.close());
    EXPECT_EQ(log, QStringList({"main.Save"}));
    EXPECT_EQ(host.calls, QStringList({"closeLink", "placedObjects", "removeObject(ISS)",
                                       "removeObject(AO-91)", "refreshMap"}));
    EXPECT_EQ(store.value("Kestrel", "AutoLog", "AutoLog1"), "N0CALL");
    EXPECT_EQ(store.value("Kestrel", "AutoLog", "AutoLog3"), "G4XYZ");
    int autoLogKeys = 0;
    for (auto it = store.values.cbegin(); it != store.values.cend(); ++it)
        autoLogKeys += it.key().startsWith("kestrel/autolog/");
    EXPECT_EQ(autoLogKeys, 3);
    EXPECT_EQ(store.value("Kestrel", "Distance", "Miles"), "True");
    EXPECT_FALSE(store.value("Kestrel", "Settings", "MainWidth").isEmpty());
}

TEST_F(MainWindowTest, AnOpenEmergencyAlertDoesNotKeepTheProgramRunning)
{
    frmMain &m = start();
    HostStationRecord record;
    record.callsign = QStringLiteral("N0CALL");
    frmEmergency *alert = frmEmergency::raiseFor(record);
    ASSERT_TRUE(alert->isVisible());
    // A window with no owner would count as a main window of its own, and the
    // program would not end while it showed.
    EXPECT_EQ(alert->window()->parentWidget(), &m);
    prompts.answers.enqueue(Prompts::Answer::Yes);
    prompts.answers.enqueue(Prompts::Answer::No);
    EXPECT_TRUE(m.close());
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(MainWindowTest, ShutdownWhileMinimisedKeepsThePlacement)
{
    frmMain &m = start();
    store.write("Kestrel", "Settings", "MainLeft", "4321");
    config().autoSave = true;
    m.showMinimized();
    prompts.answers.enqueue(Prompts::Answer::Yes);
    EXPECT_TRUE(m.close());
    EXPECT_EQ(store.value("Kestrel", "Settings", "MainLeft"), "4321");
    EXPECT_EQ(log.filter("Save"), QStringList({"main.Save"}));  // auto save asks nothing more
    EXPECT_EQ(prompts.shown.last().text, "Are you sure you wish to exit Kestrel.");
}

TEST_F(MainWindowTest, HostClosingClosesWithoutQuestions)
{
    frmMain &m = start();
    prompts.shown.clear();
    emit host.UIView32IsClosing();
    EXPECT_TRUE(shared().hostClosing);
    EXPECT_FALSE(m.isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(log.filter("Save").isEmpty());  // auto save is off
}

TEST_F(MainWindowTest, CombosReachTheActiveStationList)
{
    frmMain &m = start();
    m.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(mainList->parentWidget()));
    log.clear();
    m.combo("ID_Font")->setCurrentText("Courier New");
    // Typing 14025 passes 1 and 14 on the way; only sizes a list can show apply.
    for (const char *text : {"1", "12", "big", "14025", "0", "-9", "72.4", "1e308"})
        m.combo("ID_FontSize")->setEditText(QString::fromLatin1(text));
    EXPECT_EQ(log, QStringList({"main.Font(Courier New)", "main.FontSize(12)", "main.FontSize(72)"}));

    satellites->orbiterFake.calls.clear();
    m.combo("ID_PlotInterval")->setCurrentIndex(2);
    emit m.combo("ID_PlotInterval")->activated(2);
    EXPECT_EQ(satellites->orbiterFake.calls, QStringList({"setPlotInterval(30)", "update"}));
}

TEST_F(MainWindowTest, PrintShowsThePrinterDialogAndPrintsTheActiveWindow)
{
    frmMain &m = start();
    const QString pdf = dirs.data() + "/printed.pdf";
    m.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(mainList->parentWidget()));
    m.tool("ID_Print")->trigger();
    EXPECT_EQ(prompts.fileTitles.last(), "Print");
    EXPECT_FALSE(QFile::exists(pdf));  // declined: nothing printed

    prompts.printAnswer = true;
    prompts.printFile = pdf;
    m.tool("ID_Print")->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 1000);
}

TEST_F(MainWindowTest, PrintPreviewShowsWhatPrintWouldPrint)
{
    frmMain &m = start();
    m.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(mainList->parentWidget()));
    const QString pdf = dirs.data() + "/preview.pdf";
    prompts.printFile = pdf;
    m.tool("ID_PrintPreview")->trigger();
    EXPECT_EQ(prompts.previewTitles, QStringList({"Print Preview"}));
    EXPECT_FALSE(prompts.fileTitles.contains("Print")) << "no printer is asked for";
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the preview paints the active window";
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 1000);
}

TEST_F(MainWindowTest, TestCommandRunsTheIntakeEvenWithoutAHost)
{
    HostApplication *intakeHost = nullptr;
    QStringList frames;
    providers().frameIntake = [&](HostApplication *h, QObject *) -> std::function<void(const QString &)> {
        intakeHost = h;
        return [&frames](const QString &text) { frames << text; };
    };
    hostRunning = false;
    frmMain &m = start();
    m.injectTestFrame();
    ASSERT_NE(intakeHost, nullptr);
    HostStationRecord record;
    record.callsign = "N0CALL";
    EXPECT_FALSE(intakeHost->lookUpStation(record));  // the stand-in knows nobody
    EXPECT_EQ(frames.size(), 1);
}

TEST_F(MainWindowTest, ClosingAListedWindowTakesItsEntryAway)
{
    frmMain &m = start();
    m.OpenDataWindow(3, QString());
    m.OpenDataWindow(3, QString());
    EXPECT_EQ(m.windowListCount(), 3);
    QMdiSubWindow *second = m.mdiArea()->activeSubWindow();
    ASSERT_EQ(second->widget()->windowTitle(), "Screen Capture 2");
    second->widget()->setWindowTitle("renamed later");
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m.windowListCount(), 2);
    EXPECT_FALSE(entries(m).contains("Screen Capture 2"));
    EXPECT_TRUE(entries(m).contains("Screen Capture 1"));
}

TEST_F(MainWindowTest, UnreadMessagesShowInTheStatusBarAndANewOneIsAnnounced)
{
    frmMain &m = start();
    auto *panel = m.findChild<QLabel *>("panelMessages");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_FALSE(m.tool("ID_Messages")->isEnabled()) << "this host carries no messages";
    emit host.unreadMessagesChanged(2);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->text(), "2 unread messages");
    emit host.unreadMessagesChanged(0);
    EXPECT_TRUE(panel->isHidden());
    // Offscreen there is no tray: the notice goes to the status bar, as text.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        emit host.messageArrived("G4ABC", "<b>73</b>");
        EXPECT_EQ(m.statusBar()->currentMessage(), "Message from G4ABC: <b>73</b>");
    }
}
