// The shipped demo host folder: every file is readable by the host, the
// traffic gives the stations the demo promises, and the map shows them.
// Set KESTREL_HOST_SCREENSHOT=/path/shot.png to keep a picture of the map,
// and KESTREL_TILE_SHOTS=/folder for pictures of it on test tiles.
#include "MbTilesFile.h"
#include "TileServer.h"

#include "core/PrivateProfile.h"
#include "host/EmbeddedHost.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/tiles/HostMapTiles.h"
#include "host/map/HostMapWindow.h"
#include "host/aprs/Tnc2.h"

#include <QDir>
#include <QFile>
#include <QLineF>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString DemoFolder = QStringLiteral(KESTREL_SOURCE_DIR "/data/demo-host");

QStringList replayLines(const QString &name)
{
    QFile file(DemoFolder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString &raw : QString::fromLatin1(file.readAll()).split(u'\n')) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            lines.append(splitTimeStamp(line).text.toString());
    }
    return lines;
}

void copyDemo(const QTemporaryDir &copy)
{
    for (const QString &name : QDir(DemoFolder).entryList(QDir::Files)) {
        QFile::copy(DemoFolder + u'/' + name, copy.filePath(name));
        QFile(copy.filePath(name)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

TEST(DemoHost, FolderServesAsAHostFolderAndItsTrafficFillsTheMap)
{
    for (const char *file : {"UIVIEW32.INI", "STATIONS.INI", "prefix.txt", "uiview32.exe", "KestrelHost.ini",
                             "DemoTraffic.txt", "DemoSpots.txt"})
        ASSERT_TRUE(QFile::exists(DemoFolder + u'/' + QLatin1String(file))) << file;

    QTemporaryDir copy;
    copyDemo(copy);
    EmbeddedHost::Options options;
    options.showWindow = false;
    options.startFeeds = false;
    EmbeddedHost host(copy.path(), options);
    EXPECT_EQ(host.ownCallsign(), QStringLiteral("G0KST"));
    EXPECT_EQ(host.feeds().size(), 2) << "replay and DX replay; the network feeds ship switched off";
    QSignalSpy spots(&host, &HostApplication::NotifyDXSpot);

    const QStringList traffic = replayLines(QStringLiteral("DemoTraffic.txt"));
    ASSERT_GT(traffic.size(), 300);
    int frames = 0;
    for (const QString &line : traffic)
        frames += host.hearLine(line) ? 1 : 0;
    EXPECT_EQ(frames, traffic.size()) << "every demo line is a frame";
    for (const QString &line : replayLines(QStringLiteral("DemoSpots.txt")))
        EXPECT_TRUE(host.hearSpot(line)) << line.toStdString();
    EXPECT_GT(spots.count(), 50);
    for (const QList<QVariant> &spot : spots)
        EXPECT_NE(spot[6].value<qint16>(), 0) << "every spotted country is in prefix.txt: "
                                               << spot[1].toString().toStdString();

    int positioned = 0, mobiles = 0, weather = 0, objects = 0, relayed = 0;
    for (int i = 0; i < host.database().size(); ++i) {
        const StationDatabase::Entry &e = host.database().at(i);
        positioned += e.hasPosition;
        mobiles += e.course != HostStationRecord::NoCourse;
        weather += e.symbolCode == u'_';
        objects += e.isObject;
        relayed += !e.heardDirect;
    }
    EXPECT_GE(positioned, 28);
    EXPECT_GE(mobiles, 6);
    EXPECT_GE(weather, 5);
    EXPECT_GE(objects, 3);
    EXPECT_GE(relayed, 10);

    HostStationRecord home;
    home.callsign = host.ownCallsign();
    ASSERT_TRUE(host.lookUpStation(home));
    EXPECT_TRUE(home.status.startsWith(QStringLiteral("DX: VK2KIB")));
    HostStationRecord dx;
    dx.callsign = QStringLiteral("VK2KIB");
    EXPECT_TRUE(host.lookUpStation(dx)) << "the DX station named in the home status is known";
    HostStationRecord killed;
    killed.callsign = QStringLiteral("RALLY");
    EXPECT_FALSE(host.lookUpStation(killed)) << "the rally object is killed at the end of the hour";

    // What Kestrel draws on top: an RNG circle, a digipeated path and a DX spot.
    HostMap *map = host.map();
    map->setPenSetting(2);
    map->setModeSetting(13);
    map->drawCircle(float(-1.12 * 60), float(51.60 * 60), 48.28f, 0x00FF00, 0, 6.2831840515, 1.0f);
    qint16 extra = 0;
    map->drawLine(-75, 3105, -89, 3112, 0xFF0000, extra);
    map->setLegSetting(3);
    map->drawLine(-89, 3112, -83, 3102, 0xFF0000, extra);
    map->placeNamedSymbol(QStringLiteral("JA1KXA"), float(-0.6 * 60), float(51.95 * 60));

    HostMapWindow *window = host.window();
    window->resize(1000, 760);
    window->show();
    QTest::qWait(400);  // the status bar follows on a timer
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.size(), window->size());
    const QString path = qEnvironmentVariable("KESTREL_HOST_SCREENSHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(shot.save(path));
    }
}

// The demo area on test tiles that ring every station: from a tile server
// and from an offline file, at a county's, a town's and a street's zoom.
TEST(DemoHost, TestTilesLieUnderTheStationsAligned)
{
    qunsetenv("KESTREL_WORK_OFFLINE");
    const QString shots = qEnvironmentVariable("KESTREL_TILE_SHOTS");
    for (const bool fromFile : {false, true})
        for (const int zoom : {6, 10, 14}) {
            SCOPED_TRACE(testing::Message() << (fromFile ? "file" : "server") << " zoom " << zoom);
            TileServer server;
            server.ringRadius = 12;
            QTemporaryDir copy;
            copyDemo(copy);
            ASSERT_TRUE(PrivateProfile::writeString(copy.filePath(HostConfig::FileName), QStringLiteral("Map"),
                                                    QStringLiteral("TileServer"),
                                                    fromFile ? QString() : server.urlTemplate()));
            EmbeddedHost::Options options;
            options.showWindow = false;
            options.startFeeds = false;
            EmbeddedHost host(copy.path(), options);
            for (const QString &line : replayLines(QStringLiteral("DemoTraffic.txt")))
                host.hearLine(line);
            for (int i = 0; i < host.database().size(); ++i) {
                const StationDatabase::Entry &e = host.database().at(i);
                if (e.hasPosition)
                    server.marks.append({e.latitude / 60.0, e.longitude / 60.0});
            }
            HostMapWindow *window = host.window();
            window->resize(1000, 760);
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            EmbeddedHostMap *map = host.hostMap();
            map->projection().reset();
            map->projection().setZoom(zoom);
            if (fromFile) {
                const QString file = copy.filePath(QStringLiteral("demo.mbtiles"));
                ASSERT_TRUE(MbTilesFile::write(file, server, {zoom}, map->projection()));
                QString reason;
                ASSERT_TRUE(host.mapTiles()->openOfflineMap(file, &reason)) << reason.toStdString();
                ASSERT_TRUE(QTest::qWaitFor([&host] { return !host.mapTiles()->opening(); }, 10000));
            }
            map->renderImage();
            ASSERT_TRUE(QTest::qWaitFor([map] { return map->tiles()->waiting() == 0; }, 10000));
            const QImage image = map->renderImage();
            EXPECT_EQ(server.requests() == 0, fromFile);

            // Each station in view with room about it sits in the middle of
            // its ring (a label may hide part of it: one of four points will do).
            QList<QPointF> shown;
            for (const QPointF &mark : std::as_const(server.marks))
                shown.append(map->projection().toPixel(mark.x(), mark.y()));
            int alone = 0, ringed = 0;
            const int r = server.ringRadius;
            for (const QPointF &at : std::as_const(shown)) {
                if (!QRectF(20, 20, image.width() - 40, image.height() - 40).contains(at)
                    || std::count_if(shown.cbegin(), shown.cend(), [&at](QPointF other) {
                           return QLineF(at, other).length() < 60;
                       }) > 1)
                    continue;
                ++alone;
                bool found = false;
                for (const QPointF &side : {QPointF(r, 0), QPointF(-r, 0), QPointF(0, r), QPointF(0, -r)})
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        for (int dy = -1; dy <= 1 && !found; ++dy) {
                            const QRgb pixel = image.pixel((at + side).toPoint() + QPoint(dx, dy));
                            found = qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) > 200;
                        }
                ringed += found ? 1 : 0;
            }
            EXPECT_GT(alone, 2);
            EXPECT_EQ(ringed, alone);
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                const QString name = QStringLiteral("%1/demo-%2-z%3.png").arg(shots, fromFile ? "file" : "server").arg(zoom);
                EXPECT_TRUE(window->grab().save(name));
            }
            window->hide();
        }
    qputenv("KESTREL_WORK_OFFLINE", "1");
}

} // namespace
