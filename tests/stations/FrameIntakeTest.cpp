#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include <memory>

#include "FakeHost.h"
#include "IntakeDoubles.h"
#include "QtPrinters.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "core/Configuration.h"
#include "core/WindowRegistry.h"
#include "stations/EmergencyAlerts.h"
#include "stations/FrameIntake.h"
#include "stations/frmEmergency.h"

#include <QListWidget>
#include <QPushButton>
#include "stations/WeatherStorePort.h"

namespace {

// "291229z" heard on 7 December: 29 November, 12:29 UTC, in the zone of the clock.
QString sample1Filed()
{
    const QDateTime sent = QDateTime(QDate(2026, 11, 29), QTime(12, 29), QTimeZone::utc()).toLocalTime();
    return QDateTime(sent.date(), sent.time()).toString(Qt::ISODate);
}

const QString kSample1 = QStringLiteral(
    "1N0CALL>APZ031,CLRMRE*,WIDE3-2:\r\n"
    "@291229z3614.79N/09549.68W_91/000g000t056r000P000p000h81b10186zU2k\r\n");

class FrameIntakeTest : public ::testing::Test
{
protected:
    FrameIntakeTest()
        : clock(QDateTime(QDate(2026, 12, 7), QTime(20, 0))), terminal(log), store(log),
          intake(host)
    {
        WindowRegistry::instance().clear();
        intake.setTerminal(&terminal);
        intake.setWeatherStore(&store);
        intake.setIndicator([this](bool on) {
            indicatorOn = on;
            log << (on ? "indicator(on)" : "indicator(off)");
        });
        HostStationRecord known;
        known.callsign = "N0CALL";
        known.status = "host";
        host.stations.insert(known.callsign, known);
    }
    ~FrameIntakeTest() override
    {
        WindowRegistry::instance().clear();
        config().debugLogging = false;
    }

    LoggingStationList *addList(const QString &name, const QString &tag)
    {
        windows.push_back(std::make_unique<LoggingStationList>(log, name));
        auto *list = static_cast<LoggingStationList *>(windows.back().get());
        WindowRegistry::instance().add(list, tag);
        return list;
    }
    void addStatistics(const QString &name, const QString &tag)
    {
        windows.push_back(std::make_unique<LoggingStatistics>(log, name));
        WindowRegistry::instance().add(windows.back().get(), tag);
    }

    TempDirs dirs;
    FixedClock clock;
    QStringList log;
    FakeHostApplication host;
    LoggingTerminal terminal;
    LoggingWeatherStore store;
    FrameIntake intake;
    bool indicatorOn = false;
    std::vector<std::unique_ptr<QObject>> windows;
};

} // namespace

TEST_F(FrameIntakeTest, ConsumersAreCalledInOrderWithTheirArguments)
{
    addList("main", WindowTag::StationList);
    addStatistics("live", WindowTag::LiveStatistics);
    addList("loaded", WindowTag::LoadedStationList);
    addStatistics("saved", WindowTag::SavedStatistics);
    addList("second", WindowTag::StationList);

    intake.receive(kSample1);

    EXPECT_EQ(log, QStringList({
                       "indicator(on)",
                       "terminal.RxData(" + kSample1.mid(1) + ")",
                       "wx.AddWxData(N0CALL,_91/000g000t056r000P000p000h81b10186zU2k," + sample1Filed() + ")",
                       "terminal.UpdateEventLog(Added wx Data from N0CALL,1,N0CALL)",
                       "terminal.UpdateEventLog(Added Beacon from N0CALL,1,N0CALL)",
                       "main.RxData(N0CALL,known,host)",
                       "live.UpdateStatitics",
                       "second.RxData(N0CALL,known,host)",
                       "indicator(off)",
                   }));
    EXPECT_EQ(host.calls, QStringList({"lookUp(N0CALL)"}));
    EXPECT_FALSE(indicatorOn);
}

