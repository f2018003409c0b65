// Selection, the satellite update and the two satellite windows against a
// recording tracking control and host.
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WindowRegistry.h"
#include "satellites/KepsFile.h"
#include "satellites/MapObjectNames.h"
#include "satellites/SatelliteSelection.h"
#include "satellites/SatelliteUpdater.h"
#include "satellites/frmSatSetup.h"
#include "satellites/frmSatStatus.h"
#include "zones/TimeZones.h"

#include "FakeHost.h"
#include "FakeMainWindow.h"
#include "FakeOrbiter.h"
#include "ProcessZone.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "TestOrbits.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// Remembers the title of every window that is shown.
class ShownTitles : public QObject
{
public:
    ShownTitles() { qApp->installEventFilter(this); }
    ~ShownTitles() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *w = qobject_cast<QWidget *>(watched); w && w->isWindow())
                titles << w->windowTitle();
        return false;
    }
    QStringList titles;
};

KepsElementSet set(const char *name, const testorbits::Elements &e)
{
    const auto [l1, l2] = testorbits::lines(e);
    return {QString::fromLatin1(name), QString::fromStdString(l1), QString::fromStdString(l2)};
}

class SatelliteWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        main.tool(MainTool::SatelliteStatus)->setChecked(true);
        config() = Configuration{};
        shared() = SharedState{};
        shared().host = &host;
        satelliteSelection().clear();
        WindowRegistry::instance().clear();
        timezones() = Timezone{};
        keps() = ElementTable{};
        keps().sets = {set("ISS", testorbits::kStation), set("NOAA 19", testorbits::kWeather),
                       set("MOLNIYA 1-93", testorbits::kMolniya), set("QO-100", testorbits::kGeostationary)};
        status = new frmSatStatus(fake, new QWidget);
        WindowRegistry::instance().add(status);
    }
    void TearDown() override
    {
        delete status;
        WindowRegistry::instance().clear();
        shared() = SharedState{};
    }

    // The control calls after the last one that starts with `from`.
    QStringList callsSince(const QString &from) const
    {
        const qsizetype at = fake.calls.lastIndexOf(from);
        return at < 0 ? QStringList() : fake.calls.mid(at);
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 7, 1), QTime(12, 34, 56))};
    FakeHostApplication host;
    FakeMainWindow main;
    FakeOrbiter fake;
    frmSatStatus *status = nullptr;
};

} // namespace

TEST(SatelliteStatusLine, AboveAndBelowTheHorizon)
{
    const QDateTime eta(QDate(2026, 7, 1), QTime(14, 5));
    EXPECT_EQ(SatelliteUpdater::statusLine("IO91wm", 23, eta), "@ IO91wm Ele = 23 ETA 14:05");
    EXPECT_EQ(SatelliteUpdater::statusLine("IO91wm", 0, eta), "@ IO91wm Ele = 0 ETA 14:05");
    EXPECT_EQ(SatelliteUpdater::statusLine("IO91wm", -4, eta), "@ IO91wm Out of Range, ETA 14:05");
    EXPECT_EQ(SatelliteUpdater::statusLine("", -4, eta), "@  Out of Range, ETA 14:05");
    EXPECT_EQ(SatelliteUpdater::statusLine("IO91wm", -40, QDateTime()), "@ IO91wm Out of Range, ETA --:--");
}

TEST(SatelliteStatusLine, PlacingAnswersHaveTheirTexts)
{
    const QStringList texts = {"Object Created", "Undefined Object Error", "Object Editor Active",
                               "Object Data Format Error", "Object Cannot Find", "Object Not Mine"};
    for (int code = 0; code < texts.size(); ++code)
        EXPECT_EQ(SatelliteUpdater::placeStatusText(code), texts[code]);
    EXPECT_TRUE(SatelliteUpdater::placeStatusText(6).isEmpty());
    EXPECT_TRUE(SatelliteUpdater::placeStatusText(-1).isEmpty());
}

