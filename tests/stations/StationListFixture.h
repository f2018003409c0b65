#pragma once

#include "core/Configuration.h"
#include "core/SharedState.h"
#include "core/WindowRegistry.h"
#include "stations/frmDocument.h"

#include "FakeHost.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

// Fresh program state, a fake host, scripted prompts and a fixed clock
// (6 December 2026, 12:29) for every station list test.
class StationListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config() = Configuration{};
        config().preload = false;
        shared() = SharedState{};
        shared().host = &host;
        shared().home.latitude = 3084.0;    // 51.40N
        shared().home.longitude = -7.5;     // 000.07.30W
        shared().home.callsign = QStringLiteral("G0HOME");
        WindowRegistry::instance().clear();
        QDir().mkpath(dirs.data() + QStringLiteral("/LogFiles"));
        QDir().mkpath(dirs.data() + QStringLiteral("/Saved Lists"));
    }
    void TearDown() override
    {
        list.reset();
        WindowRegistry::instance().clear();
        shared() = SharedState{};
    }

    frmDocument &makeList()
    {
        list = std::make_unique<frmDocument>();
        return *list;
    }

    // A station the host knows, at a position in minutes.
    HostStationRecord &known(const QString &callsign, float lat = 3090.0f, float lon = -10.0f)
    {
        HostStationRecord record;
        record.callsign = callsign;
        record.latitude = lat;
        record.longitude = lon;
        record.symbolCode = QStringLiteral("-");
        record.symbolTable = QStringLiteral("/");
        record.timeHeard = QStringLiteral("2026-12-06 12:29:00");
        record.header = callsign + QStringLiteral(">APRS,N0GATE*,WIDE2-1 Port=1 <UI C Len=56>:");
        return host.stations[callsign] = record;
    }

    // What the frame intake does: look the station up and hand the record on.
    void hear(const QString &callsign)
    {
        HostStationRecord record;
        record.callsign = callsign;
        const bool found = host.lookUpStation(record);
        list->RxData(record, found);
    }

    QString cell(int row, int column) const { return list->model().cell(row, column); }

    TempDirs dirs;
    FakeHostApplication host;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(12, 29))};
    std::unique_ptr<frmDocument> list;
};