TEST_F(FrameIntakeTest, AnObjectHeardLiveGetsItsOwnRowAsThePreloadGivesIt)
{
    addList("main", WindowTag::StationList);
    HostStationRecord object;
    object.callsign = QStringLiteral("LEADER");
    object.status = QStringLiteral("object");
    host.stations.insert(object.callsign, object);
    intake.receive("N0CALL>APRS:\r\n;LEADER   *092345z4903.50N/07201.75W>\r\n");
    EXPECT_TRUE(log.contains("main.RxData(N0CALL,known,host)")) << log.join('\n').toStdString();
    EXPECT_TRUE(log.contains("main.RxData(LEADER,known,object)")) << log.join('\n').toStdString();

    // A killed object, or one the host does not hold, gets no row.
    log.clear();
    intake.receive("N0CALL>APRS:\r\n;LEADER   _092345z4903.50N/07201.75W>\r\n");
    intake.receive("N0CALL>APRS:\r\n;NOBODY   *092345z4903.50N/07201.75W>\r\n");
    EXPECT_FALSE(log.join('\n').contains("RxData(LEADER")) << log.join('\n').toStdString();
    EXPECT_FALSE(log.join('\n').contains("RxData(NOBODY")) << log.join('\n').toStdString();
}

TEST_F(FrameIntakeTest, AnEmergencyAlertsOncePerStationAndReport)
{
    EmergencyAlerts::instance().reset();
    addList("main", WindowTag::StationList);
    HostStationRecord &mobile = host.stations[QStringLiteral("N0CALL")];
    mobile.message = QStringLiteral("Emergency");
    mobile.information = QStringLiteral("`(_fn\"Oj/]Help=");
    const QString frame = QStringLiteral("N0CALL>332U6T:\r\n`(_fn\"Oj/]Help=\r\n");

    intake.receive(frame);
    ASSERT_NE(frmEmergency::current(), nullptr);
    EXPECT_TRUE(frmEmergency::current()->isVisible());
    EXPECT_EQ(frmEmergency::current()->lstAlerts->count(), 1);
    EXPECT_TRUE(EmergencyAlerts::instance().isAlarmed(QStringLiteral("N0CALL")));
    EXPECT_EQ(host.fakeMap.calls.filter(QStringLiteral("circle")).size(), 1) << host.fakeMap.calls.join('\n').toStdString();

    // A pan or zoom wipes the map: the station is ringed again while alarmed.
    QObject owner;
    attachFrameIntake(&host, &owner);
    host.fakeMap.calls.clear();
    emit host.fakeMap.MapHasChanged();
    EXPECT_EQ(host.fakeMap.calls.filter(QStringLiteral("circle")).size(), 1);

    // Heard again through another digipeater: the same report, no new alert.
    frmEmergency::current()->cmdAcknowledge->click();
    // The acknowledged ring goes with a redraw of the map.
    EXPECT_TRUE(QTest::qWaitFor([this] { return host.calls.contains(QStringLiteral("refreshMap")); }, 2000));
    host.fakeMap.calls.clear();
    emit host.fakeMap.MapRedrawn();
    EXPECT_TRUE(host.fakeMap.calls.filter(QStringLiteral("circle")).isEmpty());
    EXPECT_FALSE(EmergencyAlerts::instance().isAlarmed(QStringLiteral("N0CALL")));
    intake.receive(frame);
    EXPECT_FALSE(EmergencyAlerts::instance().isAlarmed(QStringLiteral("N0CALL")));

    // A new report alerts again; other message types never do.
    mobile.information = QStringLiteral("`(_fn\"Oj/]Help again=");
    intake.receive(frame);
    EXPECT_TRUE(EmergencyAlerts::instance().isAlarmed(QStringLiteral("N0CALL")));
    host.stations[QStringLiteral("N0CALL")].message = QStringLiteral("En Route");
    EmergencyAlerts::instance().reset();
    intake.receive(frame);
    EXPECT_FALSE(EmergencyAlerts::instance().isAlarmed(QStringLiteral("N0CALL")));
    if (frmEmergency::current())
        frmEmergency::current()->close();
}

