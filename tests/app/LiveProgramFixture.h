#pragma once

// The program as a user meets it: the real main window with the windows the
// program wires in (station list, terminal, stations monitor, station
// information) on the real embedded host, whose replay feed plays recorded
// traffic from a temporary host folder.

#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "app/DefaultData.h"
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "host/EmbeddedHost.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/feeds/Feed.h"
#include "stations/MapPlotting.h"
#include "stations/frmDocument.h"

#include "../host/HostFolder.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include "DemoKeps.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>
#include <memory>

class LiveProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        dxTarget() = DxTarget{};
        CreateDataFolders();
        InstallDefaultDataFiles();
        writeDemoKeps();
        wireProgram();
        store.write(QStringLiteral("Kestrel"), QStringLiteral("Paths"), QStringLiteral("UIVIEW32"), folder.path());
        // Nothing lets events run while loading, so the replay starts once the link is open.
        store.write(QStringLiteral("Kestrel"), QStringLiteral("Startup"), QStringLiteral("Preload"), QStringLiteral("False"));
    }

    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        shared() = SharedState{};
    }

    // Starts the program on a host whose replay feed plays these TNC2 lines,
    // one every few milliseconds, once. Call play() to let them arrive.
    frmMain &start(const QStringList &traffic)
    {
        folder.write(QStringLiteral("Traffic.txt"), traffic.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
        folder.write(QStringLiteral("KestrelHost.ini"),
                     "[Host]\r\nBeaconInterval=0\r\nLogging=0\r\n"
                     "[Feed1]\r\nType=replay\r\nFile=Traffic.txt\r\nInterval=2\r\nLoop=0\r\n");
        main = std::make_unique<frmMain>(false);
        main->show();
        const qsizetype before = prompts.shown.size();
        main->runLoadingSequence();
        EXPECT_EQ(prompts.texts().mid(before), QStringList()) << "loading shows no message";
        return *main;
    }

    // Lets the replay play to its end (and whatever it set off run).
    void play()
    {
        ASSERT_NE(host(), nullptr);
        const QDeadlineTimer deadline(20000);
        Feed *feed = host()->feeds().value(0);
        ASSERT_NE(feed, nullptr);
        while (feed->stateText() != QLatin1String("Finished") && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        settle();
    }

    // Runs what is queued (the host's redraw events, deferred deletes).
    static void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // Closes the program answering the exit question Yes and the save question No.
    void quit()
    {
        prompts.answers.enqueue(Prompts::Answer::Yes);
        prompts.answers.enqueue(Prompts::Answer::No);
        main->close();
        settle();
        main.reset();
        WindowRegistry::instance().clear();
    }

    // KESTREL_SHOTS=folder keeps pictures of what the tests see there, for people to look at.
    static void keep(const QString &name, const QImage &picture)
    {
        const QString folder = qEnvironmentVariable("KESTREL_SHOTS");
        if (!folder.isEmpty())
            picture.save(folder + u'/' + name);
    }
    static void keepFile(const QString &name, const QString &path)
    {
        const QString folder = qEnvironmentVariable("KESTREL_SHOTS");
        if (!folder.isEmpty()) {
            QFile::remove(folder + u'/' + name);
            QFile::copy(path, folder + u'/' + name);
        }
    }

    EmbeddedHost *host() const { return main ? dynamic_cast<EmbeddedHost *>(main->host()) : nullptr; }
    frmDocument *mainList() const
    {
        return dynamic_cast<frmDocument *>(WindowRegistry::instance().firstTagged(QStringLiteral("Station List")));
    }
    QMdiSubWindow *frameOf(QWidget *window) const { return qobject_cast<QMdiSubWindow *>(window->parentWidget()); }
    void activate(QWidget *window) const { main->mdiArea()->setActiveSubWindow(frameOf(window)); }
    // The row of a callsign in the main list, or -1.
    int rowOf(const QString &callsign) const { return mainList()->model().find(callsign); }
    QString cell(const QString &callsign, int column) const
    {
        const int row = rowOf(callsign);
        return row < 0 ? QString() : mainList()->model().cell(row, column);
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 29))};
    HostFolder folder;
    std::unique_ptr<frmMain> main;
};