TEST_F(SatelliteWindowsTest, TheStatusWindowStartsOnTheTextViewAndTabsChooseTheStyle)
{
    EXPECT_EQ(status->windowTitle(), "Satellite Status");
    EXPECT_TRUE(fake.calls.contains(QStringLiteral("setFolders(%1,%1)").arg(GetDataFolder())));
    EXPECT_TRUE(fake.calls.contains("setDisplayOn(1)"));
    EXPECT_EQ(fake.style, 0);
    EXPECT_EQ(status->updater().tickCounter(), 999);
    const QStringList tabs = {"Text View", "World View", "Horizon View", "Globe View"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(status->tabStrip()->tabText(i), tabs[i]);

    status->SetupTab("Globe View");
    EXPECT_EQ(fake.style, 3);
    EXPECT_EQ(status->controlWidget()->parentWidget(), status->tabStrip()->widget(3));
    status->tabStrip()->setCurrentIndex(1);
    EXPECT_EQ(fake.style, 1);
    status->SetupTab("Text View");
    EXPECT_EQ(fake.style, 0);
    status->SetupTab("Map View");
    EXPECT_EQ(fake.style, 0) << "another caption changes nothing";
}

TEST_F(SatelliteWindowsTest, SubSetupHandsOverOnlyTheSelectedSetsWithTheLoadingWindow)
{
    SatelliteSelection &s = satelliteSelection();
    s.selected[2] = s.selected[4] = true;
    s.plot[4] = true;
    config().satelliteIcons = false;
    ShownTitles shown;
    status->updater().SubSetupSatellites();
    EXPECT_TRUE(shown.titles.contains("Loading Satellite Details"));
    const QStringList calls = callsSince("setIcons(0)");
    ASSERT_EQ(calls.size(), 7);
    EXPECT_EQ(calls[1], "addSatelliteEntry");
    EXPECT_EQ(calls[2], "setCurrentEntry(1)");
    EXPECT_TRUE(calls[3].startsWith("loadElementSet(NOAA 19,1 33591U")) << calls[3].toStdString();
    EXPECT_TRUE(calls[3].endsWith(",1,0)"));
    EXPECT_EQ(calls[5], "setCurrentEntry(2)");
    EXPECT_TRUE(calls[6].startsWith("loadElementSet(QO-100,"));
    EXPECT_FALSE(status->updater().slot(1).plot);
    EXPECT_TRUE(status->updater().slot(2).plot);
    EXPECT_TRUE(status->updater().tmrSatUpdate().isActive());
    EXPECT_EQ(status->updater().tmrSatUpdate().interval(), 60000);
}

TEST_F(SatelliteWindowsTest, TheUpdateWaitsForTheIntervalUnlessForced)
{
    config().satelliteInterval = 5;
    SatelliteUpdater &u = status->updater();
    u.tick();  // the counter starts at 999: the first tick updates
    const int afterFirst = int(fake.calls.count("computePosition"));
    EXPECT_EQ(afterFirst, 1);
    for (int i = 0; i < 4; ++i)
        u.tick();
    EXPECT_EQ(fake.calls.count("computePosition"), 1) << "minutes 2 to 5 leave the map alone";
    u.tick();
    EXPECT_EQ(fake.calls.count("computePosition"), 2);
    u.tick();
    u.updateNow();
    EXPECT_EQ(fake.calls.count("computePosition"), 3);
    EXPECT_EQ(u.tickCounter(), 0);
}

TEST_F(SatelliteWindowsTest, TheUpdateSetsTheConfiguredZonesTimeOnEveryEntryThenComputes)
{
    ProcessZone computer("Asia/Tokyo");
    ASSERT_TRUE(timezones().LoadTimeZones(Timezone::timeZonesKey(), 2026));
    ASSERT_TRUE(timezones().selectCurrent("America/New_York"));
    fake.count = 2;
    // Both halves of the hour New York lives twice: the clock reads the same,
    // the daylight flag tells the control which of the two it is.
    const struct
    {
        QDateTime utc;
        const char *daylight;
    } halves[] = {{QDateTime(QDate(2026, 11, 1), QTime(5, 30), Qt::UTC), "setDaylight(1)|setDaylightOffset(-1)"},
                  {QDateTime(QDate(2026, 11, 1), QTime(6, 30), Qt::UTC), "setDaylight(0)|setDaylightOffset(0)"}};
    for (const auto &half : halves) {
        clock.time = half.utc.toLocalTime();
        fake.calls.clear();
        status->updater().updateNow();
        EXPECT_EQ(fake.calls.mid(0, 2).join('|'), half.daylight);
        const QStringList calls = callsSince("setCurrentEntry(-1)");
        ASSERT_GE(calls.size(), 10);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(calls[2 * k], QStringLiteral("setCurrentEntry(%1)").arg(k - 1));
            EXPECT_EQ(calls[2 * k + 1], "setComputationTime(20,2026,11,1,1,30,0)");
        }
        EXPECT_EQ(calls[8], "computePosition");
        EXPECT_EQ(calls[9], "computePass");
    }
    EXPECT_TRUE(host.calls.contains("refreshMap"));
}

