#include "app/AppIcon.h"
#include "core/AppInfo.h"
#include "app/DefaultData.h"
#include "app/LoadingSequence.h"
#include "dx/ObserverLocations.h"
#include "app/SingleInstance.h"
#include "app/InstanceDoorbell.h"
#include "options/frmOptions.h"
#include "zones/TimeZones.h"

#include "MainWindowFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QXmlStreamReader>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// What the control is left with: the last value each setter was given.
QMap<QString, QString> settled(const QStringList &calls)
{
    QMap<QString, QString> state;
    for (const QString &call : calls)
        if (const qsizetype open = call.indexOf(u'('); open > 0)
            state[call.left(open)] = call.mid(open);
    return state;
}

} // namespace

TEST(ReadHostStation, FixedPositionFormsAndMissingFile)
{
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("3614.79N", 2), 2174.79);
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("09549.68W", 3), -5749.68);
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("3330.50S", 2), -2010.50);
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("00007.50w", 3), -7.50);
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("", 2), 0);
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("12", 3), 720);  // short text: what is there counts
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("9930.00N", 2), 0);   // past the pole: no position
    EXPECT_DOUBLE_EQ(hostPositionToMinutes("18030.00W", 3), 0);

    TempDirs dirs;
    writeFile(dirs.data() + "/UIVIEW32.INI",
              "[STATION]\r\nLATITUDE=3614.79N\r\nLONGITUDE=09549.68W\r\nCALLSIGN=N0CALL-1\r\n");
    const HomeStation home = ReadHostStation(dirs.data());
    EXPECT_DOUBLE_EQ(home.latitude, 2174.79);
    EXPECT_DOUBLE_EQ(home.longitude, -5749.68);
    EXPECT_EQ(home.callsign, "N0CALL-1");

    const HomeStation none = ReadHostStation(dirs.data() + "/missing");
    EXPECT_EQ(none.latitude, 0);
    EXPECT_EQ(none.longitude, 0);
    EXPECT_EQ(none.callsign, "");
}

TEST_F(MainWindowTest, ReachesReadyWithEveryStepDone)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    frmMain &m = start();
    EXPECT_EQ(m.statusText(), "Ready...");
    // The only message: the observer locations file is missing.
    EXPECT_EQ(prompts.texts(), QStringList({"Unable to read the DX locations database"}));
    EXPECT_EQ(host.calls.filter("openLink"), QStringList({"openLink(UIVIEW32|UIVData,labDDE)"}));
    ASSERT_NE(mainList, nullptr);
    EXPECT_EQ(WindowRegistry::tagOf(mainList), "Station List");
    EXPECT_EQ(mainList->windowTitle(), "Station List");
    EXPECT_TRUE(mainList->isVisible());
    ASSERT_TRUE(m.dxMonitor() && m.terminal() && m.liveStatistics() && m.satelliteStatus());
    EXPECT_FALSE(m.dxMonitor()->parentWidget()->isVisible());
    EXPECT_FALSE(m.terminal()->parentWidget()->isVisible());
    EXPECT_EQ(WindowRegistry::tagOf(m.dxMonitor()), "DX Monitor");
    EXPECT_EQ(WindowRegistry::tagOf(m.liveStatistics()), "Live Statistics");
    EXPECT_EQ(m.windowListCount(), 1);  // only the main station list
    EXPECT_FALSE(m.frameIndicatorOn());
    EXPECT_EQ(m.stationListsOpened(), 1);
}

TEST_F(MainWindowTest, HostNotRunningGivesOneMessageAndRunsOn)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    hostRunning = false;
    frmMain &m = start();
    EXPECT_EQ(m.statusText(), "Ready...");
    EXPECT_EQ(prompts.texts().filter("ERROR_tmrLoad_Timer"),
              QStringList({"Error in ERROR_tmrLoad_Timer : The host program is not running"}));
    EXPECT_EQ(prompts.shown.last().title, AppInfo::Title);
    EXPECT_EQ(m.host(), nullptr);
}

TEST_F(MainWindowTest, LinkRefusedIsReportedOnce)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    host.linkAnswer = false;
    frmMain &m = start();
    EXPECT_EQ(m.statusText(), "Ready...");
    EXPECT_EQ(prompts.texts().filter("ERROR_tmrLoad_Timer").size(), 1);
}

