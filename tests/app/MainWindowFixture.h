#pragma once

#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowInterfaces.h"
#include "core/WindowProviders.h"
#include "core/WindowRegistry.h"
#include "app/frmMain.h"

#include "FakeHost.h"
#include "FakeOrbiter.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// A station list window that records what is asked of it.
class RecordingStationList : public QWidget, public StationListWindow
{
public:
    explicit RecordingStationList(QStringList *log, QString name = QStringLiteral("list"))
        : m_log(log), m_name(std::move(name)) {}
    void RxData(HostStationRecord &cStation, bool bUIAware) override
    {
        *m_log << QStringLiteral("%1.RxData(%2,%3)").arg(m_name, cStation.callsign).arg(bUIAware);
    }
    void PlotDX() override { *m_log << m_name + QStringLiteral(".PlotDX"); }
    void PlotPHGRNGcircles() override { *m_log << m_name + QStringLiteral(".PlotPHGRNGcircles"); }
    void PlotStationPath() override { *m_log << m_name + QStringLiteral(".PlotStationPath"); }
    void SaveStationList() override { *m_log << m_name + QStringLiteral(".Save"); }
    void MergeStationList(const QString &file) override { *m_log << m_name + QStringLiteral(".Merge(") + file + u')'; }
    QString selectedCallsign() const override { return selected; }
    void setListFont(const QString &family) override { *m_log << m_name + QStringLiteral(".Font(") + family + u')'; }
    void setListFontSize(int size) override { *m_log << m_name + QStringLiteral(".FontSize(%1)").arg(size); }
    QString selected;

private:
    QStringList *m_log;
    QString m_name;
};

class RecordingSatellites : public QWidget, public SatelliteWindow
{
public:
    void updateNow() override { orbiterFake.calls << QStringLiteral("update"); }
    OrbiterControl *orbiter() override { return &orbiterFake; }
    FakeOrbiter orbiterFake;
};

class RecordingDx : public QWidget, public DxMonitorWindow
{
public:
    explicit RecordingDx(QStringList *log) : m_log(log) {}
    void AddDxSpot(const QString &spot, const QString &call, const QString &freq, qint16 lat, qint16 lon,
                   qint16 bearing, qint16 distance) override
    {
        *m_log << QStringLiteral("AddDxSpot(%1,%2,%3,%4,%5,%6,%7)").arg(spot, call, freq).arg(lat).arg(lon).arg(bearing).arg(distance);
    }
    void PlotDxOnMap() override { *m_log << QStringLiteral("dx.PlotDxOnMap"); }
    void SaveDxList() override { *m_log << QStringLiteral("dx.Save"); }

private:
    QStringList *m_log;
};

// Fresh program-wide state, scripted ports and a fake host for every test.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config() = Configuration{};
        shared() = SharedState{};
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
        hostFolder = dirs.data() + QStringLiteral("/host");
        QDir().mkpath(hostFolder);
        providers().host = [this](const QString &, QObject *, QString *error) -> HostApplication * {
            if (!hostRunning) {
                *error = QStringLiteral("The host program is not running");
                return nullptr;
            }
            return &host;
        };
        providers().stationList = [this]() -> QWidget * { return mainList = new RecordingStationList(&log, QStringLiteral("main")); };
        providers().satelliteStatus = [this]() -> QWidget * { return satellites = new RecordingSatellites; };
        providers().dxMonitor = [this]() -> QWidget * { return new RecordingDx(&log); };
        // Windows these tests only open, list and close.
        providers().weather = [] { return plainWindow(QStringLiteral("frmWx")); };
        providers().capture = [](int) { return plainWindow(QStringLiteral("frmCapture")); };
        providers().statistics = [](const QString &) { return plainWindow(QStringLiteral("frmStatistics")); };
        providers().terminal = [] { return plainWindow(QStringLiteral("frmIncoming")); };
    }

    static QWidget *plainWindow(const QString &name)
    {
        auto *window = new QWidget;
        window->setObjectName(name);
        return window;
    }

    void TearDown() override
    {
        main.reset();
        providers() = WindowProviders{};
        WindowRegistry::instance().clear();
    }

    // Runs the loading sequence on a new main window.
    frmMain &start()
    {
        main = std::make_unique<frmMain>(false);
        main->show();
        main->runLoadingSequence();
        return *main;
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    FixedClock clock{QDateTime(QDate(2026, 7, 1), QTime(12, 0))};
    FakeHostApplication host;
    bool hostRunning = true;
    QString hostFolder;
    QStringList log;
    RecordingStationList *mainList = nullptr;
    RecordingSatellites *satellites = nullptr;
    std::unique_ptr<frmMain> main;
};
