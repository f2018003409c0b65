#pragma once

#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowRegistry.h"
#include "dx/BandTable.h"
#include "dx/DxTabStrip.h"
#include "dx/frmDx.h"

#include "FakeHost.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QCoreApplication>
#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// A terminal that keeps the event-log lines it is sent.
class RecordingTerminal : public QWidget, public TerminalWindow
{
public:
    void RxData(const QString &) override {}
    void UpdateEventLog(const QString &text, int type, const QString &callsign) override
    {
        events << QStringLiteral("%1|%2|%3").arg(text).arg(type).arg(callsign);
    }
    QStringList events;
};

// A fresh DX window over a fake host, a fixed clock and a host folder that
// holds a small prefix.txt.
class DxWindowTest : public ::testing::Test
{
protected:
    static inline const QString Spot40 =
        QStringLiteral("DX de F5KIG:      7015.0  UA9KXK       CW Siberia                     2000Z");
    static inline const QString Spot20 =
        QStringLiteral("DX de M0KDB:     14025.0  ZS6KXC       CW good signal                 2001Z");

    void SetUp() override
    {
        config() = Configuration{};
        shared() = SharedState{};
        shared().host = &host;
        WindowRegistry::instance().clear();
        WindowRegistry::instance().add(&terminal);
        bandTable().setBands(BandTable::builtIn());
        config().hostFolder = dirs.data() + QStringLiteral("/host");
        writePrefixFile("; test prefixes\r\n"
                        "UA-UI,R:Russia:EU:20:16:3:55.75N:37.62E\r\n"
                        "ZR-ZU:South Africa:AF:57:38:2:29S\r\n"
                        "ZS:Claimed twice:AF:57:38:2:29S:24E\r\n"
                        "G,M:England:EU:27:14:0:52.50N:1.50W\r\n"
                        "EA8:Canary Islands:AF:36:33:0:28.30N:15.80W\r\n");
    }

    void TearDown() override
    {
        dx.reset();
        WindowRegistry::instance().clear();
        shared().host = nullptr;
    }

    void writePrefixFile(const QByteArray &text)
    {
        QDir().mkpath(config().hostFolder);
        QFile file(config().hostFolder + QStringLiteral("/prefix.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // The window as the user has it on screen; hidden when asked.
    frmDx &open(bool shown = true)
    {
        dx = std::make_unique<frmDx>();
        if (shown)
            dx->show();
        return *dx;
    }
    // Lets the window catch up, as it does between two spots.
    static void settle() { QCoreApplication::processEvents(); }

    DxTabStrip &tabs() { return *dx->SSActiveTabs1; }
    int tab(const QString &caption) { return dx->tabIndex(caption); }
    bool tabShown(const QString &caption) { return tabs().isTabVisible(tab(caption)); }
    void add(const QString &spot, const QString &call, const QString &freq, qint16 lat = 55, qint16 lon = 37)
    {
        dx->AddDxSpot(spot, call, freq, lat, lon, 45, 2500);
    }
    QStringList symbolCalls() const { return host.fakeMap.calls.filter(QStringLiteral("symbol(")); }

    TempDirs dirs;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 7, 1), QTime(10, 0, 59))};
    FakeHostApplication host;
    RecordingTerminal terminal;
    std::unique_ptr<frmDx> dx;
};