TEST_F(SatelliteWindowsTest, OnlyTickedSatellitesArePlacedAndLongitudesWrap)
{
    SatelliteSelection &s = satelliteSelection();
    s.selected[1] = s.selected[2] = s.selected[3] = true;
    s.plot[2] = true;
    status->updater().SubSetupSatellites();
    fake.count = 3;
    config().locator = "IO91wm";
    const QDateTime eta(QDate(2026, 7, 1), QTime(13, 2));
    fake.answers[1] = {10, 50, 12, eta, "ISS", 4500, {}};
    fake.answers[2] = {350, -20.5f, -7, eta, "NOAA 19 (OBJECT)", 5900.7f, {}};
    fake.answers[3] = {200, 60, 30, eta, "MOLNIYA 1-93", 17000, {}};
    host.placeAnswer = 0;
    status->updater().updateNow();

    ASSERT_EQ(host.placedLog.size(), 1) << host.calls.join('\n').toStdString();
    const PlacedObject &o = host.placedLog[0];
    EXPECT_EQ(o.name, "NOAA 19") << "named after its set, not the control's longer name";
    EXPECT_DOUBLE_EQ(o.latitude, -20.5);
    EXPECT_DOUBLE_EQ(o.longitude, -10.0) << "350 east is placed as 10 west";
    EXPECT_EQ(o.comment, "@ IO91wm Out of Range, ETA 13:02");
    EXPECT_EQ(o.firstAttribute, 0);
    EXPECT_EQ(o.symbolCode, "S");
    EXPECT_EQ(o.symbolTable, "\\");
    EXPECT_EQ(o.secondAttribute, 5900);
    EXPECT_EQ(o.thirdAttribute, 999);
    EXPECT_EQ(main.statusText(), "Object Created");
    EXPECT_FLOAT_EQ(status->updater().slot(3).longitude, -160.0f);
    EXPECT_FLOAT_EQ(status->updater().slot(2).latitude, -20.5f);

    main.setStatusText("Ready...");
    host.placeAnswer = 9;
    status->updater().updateNow();
    EXPECT_EQ(main.statusText(), "Ready...") << "an answer without a text leaves the panel";
    host.placeAnswer = 5;
    status->updater().updateNow();
    EXPECT_EQ(main.statusText(), "Object Not Mine");
}

