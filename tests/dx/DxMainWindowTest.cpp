// The DX window inside the real main window, attached to the embedded host
// playing the demo's DX cluster spots. Set KESTREL_DX_SHOTS=folder to keep
// pictures of what the user sees.
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "dx/BandTable.h"
#include "dx/DxRows.h"
#include "dx/DxTabStrip.h"
#include "core/LoadingDialog.h"
#include "dx/frmDx.h"
#include "host/EmbeddedHost.h"
#include "host/map/EmbeddedHostMap.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QCoreApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QTreeView>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString DemoFolder = QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host");

void saveShot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("KESTREL_DX_SHOTS");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents();  // the layout catches up, as on screen
    widget->grab().save(folder + u'/' + name);
}

class DxOnDemoHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KESTREL_HOST_HEADLESS", "1");
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        bandTable().setBands(BandTable::builtIn());
        wireProgram();

        // The demo host folder, its spots played an hour a second.
        hostFolder = dirs.data() + QStringLiteral("/DemoHost");
        QDir().mkpath(hostFolder);
        for (const QString &name : QDir(DemoFolder).entryList(QDir::Files))
            QFile::copy(DemoFolder + u'/' + name, hostFolder + u'/' + name);
        QFile ini(hostFolder + QStringLiteral("/KestrelHost.ini"));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        QString text = QString::fromLatin1(ini.readAll());
        ini.close();
        const qsizetype feed2 = text.indexOf(QStringLiteral("[Feed2]"));
        ASSERT_GT(feed2, 0);
        text.replace(text.indexOf(QStringLiteral("Speed=1"), feed2), 7, QStringLiteral("Speed=3600"));
        QFile::remove(ini.fileName());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(text.toLatin1());
        ini.close();

        store.write("Kestrel", "Paths", "UIVIEW32", hostFolder);
        store.write("Kestrel", "DXSpots", "Notify", "True");
        store.write("Kestrel", "DXSpots", "AllCalls", "True");
    }

    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
    }

    frmDx *start()
    {
        main = std::make_unique<frmMain>(false);
        main->resize(1100, 720);
        main->show();
        main->runLoadingSequence();
        return qobject_cast<frmDx *>(main->dxMonitor());
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    QString hostFolder;
    std::unique_ptr<frmMain> main;
};