TEST_F(FrameIntakeTest, ARecordReplacedByOneWindowReachesTheNext)
{
    addList("main", WindowTag::StationList)->onRxData = [](HostStationRecord &record) {
        record.status = "replaced";
    };
    addList("second", WindowTag::StationList);
    intake.receive("N0CALL>APRS:\r\n>hello\r\n");
    EXPECT_TRUE(log.contains("second.RxData(N0CALL,known,replaced)")) << log.join('\n').toStdString();
}

TEST_F(FrameIntakeTest, UnknownStationGoesToTheListsAsUnknown)
{
    addList("main", WindowTag::StationList);
    intake.receive("N1XYZ-7>APRS:\r\n!5130.00N/00007.50W>\r\n");
    EXPECT_TRUE(log.contains("main.RxData(N1XYZ-7,unknown,)")) << log.join('\n').toStdString();
}

TEST_F(FrameIntakeTest, WeatherTimeComesFromTheHostRecordWhenItHasOne)
{
    HostStationRecord wx;
    wx.callsign = "WX1";
    wx.timeHeardSecond = "2026-12-06 23:59:58";
    host.stations.insert(wx.callsign, wx);
    intake.receive("WX1>APRS:\r\n@071200z5130.00N/00007.50W_090/005\r\n");
    EXPECT_TRUE(log.contains("wx.AddWxData(WX1,_090/005,2026-12-06T23:59:58)"))
        << log.join('\n').toStdString();
}

TEST_F(FrameIntakeTest, PhgIsLoggedAsIgnoredAndNotStored)
{
    intake.receive("N0CALL>APRS:\r\n_PHG5132\r\n");
    EXPECT_EQ(log.filter("wx."), QStringList());
    EXPECT_EQ(log.filter("UpdateEventLog"),
              QStringList({"terminal.UpdateEventLog(PHG ignored from N0CALL,2,N0CALL)",
                           "terminal.UpdateEventLog(Added Beacon from N0CALL,1,N0CALL)"}));
}

TEST_F(FrameIntakeTest, DroppedTextsReachNoConsumerButTheIndicatorGoesOut)
{
    addList("main", WindowTag::StationList);
    addStatistics("live", WindowTag::LiveStatistics);
    intake.receive("no source here\r\n_12072202c052\r\n");
    EXPECT_EQ(log, QStringList({"indicator(on)", "indicator(off)"}));
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_TRUE(intake.lastFrame().dropped);

    log.clear();
    intake.receive(">APRS:\r\n_12072202c052\r\n");
    EXPECT_EQ(log, QStringList({"indicator(on)", "indicator(off)"}));
    EXPECT_EQ(intake.lastFrame().dropReason, "no source callsign before \">\"");
    EXPECT_EQ(intake.framesDropped(), 2u);
    EXPECT_EQ(intake.framesReceived(), 2u);

    // The next good frame is handled as usual.
    log.clear();
    intake.receive("N0CALL>APRS:\r\n>ok\r\n");
    EXPECT_TRUE(log.contains("main.RxData(N0CALL,known,host)"));
}

TEST_F(FrameIntakeTest, DebugLogGetsEachTextWithoutItsFlagWhileSwitchedOn)
{
    const QString path = dirs.data() + "/Debug.txt";
    intake.receive(kSample1);
    EXPECT_FALSE(QFile::exists(path));

    config().debugLogging = true;
    intake.receive(kSample1);
    intake.receive(QStringLiteral("0bad") + QChar(0xFD));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kSample1.mid(1).toLatin1() + "\r\n" + QByteArray("bad\xFD\r\n"));
}

TEST_F(FrameIntakeTest, TheTerminalIsFoundAmongTheLoadedWindowsWhenNoneIsSet)
{
    FrameIntake unwired(host);
    unwired.setWeatherStore(&store);
    LoggingTerminal loaded(log);
    WindowRegistry::instance().add(&loaded);
    unwired.receive("N0CALL>APRS:\r\n>x\r\n");
    EXPECT_EQ(log.filter("terminal.").size(), 2);
}