TEST_F(MainWindowTest, HostFolderFromTheHostsOwnSettingLosesOneTrailingSlash)
{
    store.write("Peak Systems", "UI-View32", "Program Folder", hostFolder + "/");
    start();
    EXPECT_EQ(config().hostFolder, hostFolder);
}

TEST_F(MainWindowTest, HostFolderTypedIntoTheConfigurationKeepsItsSlash)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder + "/");
    store.write("Peak Systems", "UI-View32", "Program Folder", "/elsewhere");
    start();
    EXPECT_EQ(config().hostFolder, hostFolder + "/");
}

TEST_F(MainWindowTest, NoHostFolderAnywhereAsksTheUserBeforeLoadingDx)
{
    bool asked = false;
    providers().options = [&](QWidget *) {
        asked = true;
        EXPECT_EQ(main->statusText(), "Locating UIView32");
        EXPECT_EQ(main->dxMonitor(), nullptr);
        config().hostFolder = hostFolder;
    };
    start();
    EXPECT_TRUE(asked) << "the choice closed: the options ask for a folder";
    EXPECT_EQ(prompts.chooseOffered.size(), 1);
    EXPECT_EQ(config().hostFolder, hostFolder);
}

TEST_F(MainWindowTest, NoHostFolderInAnUnattendedRunSaysSoInsteadOfWaiting)
{
    prompts.attended = false;
    bool asked = false;
    providers().options = [&](QWidget *) { asked = true; };
    frmMain &m = start();
    EXPECT_FALSE(asked);
    EXPECT_EQ(prompts.texts().filter("General tab of Kestrel Options").size(), 1);
    EXPECT_EQ(m.statusText(), "Ready...");
}

TEST_F(MainWindowTest, AutoLogStopsAtTheFirstGapAndSkipsDuplicates)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    store.write("Kestrel", "AutoLog", "AutoLog1", "N0CALL");
    store.write("Kestrel", "AutoLog", "AutoLog3", "N0CALL-9");
    start();
    ASSERT_EQ(shared().autoRecords.count(), 1);
    EXPECT_EQ(shared().autoRecords.entries()[0].Callsign, "N0CALL");
    EXPECT_TRUE(shared().autoRecords.entries()[0].Recording);

    main.reset();
    prompts.shown.clear();
    store.write("Kestrel", "AutoLog", "AutoLog2", "n0call");
    start();
    EXPECT_EQ(shared().autoRecords.count(), 2);  // N0CALL, then N0CALL-9; the duplicate is skipped
    EXPECT_EQ(prompts.texts().filter("already associated").size(), 1);
}

TEST_F(MainWindowTest, BadStoredTextIsReportedAndLoadingGoesOn)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    store.write("Kestrel", "Distance", "Miles", "often");
    frmMain &m = start();
    EXPECT_TRUE(prompts.texts().contains("Error in ERROR_tmrLoad_Timer : Type mismatch"));
    EXPECT_FALSE(config().miles);
    EXPECT_EQ(m.statusText(), "Ready...");
}

TEST_F(MainWindowTest, TimezoneNotSetTakesTheSystemZone)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    start();
    EXPECT_NE(config().timezone, "Not Set");
    EXPECT_EQ(config().timezone, timezones().resolve(Timezone::systemStandardName()));
    EXPECT_EQ(timezones().current().standardName, config().timezone);

    main.reset();
    store.write("Kestrel", "TimeZone", "Timezone", "Europe/Paris");
    start();
    EXPECT_EQ(config().timezone, "Europe/Paris");
    EXPECT_EQ(timezones().current().standardName, "Europe/Paris") << "the zone chosen in the options is current";
}

TEST_F(MainWindowTest, SystemZoneNamedByAnAliasIsFound)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "US/Eastern");
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    start();
    if (saved.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    ASSERT_EQ(Timezone::systemStandardName().isEmpty(), false);
    EXPECT_EQ(config().timezone, "America/New_York");
    EXPECT_EQ(timezones().current().standardName, "America/New_York");
    EXPECT_EQ(timezones().current().DaylightBias, -60);
}

