// The satellite windows inside the real main window, on the embedded host
// replaying the demo traffic, with the real tracking control: what the user
// sees from start to a cleared display.
// Set KESTREL_SHOTS to a folder to keep pictures of the four views.
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "host/EmbeddedHost.h"
#include "orbiter/OrbiterCanvas.h"
#include "orbiter/OrbiterView.h"
#include "satellites/KepsFile.h"
#include "satellites/SatelliteSelection.h"
#include "satellites/frmSatSetup.h"
#include "satellites/frmSatStatus.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "TestOrbits.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A dozen sets of the kinds the demo ships, all with an epoch of 9 June 2026.
QByteArray demoKeps()
{
    using testorbits::Elements;
    const double day = testorbits::kEpochDay;
    const QList<QPair<const char *, Elements>> sets = {
        {"ISS", testorbits::kStation},
        {"SO-50", {27607, 26, day, 64.555, 210.0, 0.0076, 300.0, 60.0, 14.81}},
        {"AO-07", {7530, 26, day, 101.99, 330.0, 0.0012, 150.0, 210.0, 12.5365}},
        {"FO-29", {24278, 26, day, 98.53, 60.0, 0.035, 200.0, 160.0, 13.531}},
        {"AO-91", {43017, 26, day, 97.68, 140.0, 0.022, 100.0, 260.0, 14.78}},
        {"RS-44", {44909, 26, day, 82.52, 20.0, 0.0215, 40.0, 320.0, 12.797}},
        {"AO-27", {22825, 26, day, 98.62, 250.0, 0.0008, 110.0, 30.0, 14.30}},
        {"IO-86", {40931, 26, day, 6.0, 300.0, 0.0013, 260.0, 100.0, 14.77}},
        {"NOAA-19", testorbits::kWeather},
        {"NOAA-18", {28654, 26, day, 98.88, 95.0, 0.0014, 220.0, 140.0, 14.13}},
        {"MOLNIYA 1-93", testorbits::kMolniya},
        {"QO-100", testorbits::kGeostationary},
    };
    QByteArray text;
    for (const auto &[name, e] : sets) {
        const auto [l1, l2] = testorbits::lines(e);
        text += QByteArray(name) + "\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2)
                + "\r\n";
    }
    return text;
}

void copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + u'/' + name, to + u'/' + name);
}

class SatelliteAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KESTREL_HOST_HEADLESS", "1");
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        satelliteSelection().clear();
        wireProgram();

        hostFolder = dirs.data() + "/DemoHost";
        copyFolder(QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host"), hostFolder);
        QDir().mkpath(dirs.data() + "/Keps");
        QFile keps(dirs.data() + "/Keps/Keps.txt");
        EXPECT_TRUE(keps.open(QIODevice::WriteOnly));
        keps.write(demoKeps());
        keps.close();

        store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
        store.write("Kestrel", "Satellite", "Observer", "Oxford");
        store.write("Kestrel", "Satellite", "Latitude", "51.75");
        store.write("Kestrel", "Satellite", "Longitude", "-1.25");
        store.write("Kestrel", "Satellite", "Height", "70");
        store.write("Kestrel", "Satellite", "Locator", "IO91wr");
        store.write("Kestrel", "TimeZone", "Timezone", "UTC");

        main = std::make_unique<frmMain>(false);
        main->resize(1280, 800);
        main->show();
        main->runLoadingSequence();
    }

    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        shared() = SharedState{};
    }

    frmSatStatus *status() const { return WindowRegistry::instance().first<frmSatStatus>(); }

    void shot(const QString &name, QWidget *window = nullptr)
    {
        const QString folder = qEnvironmentVariable("KESTREL_SHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        QTest::qWait(50);
        (window ? window : main.get())->grab().save(folder + u'/' + name + QStringLiteral(".png"));
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    // Mid-afternoon of the day after the sets' epoch (the test zone is UTC).
    FixedClock clock{QDateTime(QDate(2026, 6, 10), QTime(15, 20, 0), Qt::UTC).toLocalTime()};
    QString hostFolder;
    std::unique_ptr<frmMain> main;
};

} // namespace