TEST_F(DxOnDemoHost, TheSpotFeedFillsTheBandTabsTheNotifiedListAndTheHostMap)
{
    frmDx *dx = start();
    ASSERT_NE(dx, nullptr) << "the DX monitor is the real window";
    EXPECT_EQ(WindowRegistry::tagOf(dx), "DX Monitor");
    EXPECT_TRUE(dx->chkAllowSpotNotification->isChecked());
    EXPECT_GT(dx->lstMonitor->model()->rowCount(), 150) << "the demo's prefix.txt";

    ASSERT_TRUE(QTest::qWaitFor([&] { return dx->monitor().spots().count() >= 40; }, 20000))
        << dx->monitor().spots().count() << " spots";

    main->tool("ID_DXClusterDisplay")->trigger();
    EXPECT_EQ(dx->txtNumSpots->text().toInt(), dx->monitor().spots().count()) << "brought up to date when shown";
    DxTabStrip *tabs = dx->SSActiveTabs1;
    QStringList shown;
    for (int i = 2; i < tabs->count(); ++i)
        if (tabs->isTabVisible(i))
            shown << tabs->tabText(i);
    for (const char *band : {"160M", "80M", "40M", "30M", "20M", "17M", "15M", "12M", "10M", "6M", "2M"})
        EXPECT_TRUE(shown.contains(band)) << band << " not in " << shown.join(',').toStdString();
    EXPECT_FALSE(shown.contains("4M"));
    EXPECT_FALSE(shown.contains("70cms"));

    // Every spotted station stands on the host's map by its callsign.
    auto *host = qobject_cast<EmbeddedHost *>(shared().host);
    ASSERT_NE(host, nullptr);
    const auto &symbols = host->hostMap()->namedSymbols();
    for (const DxStations &spot : dx->monitor().spots().records()) {
        ASSERT_TRUE(symbols.contains(spot.Callsign)) << spot.Callsign.toStdString();
        EXPECT_DOUBLE_EQ(symbols[spot.Callsign].latitude, spot.Latitude);
        EXPECT_NE(spot.Distance, 0) << "the host reports where the station is";
    }

    saveShot(main.get(), "dx-settings.png");
    tabs->setCurrentIndex(dx->tabIndex("40M"));
    const QString rows = dx->txtSpots->toPlainText();
    const int on40 = dx->monitor().spots().countInBand("40M");
    EXPECT_EQ(rows.count(u'\n'), on40 + 1);
    EXPECT_EQ(dx->windowTitle(), QStringLiteral("DX List (40M - %1 Stations)").arg(on40));
    EXPECT_TRUE(rows.contains("UA9KXK       F5KIG        7015.0")) << rows.toStdString();
    EXPECT_EQ(dx->tabMark(dx->tabIndex("40M")), 0);
    saveShot(main.get(), "dx-40m.png");

    tabs->setCurrentIndex(dx->tabIndex("Notified DX"));
    const QStringList notified = dx->txtSpottedDX->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    EXPECT_GT(notified.size(), 40) << "every country is ticked";
    EXPECT_TRUE(notified.first().startsWith("Callsign From"));
    saveShot(main.get(), "dx-notified.png");

    // Save through the main window's command while the DX window is active.
    tabs->setCurrentIndex(dx->tabIndex("20M"));
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(dx->parentWidget()));
    prompts.fileAnswers.enqueue(dirs.data() + "/demo.ked");
    main->tool("ID_Save")->trigger();
    QFile saved(dirs.data() + "/demo.ked");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    EXPECT_GE(lines.size() - 1, 40);
    EXPECT_EQ(lines.first().count('|'), 11);

    prompts.answers.enqueue(Prompts::Answer::Yes);  // exit
    prompts.answers.enqueue(Prompts::Answer::No);   // without saving the station list
    main->close();
    EXPECT_TRUE(QFile::exists(BandTable::defaultPath())) << "the band table is written when the window unloads";
}

TEST_F(DxOnDemoHost, TheWindowListNamesItWhateverItsCaptionAndItCannotBeClosed)
{
    frmDx *dx = start();
    ASSERT_NE(dx, nullptr);
    main->tool("ID_DXClusterDisplay")->trigger();
    QAction *entry = nullptr;
    for (QAction *action : main->windowMenu()->actions())
        if (action->objectName() == "DX Stations Monitor")
            entry = action;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(dx->windowTitle(), "DX List");

    main->tool("ID_Inbound")->trigger();  // another window comes to the front
    EXPECT_NE(main->activeChild(), dx);
    EXPECT_FALSE(entry->isChecked());
    entry->trigger();
    EXPECT_EQ(main->activeChild(), dx) << "its entry brings it back";
    EXPECT_TRUE(entry->isChecked()) << "and ticks it, caption or not";

    auto *frame = qobject_cast<QMdiSubWindow *>(dx->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowCloseButtonHint);
    for (QAction *action : frame->systemMenu()->actions()) {
        if (action->shortcut() == QKeySequence(QKeySequence::Close)) {
            EXPECT_FALSE(action->isVisible() || action->isEnabled());
        }
    }
    EXPECT_TRUE(frame->isVisible());
}