// Lord Howe's half hour of daylight saving rounds like every other half in
// the program: to even, so 0 whole hours.
TEST_F(MainWindowTest, HalfHourDaylightOffsetRoundsToEven)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "Australia/Lord_Howe");
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    start();
    if (saved.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    ASSERT_EQ(timezones().current().DaylightBias, -30);
    ASSERT_NE(satellites, nullptr);
    const QStringList calls = satellites->orbiterFake.calls;
    ASSERT_GE(calls.size(), 8);
    EXPECT_EQ(calls[7], "setDaylightOffset(0)");
}

TEST_F(MainWindowTest, TrackingControlIsSetUpInOrder)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    store.write("Kestrel", "Satellite", "Observer", "Home");
    store.write("Kestrel", "Satellite", "SecondUsed", "True");
    start();
    ASSERT_NE(satellites, nullptr);
    const QStringList calls = satellites->orbiterFake.calls;
    ASSERT_GE(calls.size(), 15);
    EXPECT_EQ(calls[0], "setObserverName(Home)");
    EXPECT_TRUE(calls[1].startsWith("setObserverLatitude(52"));
    EXPECT_TRUE(calls[4].startsWith("setTimeZoneAdjust("));
    EXPECT_TRUE(calls[5].startsWith("setTimeZoneName("));
    EXPECT_TRUE(calls[6].startsWith("setDaylight("));
    EXPECT_TRUE(calls[7].startsWith("setDaylightOffset("));
    EXPECT_TRUE(calls[8].startsWith("setDaylight("));
    EXPECT_TRUE(calls[9].startsWith("setDaylightOffset("));
    EXPECT_EQ(calls[13], "setSecondName(Second QTH)");
    EXPECT_EQ(calls[14], "setSecondInUse(1)");
    EXPECT_EQ(calls.last(), "applySettings");
}

