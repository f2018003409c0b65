#include "HostFolder.h"
#include "ScriptedPorts.h"

#include "host/EmbeddedHost.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/map/HostMapWindow.h"
#include "host/MonitorLog.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<EmbeddedHost> makeHost(const HostFolder &folder)
{
    EmbeddedHost::Options options;
    options.showWindow = false;
    options.startFeeds = false;
    return std::make_unique<EmbeddedHost>(folder.path(), options);
}

TEST(EmbeddedHost, FactoryRefusesUnusableFolders)
{
    QString error;
    EXPECT_EQ(createEmbeddedHost(QString(), nullptr, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(createEmbeddedHost(QStringLiteral("/nonexistent/host/folder"), nullptr, &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("does not exist")));
    QTemporaryDir empty;
    EXPECT_EQ(createEmbeddedHost(empty.path(), nullptr, &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("UIVIEW32.INI")));

    HostFolder folder;
    qputenv("KESTREL_HOST_HEADLESS", "1");
    std::unique_ptr<HostApplication> host(createEmbeddedHost(folder.path(), nullptr, &error));
    qunsetenv("KESTREL_HOST_HEADLESS");
    ASSERT_NE(host, nullptr);
    auto *embedded = static_cast<EmbeddedHost *>(host.get());
    EXPECT_FALSE(embedded->window()->isVisible());
}

TEST(EmbeddedHost, LinkOpensOnlyForTheRightNamesAndWhileRunning)
{
    HostFolder folder;
    auto host = makeHost(folder);
    QString error;
    EXPECT_FALSE(host->openLink("UIVIEW32|Other", "labDDE", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("UIVIEW32|Other")));
    EXPECT_FALSE(host->openLink("OTHERAPP|UIVData", "labDDE", &error));
    EXPECT_FALSE(host->openLink("UIVIEW32|UIVData", "txtDDE", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("txtDDE")));
    EXPECT_FALSE(host->isLinkOpen());
    EXPECT_TRUE(host->openLink("UIVIEW32|UIVData", "labDDE", &error));
    EXPECT_TRUE(host->isLinkOpen());
    host->closeLink();
    EXPECT_FALSE(host->isLinkOpen());

    host->quit();
    EXPECT_FALSE(host->openLink("UIVIEW32|UIVData", "labDDE", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("not running")));
}

TEST(EmbeddedHost, EveryFrameIsDeliveredOnceInMonitorForm)
{
    HostFolder folder;
    auto host = makeHost(folder);
    QSignalSpy frames(host.get(), &HostApplication::frameReceived);
    host->hearLine("N0CALL>APRS:>before the link");
    EXPECT_EQ(frames.count(), 0);
    ASSERT_TRUE(host->openLink("UIVIEW32|UIVData", "labDDE", nullptr));
    host->hearLine("N0CALL>APRS,WIDE2-1:>same");
    host->hearLine("N0CALL>APRS,WIDE2-1:>same");
    EXPECT_FALSE(host->hearLine("not a frame"));
    ASSERT_EQ(frames.count(), 2);
    EXPECT_EQ(frames[0][0].toString(), QStringLiteral("N0CALL>APRS,WIDE2-1 Port=1 <UI C Len=5>:\r\n>same\r\n"));
    EXPECT_EQ(frames[1][0].toString(), frames[0][0].toString());
    EXPECT_EQ(host->rejectedLines(), 1);
    // The receiver drops a leading 0 or 1 as a flag: 1A0KM keeps its first character.
    host->hearLine("1A0KM>APRS:>Rome");
    ASSERT_EQ(frames.count(), 3);
    EXPECT_EQ(frames[2][0].toString(), QStringLiteral("01A0KM>APRS Port=1 <UI C Len=5>:\r\n>Rome\r\n"));
}

TEST(EmbeddedHost, LookUpFillsRecordsAndKnowsOnlyPositionedStations)
{
    HostFolder folder;
    auto host = makeHost(folder);
    HostStationRecord own;
    own.callsign = QStringLiteral("G0HOM");
    ASSERT_TRUE(host->lookUpStation(own));
    EXPECT_NEAR(own.latitude, 3090.0, 1e-3);
    EXPECT_NEAR(own.longitude, -7.5, 1e-3);

    host->hearLine("G4STA>APRS:>status only");
    HostStationRecord record;
    record.callsign = QStringLiteral("G4STA");
    EXPECT_FALSE(host->lookUpStation(record));
    EXPECT_EQ(record.status, QStringLiteral("status only")) << "unknown stations still report what is held";
    EXPECT_FALSE(record.timeHeard.isEmpty());
    EXPECT_TRUE(QDateTime::fromString(record.timeHeard, "yyyy-MM-dd HH:mm:ss").isValid());

    record = HostStationRecord{};
    record.callsign = QStringLiteral("NOBODY");
    EXPECT_FALSE(host->lookUpStation(record));
    EXPECT_EQ(record.callsign, QStringLiteral("NOBODY"));
}

TEST(EmbeddedHost, StationListLinesStartWithTheCallsign)
{
    HostFolder folder;
    auto host = makeHost(folder);
    host->hearLine("G4DIR>APRS:!5130.00N/00007.50W-");
    host->hearLine("G4DIG>APRS,RELAY*:!5130.00N/00007.50W-");
    host->hearLine("G4NOP>APRS:>no position");
    host->hearLine("G4DIG>APRS,RELAY*:;EVENT    *092345z5130.00N/00007.50W/");
    ASSERT_EQ(host->stationListSize(), 5);
    QStringList firstFields;
    for (int i = 0; i < host->stationListSize(); ++i)
        firstFields.append(host->stationListLine(i).split(u' ').first());
    EXPECT_EQ(firstFields, (QStringList{"+G0HOM", "+G4DIR", "G4DIG", "+G4NOP*", "-EVENT"}));
    EXPECT_EQ(host->stationListLine(99), QString());
}

TEST(EmbeddedHost, PlacingObjectsAnswersStatusCodes)
{
    HostFolder folder;
    auto host = makeHost(folder);
    PlacedObject sat;
    sat.name = QStringLiteral("ISS");
    sat.latitude = 10;
    sat.longitude = -20;
    sat.symbolCode = QStringLiteral("S");
    sat.symbolTable = QStringLiteral("\\");
    EXPECT_EQ(host->placeObject(sat), 0);
    EXPECT_EQ(host->placeObject(sat), 0) << "placing again moves it";
    EXPECT_EQ(host->placedObjects(), QStringList{"ISS"});

    PlacedObject bad = sat;
    bad.name.clear();
    EXPECT_EQ(host->placeObject(bad), 1);
    bad = sat;
    bad.name = QStringLiteral("FAR TOO LONG");
    EXPECT_EQ(host->placeObject(bad), 3);
    bad = sat;
    bad.latitude = 91;
    EXPECT_EQ(host->placeObject(bad), 3);

    host->hearLine("N0OTH>APRS:;THEIRS   *092345z5130.00N/00007.50W/");
    bad = sat;
    bad.name = QStringLiteral("THEIRS");
    EXPECT_EQ(host->placeObject(bad), 5);

    host->removePlacedObject("ISS");
    EXPECT_TRUE(host->placedObjects().isEmpty());
}

TEST(EmbeddedHost, DistanceBearingInBothUnitsAndSymbols)
{
    HostFolder folder;
    auto host = makeHost(folder);
    const auto km = host->distanceAndBearing(0, 0, 0, 1, true);
    const auto miles = host->distanceAndBearing(0, 0, 0, 1, false);
    EXPECT_NEAR(km.distance, 111.195, 0.001);
    EXPECT_NEAR(miles.distance, 111.195 / 1.609344, 0.001);
    EXPECT_NEAR(km.bearing, 90, 1e-9);

    const QImage house = host->symbolPicture("/", "-");
    const QImage car = host->symbolPicture("/", ">");
    ASSERT_FALSE(house.isNull());
    EXPECT_NE(house, car);
    EXPECT_NE(host->symbolPicture("/", "a"), host->symbolPicture("/", "b")) << "the letter is drawn";
}

TEST(EmbeddedHost, ABeaconNoFeedSentIsNeitherReportedNorKept)
{
    HostFolder folder;
    auto host = makeHost(folder);
    QSignalSpy beacons(host.get(), &HostApplication::NotifyBeacon);
    host->beacon();
    EXPECT_EQ(beacons.count(), 0);
    HostStationRecord own;
    own.callsign = QStringLiteral("G0HOM");
    host->lookUpStation(own);
    EXPECT_TRUE(own.information.isEmpty());
    EXPECT_FALSE(host->beaconStatus().startsWith(QStringLiteral("Beacon: sent")));
}

TEST(EmbeddedHost, DxSpotsCarryPrefixPositionBearingAndDistance)
{
    HostFolder folder;
    folder.write("prefix.txt", "VK:Australia:OC:55:30:10:33.87S:151.21E\r\nJA-JS:Japan:AS:45:25:9:35.7N:139.7E\r\n");
    auto host = makeHost(folder);
    QSignalSpy spots(host.get(), &HostApplication::NotifyDXSpot);
    const QString line = QStringLiteral("DX de G4ABC:     14025.0  JA1XYZ       CW                        1234Z");
    ASSERT_TRUE(host->hearSpot(line));
    ASSERT_EQ(spots.count(), 1);
    const QList<QVariant> &args = spots[0];
    EXPECT_EQ(args[0].toString(), line);
    EXPECT_EQ(args[1].toString(), QStringLiteral("JA1XYZ"));
    EXPECT_EQ(args[2].toString(), QStringLiteral("14025.0"));
    EXPECT_EQ(args[3].value<qint16>(), 36);
    EXPECT_EQ(args[4].value<qint16>(), 140);
    // London to Tokyo: about 9,560 km on a bearing of about 32 degrees.
    EXPECT_NEAR(args[5].value<qint16>(), 32, 2);
    EXPECT_NEAR(args[6].value<qint16>(), 9560, 40);

    EXPECT_FALSE(host->hearSpot("garbage"));
    ASSERT_TRUE(host->hearSpot("DX de G4ABC: 7010.0 QQ9ZZZ unknown"));
    EXPECT_EQ(spots[1][3].value<qint16>(), 0);
}

TEST(EmbeddedHost, MonitorLogHasStartLineThenStampedEntries)
{
    HostFolder folder;
    auto host = makeHost(folder);
    host->hearLine("G4LOG>APRS,WIDE1-1:>one");
    host->hearLine("G4LOG>APRS,WIDE1-1:>two");
    QFile file(folder.path() + "/Logs/" + MonitorLog::fileNameFor(QDate::currentDate()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(" START LOCAL TIME\r"));
    EXPECT_EQ(lines[1].mid(19), QByteArray(" G4LOG>APRS,WIDE1-1:>one\r"));
    EXPECT_EQ(lines[1][4], '-');
    EXPECT_EQ(lines[2].mid(19), QByteArray(" G4LOG>APRS,WIDE1-1:>two\r"));
}

TEST(EmbeddedHost, ClosingTheMapWindowHidesIt_OnlyQuitEndsTheHostAndItAsksFirst)
{
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    HostFolder folder;
    auto host = makeHost(folder);
    QSignalSpy closing(host.get(), &HostApplication::UIView32IsClosing);
    HostMapWindow *window = host->window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Host Map"));
    ASSERT_TRUE(host->hasMapWindow());
    host->showMapWindow();
    ASSERT_TRUE(window->isVisible());

    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closing.count(), 0);
    EXPECT_TRUE(host->isRunning());
    EXPECT_TRUE(prompts.shown.isEmpty()) << "closing the view asks nothing";
    host->showMapWindow();
    EXPECT_TRUE(window->isVisible());

    ASSERT_NE(window->quitAction(), nullptr);
    prompts.answers.enqueue(Prompts::Answer::No);
    window->quitAction()->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Host Map"));
    EXPECT_EQ(prompts.shown[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_TRUE(host->isRunning());
    EXPECT_EQ(closing.count(), 0);

    prompts.answers.enqueue(Prompts::Answer::Yes);
    window->quitAction()->trigger();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_FALSE(host->isRunning());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(host->hearLine("G4LATE>APRS:>too late"));
    host->quit();
    EXPECT_EQ(closing.count(), 1) << "announced once";
    host->showMapWindow();
    EXPECT_FALSE(window->isVisible()) << "a host that has quit shows nothing";
}

TEST(HostMapWindow, FirstPlaceIsBesideTheMainWindowNeverOverItsMenus)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize wanted(800, 620);
    // Room on the right: beside it, top edges level.
    EXPECT_EQ(HostMapWindow::besidePlace(QRect(100, 50, 1100, 720), screen, wanted), QRect(1200, 50, 720, 620));
    // Room only on the left.
    EXPECT_EQ(HostMapWindow::besidePlace(QRect(900, 0, 1000, 700), screen, wanted), QRect(100, 0, 800, 620));
    // No room beside: the lower right, below the main window's top.
    const QRect main(0, 0, 1700, 1000);
    const QRect place = HostMapWindow::besidePlace(main, screen, wanted);
    EXPECT_EQ(place, QRect(1120, 540, 800, 540));
    EXPECT_FALSE(place.intersects(QRect(main.topLeft(), QSize(main.width(), 120))));
    EXPECT_TRUE(screen.contains(place));
    // Room beside, but not for the window at its smallest: the lower right.
    EXPECT_EQ(HostMapWindow::besidePlace(QRect(410, 180, 1100, 720), screen, wanted, QSize(684, 300)),
              QRect(1120, 540, 800, 540));
}

TEST(EmbeddedHost, TheMapWindowComesBackWhereTheUserLeftIt)
{
    ScriptedPrompts prompts;
    MemorySettingsStore store;
    HostFolder folder;
    {
        auto host = makeHost(folder);
        host->showMapWindow();
        host->window()->move(130, 90);
        host->window()->resize(640, 410);
        host->window()->close();
    }
    EXPECT_EQ(store.value(QStringLiteral("Peak Systems"), QStringLiteral("Host Map"), QStringLiteral("Width")), "640");
    {
        auto host = makeHost(folder);
        host->showMapWindow();
        EXPECT_EQ(host->window()->pos(), QPoint(130, 90));
        EXPECT_EQ(host->window()->size(), QSize(640, 410));
        host->window()->resize(700, 450);
    }  // the host ends with its window open: the place is kept too
    EXPECT_EQ(store.value(QStringLiteral("Peak Systems"), QStringLiteral("Host Map"), QStringLiteral("Height")), "450");
}

} // namespace

namespace {

TEST(EmbeddedHost, NoExceptionEscapesAFeed)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=0\r\n[Feed1]\r\nType=replay\r\nFile=t.txt\r\n"
                                    "Interval=1\r\n");
    folder.write("t.txt", "G4ONE>APRS:>one\r\nG4TWO>APRS:>two\r\nG4THR>APRS:>three\r\n");
    EmbeddedHost::Options options;
    options.showWindow = false;
    EmbeddedHost host(folder.path(), options);
    ASSERT_TRUE(host.openLink(EmbeddedHost::LinkTopic, EmbeddedHost::LinkItem, nullptr));
    // Whatever a listener does wrong on one frame, the next frames still come.
    int heard = 0;
    QObject::connect(&host, &HostApplication::frameReceived, &host, [&](const QString &text) {
        ++heard;
        if (text.startsWith(QStringLiteral("G4TWO")))
            throw std::length_error("station database full");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard == 3; }, 3000));
    EXPECT_EQ(host.failedLines(), 1);
    EXPECT_TRUE(host.isRunning());
    EXPECT_TRUE(host.database().contains("G4THR"));
}