TEST_F(SatelliteAppTest, FromStartToPlacedObjectsAndTheFourViews)
{
    ASSERT_TRUE(main->loadingDone());
    EXPECT_TRUE(prompts.texts().filter("Keplairan").isEmpty()) << prompts.texts().join('\n').toStdString();
    ASSERT_EQ(keps().lastIndex(), 11);
    frmSatStatus *window = status();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible()) << "loaded hidden";
    ASSERT_NE(shared().host, nullptr);

    // Pick every demo set, tick three for the map, and confirm.
    {
        frmSatSetup dialog(main.get());
        EXPECT_EQ(dialog.lblDate->text(), "09/06/2026");
        dialog.lstSats->selectAll();
        dialog.cmdAdd_Click();
        ASSERT_EQ(dialog.lstSelected->topLevelItemCount(), 12);
        for (int row : {0, 8, 11})
            dialog.lstSelected->topLevelItem(row)->setCheckState(0, Qt::Checked);
        dialog.show();
        shot("satellites-setup", &dialog);
        dialog.cmdOK_Click();
    }
    // DX spots from the demo cluster feed are placed objects too; of the
    // satellites, exactly the three ticked ones are on the map.
    QStringList satellites;
    for (const KepsElementSet &set : keps().sets)
        satellites << set.name;
    QStringList placed;
    for (const QString &name : shared().host->placedObjects())
        if (satellites.contains(name))
            placed << name;
    EXPECT_EQ(placed.size(), 3) << placed.join(',').toStdString();
    EXPECT_TRUE(placed.contains("ISS"));
    EXPECT_TRUE(placed.contains("NOAA-19"));
    EXPECT_TRUE(placed.contains("QO-100"));
    EXPECT_EQ(main->statusText(), "Object Created");
    EXPECT_TRUE(window->updater().tmrSatUpdate().isActive());

    // The status window through its toolbar switch.
    main->tool("ID_SatelliteStatus")->trigger();
    ASSERT_TRUE(window->isVisible());
    auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->showMaximized();
    for (QAction *action : frame->systemMenu()->actions())
        EXPECT_NE(action->text(), "&Close") << "the system menu offers no Close";

    auto *control = qobject_cast<orbiter::OrbiterView *>(window->controlWidget());
    ASSERT_NE(control, nullptr);
    const QAbstractItemModel *table = control->table()->model();
    ASSERT_EQ(table->rowCount(), 12);
    int withPosition = 0;
    for (int row = 0; row < 12; ++row)
        withPosition += !table->index(row, 3).data().toString().isEmpty();
    EXPECT_EQ(withPosition, 12);
    shot("satellites-text-view");

    const QStringList tabs = {"satellites-world-view", "satellites-horizon-view", "satellites-globe-view"};
    for (int tab = 1; tab <= 3; ++tab) {
        // The sky view follows a satellite that is up at the time.
        if (tab == 2)
            control->selectEntry(9);
        window->tabStrip()->setCurrentIndex(tab);
        EXPECT_EQ(control->displayStyle(), tab);
        EXPECT_TRUE(control->canvas()->isVisible());
        shot(tabs[tab - 1]);
    }

    // The toolbar's display switches reach the control and update at once.
    const int objectsBefore = int(shared().host->placedObjects().size());
    EXPECT_TRUE(main->tool("ID_DisplaySun")->isChecked()) << "the switch starts as the view draws";
    EXPECT_TRUE(main->tool("ID_PointsOrLines")->isChecked());
    main->tool("ID_DisplaySun")->trigger();
    EXPECT_FALSE(control->showSun());
    QComboBox *orbits = main->combo("ID_Orbits");
    orbits->setCurrentIndex(2);
    emit orbits->activated(2);
    EXPECT_EQ(control->options().orbits, 3);
    EXPECT_EQ(int(shared().host->placedObjects().size()), objectsBefore);

    // Clear All empties the display, the map and hides the window.
    {
        frmSatSetup dialog(main.get());
        prompts.answers.enqueue(Prompts::Answer::Yes);
        dialog.cmdClear_Click();
    }
    EXPECT_TRUE(shared().host->placedObjects().isEmpty());
    EXPECT_FALSE(main->tool("ID_SatelliteStatus")->isChecked());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(control->satelliteCount(), 0);
}

TEST_F(SatelliteAppTest, ClosingTheFrameOnlyHidesItAndTurnsTheSwitchOff)
{
    frmSatStatus *window = status();
    ASSERT_NE(window, nullptr);
    main->tool("ID_SatelliteStatus")->trigger();
    auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->isVisible());
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(main->tool("ID_SatelliteStatus")->isChecked());
    EXPECT_EQ(status(), window) << "hidden, not destroyed";
    main->tool("ID_SatelliteStatus")->trigger();
    EXPECT_TRUE(frame->isVisible());
}