// The stored daylight flag is only as fresh as the day it was saved; start
// and Apply both go by the zone's state on the fixed 1 July.
TEST_F(MainWindowTest, OptionsApplyLeavesTheTrackingControlAsTheStartDid)
{
    const struct
    {
        const char *zone;
        const char *storedFlag;
        const char *daylight;
        const char *offset;
    } cases[] = {
        {"America/New_York", "False", "(1)", "(-1)"},
        {"America/New_York", "True", "(1)", "(-1)"},
        {"Australia/Lord_Howe", "True", "(0)", "(0)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " stored " + c.storedFlag);
        store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
        store.write("Kestrel", "TimeZone", "Timezone", c.zone);
        store.write("Kestrel", "TimeZone", "DaylightSaving", c.storedFlag);
        start();
        ASSERT_NE(satellites, nullptr);
        const QMap<QString, QString> atStart = settled(satellites->orbiterFake.calls);
        EXPECT_EQ(atStart.value("setTimeZoneName"), QStringLiteral("(%1)").arg(c.zone));
        EXPECT_EQ(atStart.value("setDaylight"), c.daylight);
        EXPECT_EQ(atStart.value("setDaylightOffset"), c.offset);

        satellites->orbiterFake.calls.clear();
        {
            frmOptions dialog(main.get());
            ASSERT_TRUE(dialog.Apply()) << prompts.texts().join(u'\n').toStdString();
        }
        EXPECT_EQ(settled(satellites->orbiterFake.calls), atStart);
        EXPECT_EQ(satellites->orbiterFake.calls.last(), "applySettings");
        main.reset();
        satellites = nullptr;
        config() = Configuration{};
        WindowRegistry::instance().clear();
    }
}

TEST_F(MainWindowTest, RegistrationFileIsWrittenOnceAndNeverRewritten)
{
    store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
    start();
    const QString path = hostFolder + "/Kestrel.xtr";
    const QByteArray first = readFile(path);
    EXPECT_TRUE(first.startsWith("Kestrel\r\n"));
    EXPECT_TRUE(first.endsWith("\r\nFalse\r\nTrue\r\n"));
    EXPECT_EQ(first.count("\r\n"), 4);

    writeFile(path, "moved elsewhere\r\n");
    main.reset();
    start();
    EXPECT_EQ(readFile(path), "moved elsewhere\r\n");
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    TempDirs dirs;
    auto first = std::make_unique<SingleInstance>(dirs.config());
    EXPECT_EQ(first->state(), SingleInstance::State::First);
    SingleInstance second(dirs.config());
    EXPECT_EQ(second.state(), SingleInstance::State::AlreadyRunning);
    EXPECT_FALSE(second.isFirst());
    first.reset();
    SingleInstance third(dirs.config());
    EXPECT_EQ(third.state(), SingleInstance::State::First);
}

// A lock file left by a copy that ran under another host name (a container,
// a shared home folder) belongs to no live copy and must not refuse a start.
TEST(SingleInstance, LockLeftUnderAnotherHostNameIsNoObstacle)
{
    TempDirs dirs;
    const QString path = dirs.config() + "/Kestrel.lock";
    writeFile(path, "4242\nkestrel\nsome-other-host\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime);
    file.close();
    SingleInstance instance(dirs.config());
    EXPECT_EQ(instance.state(), SingleInstance::State::First);
}

// A settings folder that cannot be written is not another copy: the lock is
// reported as unavailable and the program may start.
TEST(SingleInstance, UnwritableSettingsFolderIsNotAnotherCopy)
{
    TempDirs dirs;
    // Below a plain file, no folder can be made, even for root.
    writeFile(dirs.data() + "/plain", "x");
    SingleInstance instance(dirs.data() + "/plain/settings");
    EXPECT_EQ(instance.state(), SingleInstance::State::Unavailable);
    EXPECT_TRUE(instance.isFirst());
    EXPECT_FALSE(instance.problem().isEmpty());
}

TEST(SingleInstance, ProgramWithAnUnwritableSettingsFolderRunsAndSaysSoOnce)
{
    TempDirs dirs;
    writeFile(dirs.data() + "/plain", "x");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KESTREL_PROMPTS", "stderr");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("KESTREL_CONFIG_DIR", dirs.data() + "/plain/settings");
    env.insert("KESTREL_SCREENSHOT", dirs.data() + "/shot.png");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(KESTREL_PROGRAM_PATH, {});
    ASSERT_TRUE(program.waitForFinished(60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(err.count("could not take its lock"), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("will not be saved")) << err.toStdString();
    EXPECT_FALSE(err.contains("already running")) << err.toStdString();
    EXPECT_FALSE(err.contains("could not be saved")) << err.toStdString();
    EXPECT_TRUE(QFile::exists(dirs.data() + "/shot.png"));
}

TEST(SingleInstance, SecondProgramShowsTheMessageAndTouchesNothing)
{
    TempDirs dirs;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KESTREL_PROMPTS", "stderr");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(KESTREL_PROGRAM_PATH, {});
    ASSERT_TRUE(first.waitForStarted());
    for (int i = 0; i < 100 && !QFile::exists(dirs.config() + "/Kestrel.lock"); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(dirs.config() + "/Kestrel.lock"));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(KESTREL_PROGRAM_PATH, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    const QString err = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(err.contains("[Kestrel Error] You are already running Kestrel please switch to the currently running version."))
        << err.toStdString();
    EXPECT_FALSE(err.contains("ERROR_tmrLoad_Timer"));

    first.kill();
    first.waitForFinished();
}

TEST(DefaultData, ShippedFilesAreInstalledOnceAndNeverReplaced)
{
    TempDirs dirs;
    const QString path = dirs.data() + "/Observer/ObserverLocations.txt";
    InstallDefaultDataFiles();
    ObserverLocations table;
    ASSERT_TRUE(table.load(path));
    EXPECT_GT(table.entries().size(), 30);
    EXPECT_EQ(table.entries()[0].name, "London");

    writeFile(path, "1,MY,Own place,10,20\r\n");
    InstallDefaultDataFiles();
    EXPECT_EQ(readFile(path), "1,MY,Own place,10,20\r\n");
}

TEST(InstanceDoorbell, ASecondStartRingsTheRunningCopyWhichComesToTheFront)
{
    TempDirs dirs;
    InstanceDoorbell doorbell(dirs.config());
    ASSERT_TRUE(doorbell.listen());
    QSignalSpy rung(&doorbell, &InstanceDoorbell::rung);
    EXPECT_TRUE(InstanceDoorbell::ring(dirs.config()));
    EXPECT_TRUE(rung.wait(2000));
    EXPECT_EQ(rung.count(), 1);

    QWidget window;
    window.showMinimized();
    InstanceDoorbell::bringToFront(&window);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());

    // Nobody listening: the second start says so and ends all the same.
    TempDirs other;
    EXPECT_FALSE(InstanceDoorbell::ring(other.config(), 200));
    // A folder deeper than a local socket path allows still gets a bell.
    const QString deep = dirs.config() + '/' + QString(120, u'k');
    EXPECT_LE(InstanceDoorbell::socketName(deep).size(), 100);
}

// Idle callers are few and short-lived, and a ring in two pieces still rings.
TEST(InstanceDoorbell, AFloodOfIdleCallersIsBoundedAndTimedOut)
{
    TempDirs dirs;
    InstanceDoorbell doorbell(dirs.config());
    ASSERT_TRUE(doorbell.listen());
    QSignalSpy rung(&doorbell, &InstanceDoorbell::rung);
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 60; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(InstanceDoorbell::socketName(dirs.config()));
    }
    QTest::qWait(200);
    EXPECT_LE(doorbell.callers(), InstanceDoorbell::MaxCallers);
    ASSERT_TRUE(QTest::qWaitFor([&] { return doorbell.callers() == 0; }, InstanceDoorbell::IdleMs + 2000))
        << "idle callers are let go";
    idle.clear();

    QLocalSocket halves;
    halves.connectToServer(InstanceDoorbell::socketName(dirs.config()));
    ASSERT_TRUE(halves.waitForConnected(2000));
    halves.write("rai");
    halves.flush();
    QTest::qWait(100);
    halves.write("se\n");
    halves.flush();
    EXPECT_TRUE(rung.wait(2000)) << "a ring that came in two pieces";
    EXPECT_TRUE(InstanceDoorbell::ring(dirs.config())) << "still answering after the flood";
    EXPECT_TRUE(QTest::qWaitFor([&] { return rung.count() == 2; }, 2000));
}

TEST(InstanceDoorbell, TheSecondProgramRingsAfterItsMessage)
{
    TempDirs dirs;
    SingleInstance first(dirs.config());
    ASSERT_TRUE(first.isFirst());
    InstanceDoorbell doorbell(dirs.config());
    ASSERT_TRUE(doorbell.listen());
    QSignalSpy rung(&doorbell, &InstanceDoorbell::rung);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KESTREL_PROMPTS", "stderr");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(KESTREL_PROGRAM_PATH, {});
    // The doorbell answers on this thread's event loop while the program runs.
    QDeadlineTimer deadline(20000);
    while (second.state() != QProcess::NotRunning && !deadline.hasExpired())
        rung.wait(50);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError()).contains("You are already running Kestrel"));
    rung.wait(200);
    EXPECT_EQ(rung.count(), 1);
}

// The desktop's scalable icon is written from the bird the program draws.
TEST(AppIcon, ScalableIconIsWellFormedAndDrawsTheBird)
{
    QXmlStreamReader xml(AppIcon::svg());
    QStringList elements;
    QString path;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            elements << xml.name().toString();
            if (xml.name() == QLatin1String("path"))
                path = xml.attributes().value("d").toString();
        }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(elements, (QStringList{"svg", "title", "circle", "path"}));
    EXPECT_TRUE(path.startsWith("M90,90 C60,65")) << path.toStdString();
    EXPECT_TRUE(path.endsWith(" Z"));
    const QImage icon = AppIcon::render(48);
    EXPECT_EQ(icon.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);          // outside the disc
    EXPECT_EQ(icon.pixelColor(24, 40), QColor(40, 90, 150));  // disc below the bird
}

TEST(CommandLine, HelpAndVersionPrintAndEndWithoutAWindowSystem)
{
    TempDirs dirs;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No display and no offscreen platform: a start would fail, an answer does not.
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    struct Case
    {
        QStringList arguments;
        const char *starts;
    };
    const Case cases[] = {
        {{"--version"}, "Kestrel "},
        {{"-v"}, "Kestrel "},
        {{"--help"}, "Usage: kestrel"},
        {{"--screenshot-anything", "-h"}, "Usage: kestrel"},
    };
    for (const Case &c : cases) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(KESTREL_PROGRAM_PATH, c.arguments);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitCode(), 0) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardOutput()).startsWith(QLatin1String(c.starts)))
            << c.arguments.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(dirs.data() + "/Kestrel")) << "nothing started";
    }
}