TEST(EmbeddedHost, StationsAgeOutButPlacedObjectsAndOwnStationStay)
{
    HostFolder folder;
    folder.write("KestrelHost.ini", "[Host]\r\nBeaconInterval=0\r\nStationHours=2\r\n");
    auto host = makeHost(folder);
    host->hearLine("G4SAT>APRS:>heard once");
    host->hearLine("G4OLD>APRS:!5130.00N/00007.50W-");
    PlacedObject satellite;
    satellite.name = QStringLiteral("G4SAT");
    satellite.latitude = 51;
    host->placeObject(satellite);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    EXPECT_EQ(host->ageStations(now + 3600), 0);
    EXPECT_EQ(host->ageStations(now + 2 * 3600 + 60), 1);
    EXPECT_FALSE(host->database().contains("G4OLD"));
    EXPECT_TRUE(host->database().contains("G4SAT"));
    EXPECT_TRUE(host->database().contains("G0HOM"));
}

TEST(EmbeddedHost, TelemetryAndNmeaFramesThroughTheHost)
{
    HostFolder folder;
    auto host = makeHost(folder);
    EXPECT_TRUE(host->stationTelemetry("G4TLM").isEmpty());
    host->hearLine("G4TLM>APRS::G4TLM    :PARM.Volts");
    host->hearLine("G4TLM>APRS::G4TLM    :UNIT.V");
    host->hearLine("G4TLM>APRS::G4TLM    :EQNS.0,0.1,0");
    host->hearLine("G4TLM>APRS:T#017,138");
    const HostTelemetry t = host->stationTelemetry(" G4TLM ");
    ASSERT_EQ(t.channels.size(), 1);
    EXPECT_EQ(t.channels[0].name, QStringLiteral("Volts"));
    EXPECT_EQ(t.channels[0].value, QStringLiteral("13.8"));
    EXPECT_EQ(t.channels[0].unit, QStringLiteral("V"));
    EXPECT_FALSE(t.timeHeard.isEmpty());

    host->hearLine("G4GPS>GPS:$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A");
    HostStationRecord record;
    record.callsign = QStringLiteral("G4GPS");
    ASSERT_TRUE(host->lookUpStation(record));
    EXPECT_NEAR(record.latitude, 48.1173 * 60, 0.01);
    EXPECT_EQ(record.course, 84);
}

} // namespace