// The prefix load's progress window is modal while it runs. However the load
// ends (done, Cancel, Esc), the window goes and nothing modal stays behind,
// and loading again and again does not pile windows up.
TEST_F(DxOnDemoHost, ThePrefixLoadWindowGoesWhenTheLoadEndsOrIsCancelled)
{
    frmDx *dx = start();
    ASSERT_NE(dx, nullptr);
    auto loadingWindows = [](bool visibleOnly) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int count = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (qobject_cast<LoadingDialog *>(window) && (!visibleOnly || window->isVisible()))
                ++count;
        return count;
    };
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the load at start";
    EXPECT_EQ(loadingWindows(false), 0);

    enum class End { Done, CancelButton, Escape };
    const struct
    {
        End end;
        bool notifying;
    } cases[] = {{End::Done, true}, {End::CancelButton, false}, {End::Escape, false}, {End::Done, true},
                 {End::Done, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.end));
        dx->chkAllowSpotNotification->setChecked(false);
        bool sawModal = false;
        QTimer::singleShot(0, [&] {
            auto *loading = qobject_cast<LoadingDialog *>(QApplication::activeModalWidget());
            sawModal = loading && loading->windowTitle() == "Loading DX Prefix Details";
            if (!loading)
                return;
            if (c.end == End::CancelButton)
                loading->cancelButton()->click();
            else if (c.end == End::Escape)
                QTest::keyClick(loading, Qt::Key_Escape);
        });
        dx->chkAllowSpotNotification->setChecked(true);
        EXPECT_TRUE(sawModal);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(loadingWindows(true), 0);
        EXPECT_EQ(loadingWindows(false), 0);
        EXPECT_EQ(dx->chkAllowSpotNotification->isChecked(), c.notifying);
        EXPECT_EQ(dx->monitor().prefixIndex().size() > 0, c.notifying);
    }
}


// A re-spot that moves a station to another band takes it off the band tab
// being looked at, at once. (Bands the demo's spots never reach, so that no
// other spot refreshes the tab.)
TEST_F(DxOnDemoHost, AReSpotOnAnotherBandRefreshesTheShownTab)
{
    frmDx *dx = start();
    ASSERT_NE(dx, nullptr);
    main->tool("ID_DXClusterDisplay")->trigger();
    auto *host = qobject_cast<EmbeddedHost *>(shared().host);
    ASSERT_NE(host, nullptr);
    auto shown = [&](const char *band) {
        QCoreApplication::processEvents();
        return dx->SSActiveTabs1->currentIndex() == dx->tabIndex(band)
               && dx->txtSpots->toPlainText().contains("ZS6QQQ");
    };
    ASSERT_TRUE(host->hearSpot("DX de Q1XYZ:     70200.0  ZS6QQQ       CW                             1200Z"));
    dx->SSActiveTabs1->setCurrentIndex(dx->tabIndex("4M"));
    ASSERT_TRUE(shown("4M"));

    ASSERT_TRUE(host->hearSpot("DX de Q1XYZ:    432100.0  ZS6QQQ       CW                             1201Z"));
    EXPECT_FALSE(shown("4M")) << "the 4M tab no longer lists it";
    EXPECT_EQ(dx->windowTitle(), "DX List (4M - 0 Station)");
    dx->SSActiveTabs1->setCurrentIndex(dx->tabIndex("70cms"));
    EXPECT_TRUE(shown("70cms"));

    // And back, while 70cms is on screen.
    ASSERT_TRUE(host->hearSpot("DX de Q1XYZ:     70300.0  ZS6QQQ       CW                             1202Z"));
    EXPECT_FALSE(shown("70cms"));
}