TEST_F(SatelliteWindowsTest, ASatelliteWithoutAPositionLeavesTheMapAndTheStatusSaysWhy)
{
    SatelliteSelection &s = satelliteSelection();
    s.selected[1] = s.selected[2] = s.selected[4] = true;
    s.plot[1] = s.plot[2] = s.plot[4] = true;
    status->updater().SubSetupSatellites();
    fake.count = 3;
    fake.answers[1] = {10, 50, 12, {}, "ISS", 4500, {}};
    fake.answers[2] = {20, 30, -5, {}, "NOAA 19", 5000, {}};
    // Refused from the start: never placed.
    fake.answers[3] = {0, 0, -90, {}, "QO-100", 0, "mean motion below zero"};
    status->updater().updateNow();
    EXPECT_EQ(host.objects, QStringList({"ISS", "NOAA 19"}));
    EXPECT_EQ(main.statusText(), "QO-100 is not on the map: mean motion below zero");

    // Decayed since: taken off the map; the others stay.
    fake.answers[1].problem = "satellite has decayed";
    host.calls.clear();
    status->updater().updateNow();
    EXPECT_TRUE(host.calls.contains("removeObject(ISS)")) << host.calls.join(' ').toStdString();
    EXPECT_EQ(host.objects, QStringList({"NOAA 19"}));
    EXPECT_EQ(main.statusText(), "ISS is not on the map: satellite has decayed (and 1 more)");

    // Back with a position (fresh elements): placed again.
    fake.answers[1].problem.clear();
    fake.answers[3].problem.clear();
    status->updater().updateNow();
    EXPECT_EQ(host.objects.size(), 3);
    EXPECT_EQ(main.statusText(), "Object Created");
}

TEST_F(SatelliteWindowsTest, PlacedNamesStayApartWithinNineCharacters)
{
    keps().sets = {set("STARLINK-1007", testorbits::kStation), set("STARLINK-1008", testorbits::kWeather),
                   set("ISS", testorbits::kGeostationary)};
    SatelliteSelection &s = satelliteSelection();
    s.selected[1] = s.selected[2] = true;
    s.plot[1] = s.plot[2] = true;
    status->updater().SubSetupSatellites();
    fake.count = 2;
    fake.answers[1] = {10, 50, 12, {}, "STARLINK-1007", 4500, {}};
    fake.answers[2] = {20, 30, 12, {}, "STARLINK-1008", 4500, {}};
    status->updater().updateNow();
    EXPECT_EQ(host.objects, QStringList({"STARLIN~7", "STARLIN~8"}));

    // The name goes with the set, not with what else is selected.
    s.clear();
    s.selected[2] = s.plot[2] = true;
    host.objects.clear();
    status->updater().SubSetupSatellites();
    fake.count = 1;
    fake.answers[1] = fake.answers[2];
    status->updater().updateNow();
    EXPECT_EQ(host.objects, QStringList({"STARLIN~8"}));
}

