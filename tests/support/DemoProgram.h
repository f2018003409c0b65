#pragma once

// The real program around a window under test: every subsystem wired as the
// kestrel program wires it, the embedded host on a copy of the demo host
// folder (its feeds off, so nothing plays by itself), the main window through
// its loading sequence. Recorded demo traffic goes in through the host as if
// heard on the air. Link with kestrel_main; the including file needs
// KESTREL_SOURCE_DIR to find the demo folder.
#include "app/DefaultData.h"
#include "app/ProgramWiring.h"
#include "app/frmMain.h"
#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/Utilities.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "host/EmbeddedHost.h"
#include "host/aprs/Tnc2.h"

#include "DemoKeps.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>
#include <memory>

class DemoProgramTest : public ::testing::Test
{
protected:
    static QString demoFolder() { return QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host"); }

    // The frames of the demo traffic, in order, without their time stamps.
    static QStringList demoTraffic()
    {
        QFile file(demoFolder() + QStringLiteral("/DemoTraffic.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList frames;
        for (const QString &raw : QString::fromLatin1(file.readAll()).split(u'\n')) {
            const QString line = raw.trimmed();
            if (!line.isEmpty() && !line.startsWith(u'#'))
                frames << splitTimeStamp(line).text.toString();
        }
        return frames;
    }

    void SetUp() override
    {
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        hostFolder = dirs.data() + QStringLiteral("/DemoHost");
        QDir().mkpath(hostFolder);
        for (const QString &name : QDir(demoFolder()).entryList(QDir::Files))
            QFile::copy(demoFolder() + u'/' + name, hostFolder + u'/' + name);
        QFile ini(hostFolder + QStringLiteral("/KestrelHost.ini"));
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write("[Host]\r\nBeaconInterval=0\r\nLogging=1\r\n");
        ini.close();
        store.values[MemorySettingsStore::id("Kestrel", "Paths", "UIVIEW32")] = hostFolder;
        store.values[MemorySettingsStore::id("Kestrel", "Startup", "Preload")] = QStringLiteral("False");
        qputenv("KESTREL_HOST_HEADLESS", "1");
        // As the program starts: its folders and default files, then its windows.
        CreateDataFolders();
        InstallDefaultDataFiles();
        writeDemoKeps();
        wireProgram();
        main = std::make_unique<frmMain>(false);
        main->resize(1000, 700);
        main->show();
        main->runLoadingSequence();
    }

    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        shared() = SharedState{};
        qunsetenv("KESTREL_HOST_HEADLESS");
    }

    EmbeddedHost *host() const { return qobject_cast<EmbeddedHost *>(main->host()); }

    // Hears the first count frames of the demo traffic; returns how many the host took.
    int play(int count)
    {
        int heard = 0;
        const QStringList frames = demoTraffic();
        for (int i = 0; i < count && i < frames.size(); ++i)
            heard += host()->hearLine(frames[i]) ? 1 : 0;
        return heard;
    }

    QMdiSubWindow *frameOf(QWidget *window) const { return qobject_cast<QMdiSubWindow *>(window->parentWidget()); }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    // Kestrel's own "now"; the host keeps the real time for its logs.
    FixedClock clock{QDateTime(QDate(2026, 7, 1), QTime(12, 0, 30))};
    QString hostFolder;
    std::unique_ptr<frmMain> main;
};