TEST_F(DxOnDemoHost, AtSmallHeightsTheSettingsKeepApartAndThePrefixListGivesWay)
{
    frmDx *dx = start();
    ASSERT_NE(dx, nullptr);
    main->tool("ID_DXClusterDisplay")->trigger();
    auto *frame = qobject_cast<QMdiSubWindow *>(dx->parentWidget());
    ASSERT_NE(frame, nullptr);
    const QList<QWidget *> controls{dx->chkAllowSpotNotification, dx->chkIndicate, dx->chkPlot, dx->txtExpire,
                                    dx->txtNumSpots};
    for (int height : {160, 240, 600}) {
        frame->resize(620, height);
        QCoreApplication::processEvents();
        saveShot(frame, QStringLiteral("settings-%1.png").arg(height));
        const QRect box(dx->frmSettings->mapTo(dx, QPoint(0, 0)), dx->frmSettings->size());
        EXPECT_LE(dx->frmSettings->y(), 8) << height << ": the settings stay at the top of their page";
        for (int i = 0; i < controls.size(); ++i) {
            const QRect one(controls[i]->mapTo(dx, QPoint(0, 0)), controls[i]->size());
            EXPECT_GE(one.height(), controls[i]->minimumSizeHint().height()) << height << " " << i;
            EXPECT_TRUE(box.contains(one)) << height << " " << i;
            for (int j = 0; j < i; ++j)
                EXPECT_FALSE(one.intersects(QRect(controls[j]->mapTo(dx, QPoint(0, 0)), controls[j]->size())))
                    << height << ": " << i << " over " << j;
        }
        if (dx->lstMonitor->isVisible()) {
            EXPECT_GE(dx->lstMonitor->mapTo(dx, QPoint(0, 0)).y(), box.bottom()) << height;
        }
    }
}

// The demo host reports spot distances in miles; Kestrel shows every
// distance in the unit of its own options, and a new unit converts what is
// listed already, the notified lines included.
TEST_F(DxOnDemoHost, SpotDistancesAreInTheOptionsUnitWhateverTheHostReports)
{
    store.write("Kestrel", "Distance", "Miles", "False");
    frmDx *dx = start();
    ASSERT_NE(dx, nullptr);
    auto *host = qobject_cast<EmbeddedHost *>(shared().host);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(host->spotDistancesInMiles()) << "the demo host's own setting";
    qint16 reported = 0;
    QObject::connect(host, &HostApplication::NotifyDXSpot, dx,
                     [&](const QString &, const QString &callsign, const QString &, qint16, qint16, qint16,
                         qint16 distance) {
                         // The demo's own spots arrive too while events run.
                         if (callsign == QLatin1String("VK2QQQ"))
                             reported = distance;
                     });
    ASSERT_TRUE(host->hearSpot("DX de Q1XYZ:     14025.0  VK2QQQ       CW                             1200Z"));
    ASSERT_GT(reported, 1000);
    const DxStations *spot = dx->monitor().spots().find("VK2QQQ", "Q1XYZ");
    ASSERT_NE(spot, nullptr);
    EXPECT_NEAR(spot->Distance, reported * 1.609344, 1) << "miles from the host, kilometres shown";

    main->tool("ID_DXClusterDisplay")->trigger();
    dx->SSActiveTabs1->setCurrentIndex(dx->tabIndex("20M"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dx->txtHeading->toPlainText(), DxRows::bandHeading() + "\n" + DxRows::bandUnits(false));
    EXPECT_TRUE(DxRows::bandUnits(false).endsWith("kHz     km"));
    const QString notifiedKm = dx->notifiedText();
    EXPECT_TRUE(notifiedKm.startsWith(DxRows::notifiedHeading() + "\n" + DxRows::notifiedUnits(false) + "\n"));

    config().miles = true;
    dx->unitsChanged();
    QCoreApplication::processEvents();
    spot = dx->monitor().spots().find("VK2QQQ", "Q1XYZ");  // the records were rewritten
    ASSERT_NE(spot, nullptr);
    EXPECT_NEAR(spot->Distance, reported, 1);
    EXPECT_TRUE(dx->txtHeading->toPlainText().endsWith("kHz     mi"));
    EXPECT_TRUE(dx->txtSpots->toPlainText().contains(QString::number(spot->Distance)));
    const QString notifiedMiles = dx->notifiedText();
    EXPECT_TRUE(notifiedMiles.contains(DxRows::notifiedUnits(true)));
    if (notifiedKm.contains("VK2QQQ")) {
        EXPECT_NE(notifiedMiles, notifiedKm) << "the notified line follows too";
    }
}

} // namespace