TEST_F(FrameIntakeTest, ADestroyedTerminalIsNotCalled)
{
    auto gone = std::make_unique<LoggingTerminal>(log);
    intake.setTerminal(gone.get());
    gone.reset();
    intake.receive("N0CALL>APRS:\r\n>x\r\n");
    EXPECT_TRUE(log.filter("terminal.").isEmpty());
}

TEST_F(FrameIntakeTest, AWindowClosedDuringThePassIsSkipped)
{
    addList("main", WindowTag::StationList)->onRxData = [this](HostStationRecord &) {
        windows.pop_back();  // the second list goes away while the first handles the frame
    };
    addList("second", WindowTag::StationList);
    intake.receive("N0CALL>APRS:\r\n>x\r\n");
    EXPECT_TRUE(log.filter("second.").isEmpty());
    EXPECT_EQ(log.filter("main.").size(), 1);
}

TEST_F(FrameIntakeTest, ATaggedWindowOfAnotherKindIsLeftAlone)
{
    QObject plain;
    WindowRegistry::instance().add(&plain, WindowTag::StationList);
    addList("main", WindowTag::StationList);
    intake.receive("N0CALL>APRS:\r\n>x\r\n");
    EXPECT_EQ(log.filter("main.RxData(N0CALL").size(), 1);
}

TEST_F(FrameIntakeTest, TagsAreCaseSensitive)
{
    addList("lower", "station list");
    addStatistics("lowerStats", "live statistics");
    intake.receive("N0CALL>APRS:\r\n>x\r\n");
    EXPECT_TRUE(log.filter("lower").isEmpty());
}

TEST_F(FrameIntakeTest, BeaconFromAKnownStationReachesOnlyStationListWindows)
{
    addList("main", WindowTag::StationList);
    addList("loaded", WindowTag::LoadedStationList);
    addStatistics("live", WindowTag::LiveStatistics);
    intake.receiveBeacon("N0CALL");
    EXPECT_EQ(log, QStringList({"main.RxData(N0CALL,known,host)"}));

    log.clear();
    intake.receiveBeacon("N9UNKNOWN");
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(host.calls.last(), "lookUp(N9UNKNOWN)");
}

TEST_F(FrameIntakeTest, WeatherGoesToTheProgramWideStoreByDefault)
{
    FrameIntake defaultStore(host);
    LoggingWeatherStore installed(log);
    installWeatherStore(&installed);
    defaultStore.receive("N0CALL>APRS:\r\n_1\r\n");
    installWeatherStore(nullptr);
    EXPECT_EQ(log.filter("wx.").size(), 1);
}

namespace {
// A weather store whose message box lets the next frame in mid-way.
class ReentrantWeatherStore : public WeatherStore
{
public:
    std::function<void()> during;
    void AddWxData(const HostStationRecord &, const QString &, const QDateTime &) override
    {
        if (during) {
            auto once = std::move(during);
            during = nullptr;
            once();
        }
    }
};
} // namespace

TEST_F(FrameIntakeTest, AFrameLetInByAModalDialogDoesNotChangeTheOneInHand)
{
    addList("main", WindowTag::StationList);
    ReentrantWeatherStore reentrant;
    intake.setWeatherStore(&reentrant);
    reentrant.during = [this] { intake.receive("G4ABC>APRS:\r\n>inner\r\n"); };
    intake.receive("N0CALL>APRS:\r\n_12072202c052\r\n");
    EXPECT_EQ(log.filter("UpdateEventLog").last(),
              "terminal.UpdateEventLog(Added Beacon from N0CALL,1,N0CALL)");
    EXPECT_EQ(log.filter("main.RxData"),
              QStringList({"main.RxData(G4ABC,unknown,)", "main.RxData(N0CALL,known,host)"}));
    EXPECT_EQ(intake.lastFrame().source, "G4ABC");
}