TEST(MapObjectNames, UniqueWithinNineCharactersAndFromTheNamesAlone)
{
    const struct
    {
        QStringList sets;
        QStringList objects;
    } cases[] = {
        {{"ISS", "NOAA 19", " AO-07 "}, {"ISS", "NOAA 19", "AO-07"}},
        {{"NOAA 19 (OBJECT)", "MOLNIYA 1-93"}, {"NOAA 19 (", "MOLNIYA 1"}},
        {{"STARLINK-1007", "STARLINK-1008", "ISS"}, {"STARLIN~7", "STARLIN~8", "ISS"}},
        {{"STARLINK-1007", "STARLINK-2007", "STARLINK-1017"}, {"STAR~1007", "STAR~2007", "STAR~1017"}},
        {{"STARLINK-", "STARLINK-1007"}, {"STARLINK-", "STARLIN~7"}},
        {{"ISS", "ISS", "ISS"}, {"ISS", "ISS~2", "ISS~3"}},
        {{"SAME NAME LONG", "SAME NAME LONG"}, {"SAME NAME", "SAME NA~2"}},
        {{"STARLIN~7", "STARLINK-1007", "STARLINK-1008"}, {"STARLIN~7", "STARLIN~2", "STARLIN~8"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(mapObjectNames(c.sets), c.objects) << c.sets.join('|').toStdString();
}

TEST_F(SatelliteWindowsTest, SetupListsTheTableAndTheSelection)
{
    satelliteSelection().selected[3] = true;
    satelliteSelection().plot[3] = true;
    frmSatSetup dialog;
    EXPECT_EQ(dialog.windowTitle(), "Satellite Setup");
    ASSERT_EQ(dialog.lstSats->count(), 4);
    EXPECT_EQ(dialog.lstSats->item(1)->text(), "NOAA 19");
    ASSERT_EQ(dialog.lstSelected->topLevelItemCount(), 1);
    QTreeWidgetItem *item = dialog.lstSelected->topLevelItem(0);
    EXPECT_EQ(item->text(0), "MOLNIYA 1-93");
    EXPECT_EQ(item->checkState(0), Qt::Checked);
    EXPECT_EQ(item->data(0, Qt::UserRole).toInt(), 2);
    EXPECT_EQ(dialog.lblDate->text(), "09/06/2026");
    EXPECT_FALSE(dialog.lblAvailable->isVisibleTo(&dialog));
}

TEST_F(SatelliteWindowsTest, AddRemoveAndRemoveAll)
{
    frmSatSetup dialog;
    dialog.lstSats->item(0)->setSelected(true);
    dialog.lstSats->item(3)->setSelected(true);
    dialog.cmdAdd_Click();
    dialog.cmdAdd_Click();
    ASSERT_EQ(dialog.lstSelected->topLevelItemCount(), 2) << "a name already listed is not added again";
    EXPECT_EQ(dialog.lstSelected->topLevelItem(1)->text(0), "QO-100");
    EXPECT_EQ(dialog.lstSelected->topLevelItem(1)->data(0, Qt::UserRole).toInt(), 3);
    EXPECT_EQ(dialog.lstSelected->topLevelItem(1)->checkState(0), Qt::Unchecked);

    dialog.lstSelected->setCurrentItem(dialog.lstSelected->topLevelItem(0));
    dialog.cmdRemove_Click();
    ASSERT_EQ(dialog.lstSelected->topLevelItemCount(), 1);
    EXPECT_EQ(dialog.lstSelected->topLevelItem(0)->text(0), "QO-100");
    dialog.cmdRemoveAll_Click();
    EXPECT_EQ(dialog.lstSelected->topLevelItemCount(), 0);
    dialog.cmdRemove_Click();  // nothing highlighted: nothing happens
}

TEST_F(SatelliteWindowsTest, OkReplacesTheSelectionAndUpdatesAtOnce)
{
    host.objects = {"OLDSAT", "OTHER"};
    frmSatSetup dialog;
    for (int row : {0, 1, 2})
        dialog.lstSats->item(row)->setSelected(true);
    dialog.cmdAdd_Click();
    dialog.lstSelected->topLevelItem(1)->setCheckState(0, Qt::Checked);
    fake.calls.clear();
    host.calls.clear();
    dialog.cmdOK_Click();

    const SatelliteSelection &s = satelliteSelection();
    EXPECT_TRUE(s.selected[1] && s.selected[2] && s.selected[3]);
    EXPECT_FALSE(s.selected[4]);
    EXPECT_FALSE(s.plot[1]);
    EXPECT_TRUE(s.plot[2]);
    EXPECT_EQ(fake.calls.first(), "removeAllSatellites");
    EXPECT_EQ(fake.calls.count("addSatelliteEntry"), 3);
    EXPECT_EQ(fake.calls.count("computePosition"), 1) << "the update ran at once";
    EXPECT_FALSE(host.objects.contains("OLDSAT") || host.objects.contains("OTHER"));
    const qsizetype firstRefresh = host.calls.indexOf("refreshMap");
    ASSERT_GE(firstRefresh, 0);
    EXPECT_GT(firstRefresh, host.calls.lastIndexOf(QRegularExpression("^removeObject.*"))) << "removed, then refreshed";
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SatelliteWindowsTest, CancelChangesNothing)
{
    satelliteSelection().selected[1] = true;
    frmSatSetup dialog;
    dialog.cmdRemoveAll_Click();
    fake.calls.clear();
    dialog.findChild<QPushButton *>("cmdCancel")->click();
    EXPECT_TRUE(satelliteSelection().selected[1]);
    EXPECT_TRUE(fake.calls.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(SatelliteWindowsTest, ClearAllAsksFirstThenEmptiesEverything)
{
    satelliteSelection().selected[1] = satelliteSelection().selected[2] = true;
    host.objects = {"ISS"};
    frmSatSetup dialog;
    prompts.answers.enqueue(Prompts::Answer::No);
    dialog.cmdClear_Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "This will remove all of the selected satellites from the display. Are you sure "
                                     "that you wish to do this.");
    EXPECT_EQ(prompts.shown[0].title, "Clear Satellite Display");
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Question);
    EXPECT_TRUE(satelliteSelection().selected[1]);
    EXPECT_EQ(dialog.lstSelected->topLevelItemCount(), 2);

    prompts.answers.enqueue(Prompts::Answer::Yes);
    fake.calls.clear();
    host.calls.clear();
    dialog.cmdClear_Click();
    EXPECT_FALSE(satelliteSelection().selected[1] || satelliteSelection().selected[2]);
    EXPECT_EQ(dialog.lstSelected->topLevelItemCount(), 0);
    EXPECT_EQ(fake.calls.first(), "removeAllSatellites");
    EXPECT_EQ(fake.calls.count("computePosition"), 1);
    EXPECT_FALSE(main.tool(MainTool::SatelliteStatus)->isChecked());
    EXPECT_EQ(main.triggered.count("ID_SatelliteStatus"), 1);
    EXPECT_TRUE(host.objects.isEmpty());
    // The update's own refresh comes before the objects go; none after them.
    EXPECT_LT(host.calls.lastIndexOf("refreshMap"), host.calls.indexOf(QRegularExpression("^removeObject.*")))
        << host.calls.join(" ").toStdString();
}

TEST_F(SatelliteWindowsTest, RefreshKepsReadsTheFileAgainAndListedSetsFollowTheirNames)
{
    satelliteSelection().selected[2] = true;  // NOAA 19
    frmSatSetup dialog;
    dialog.lstSats->item(3)->setSelected(true);
    dialog.cmdAdd_Click();  // QO-100, not yet confirmed
    // The file now holds QO-100 first and no longer has NOAA 19.
    QDir().mkpath(dirs.data() + "/Keps");
    QFile file(dirs.data() + "/Keps/Keps.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const KepsElementSet &s : {set("QO-100", testorbits::kGeostationary), set("ISS", testorbits::kStation)})
        file.write((s.name + "\r\n" + s.line1 + "\r\n" + s.line2 + "\r\n").toLatin1());
    file.close();
    dialog.cmdRefresh_Click();

    ASSERT_EQ(dialog.lstSats->count(), 2);
    ASSERT_EQ(dialog.lstSelected->topLevelItemCount(), 1) << "NOAA 19 left the file";
    EXPECT_EQ(dialog.lstSelected->topLevelItem(0)->text(0), "QO-100");
    EXPECT_EQ(dialog.lstSelected->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 0);
}

TEST_F(SatelliteWindowsTest, AFullFileSaysHowManySetsWereLeftOut)
{
    keps().beyondCapacity = 9;
    keps().fileName = "Keps.txt";
    frmSatSetup dialog;
    EXPECT_TRUE(dialog.lblAvailable->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.lblAvailable->text(), "The first 4 of the 13 element sets in Keps.txt.");
}