// The world view's ground tracks are worked out once per element set and
// time window: the once-a-second refresh reuses them, a window that has moved
// on only adds its new end, and new elements or a new spacing start afresh.
TEST_F(SatelliteAppTest, GroundTracksAreReusedUntilTheirWindowMovesOnOrTheElementsChange)
{
    auto confirmEverySet = [this] {
        frmSatSetup dialog(main.get());
        dialog.lstSats->selectAll();
        dialog.cmdAdd_Click();
        dialog.cmdOK_Click();
    };
    confirmEverySet();
    main->tool("ID_SatelliteStatus")->trigger();
    auto *control = qobject_cast<orbiter::OrbiterView *>(status()->controlWidget());
    ASSERT_NE(control, nullptr);
    status()->tabStrip()->setCurrentIndex(1);  // World View
    ASSERT_EQ(control->displayStyle(), 1);
    const orbiter::Tracker &tracker = control->tracker();
    auto trackPoints = [&] {
        std::size_t points = 0;
        for (const orbiter::SceneSatellite &sat : control->scene().satellites)
            points += sat.groundTrack.size();
        return points;
    };
    const std::size_t whole = trackPoints();
    ASSERT_GT(whole, 12u * 200) << "about 240 points an orbit";

    auto refreshFor = [&](int seconds) {
        const auto before = tracker.trackPointsComputed();
        for (int i = 0; i < seconds; ++i) {
            clock.time = clock.time.addSecs(1);
            control->followClock();
        }
        return tracker.trackPointsComputed() - before;
    };
    // Half a minute of refreshes: each track gains a point or two at its
    // end as the window moves on, nothing more.
    EXPECT_LE(refreshFor(30), 12u * 3);
    EXPECT_EQ(trackPoints(), whole) << "and keeps its length";
    // Ten minutes on (a tenth of a low orbit): only the new end.
    clock.time = clock.time.addSecs(599);
    const auto added = refreshFor(1);
    EXPECT_GT(added, 0u);
    EXPECT_LT(added, whole / 4);
    EXPECT_EQ(trackPoints(), whole);

    // New elements (the same sets confirmed again) and a new spacing start
    // every track afresh.
    auto before = tracker.trackPointsComputed();
    confirmEverySet();
    EXPECT_GE(tracker.trackPointsComputed() - before, whole);
    before = tracker.trackPointsComputed();
    QComboBox *interval = main->combo("ID_PlotInterval");
    interval->setCurrentText("60 Seconds");
    emit interval->activated(interval->currentIndex());
    EXPECT_EQ(control->options().plotIntervalSeconds, 60);
    EXPECT_GE(tracker.trackPointsComputed() - before, trackPoints());
}

TEST_F(SatelliteAppTest, LongNamesStayApartAndASetWithoutAPositionStaysOffTheMap)
{
    testorbits::Elements dead = testorbits::kWeather;
    dead.catalogue = 99003;
    dead.revsPerDay = 0;
    testorbits::Elements second = testorbits::kStation;
    second.catalogue = 44714;
    QByteArray text;
    for (const auto &[name, e] : {std::pair{"STARLINK-1007", testorbits::kStation}, std::pair{"STARLINK-1008", second},
                                  std::pair{"DEAD", dead}}) {
        const auto [l1, l2] = testorbits::lines(e);
        text += QByteArray(name) + "\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n";
    }
    QFile keps(dirs.data() + "/Keps/Keps.txt");
    ASSERT_TRUE(keps.open(QIODevice::WriteOnly | QIODevice::Truncate));
    keps.write(text);
    keps.close();

    frmSatSetup dialog(main.get());
    dialog.cmdRefresh_Click();
    ASSERT_EQ(dialog.lstSats->count(), 3);
    dialog.lstSats->selectAll();
    dialog.cmdAdd_Click();
    for (int row = 0; row < 3; ++row)
        dialog.lstSelected->topLevelItem(row)->setCheckState(0, Qt::Checked);
    dialog.cmdOK_Click();

    auto *host = qobject_cast<EmbeddedHost *>(shared().host);
    ASSERT_NE(host, nullptr);
    QStringList placed;
    for (const PlacedObject &object : host->placed()) {
        placed << object.name;
        EXPECT_FALSE(object.latitude == 0 && object.longitude == 0) << object.name.toStdString();
    }
    EXPECT_EQ(placed, QStringList({"STARLIN~7", "STARLIN~8"}));
    EXPECT_EQ(main->statusText(), "DEAD is not on the map: the mean motion is not a positive number");
    shot("satellites-not-on-map");
}
