// Map tiles from a loopback tile server and from MBTiles files: where they
// land, what is asked of the server and when, and what happens to bad
// answers and bad files.
#include "MbTilesFile.h"
#include "TileServer.h"

#include "host/tiles/EarthMapSource.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/tiles/HostMapTiles.h"
#include "host/map/HostMapWindow.h"
#include "host/tiles/MbTilesMapSource.h"
#include "host/tiles/NetworkMapSource.h"
#include "host/StationDatabase.h"
#include "host/tiles/TileDecoder.h"
#include "host/tiles/TileLayer.h"

#include "ScriptedPorts.h"

#include <QBuffer>
#include <QDirIterator>
#include <QMenu>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr double HomeLat = 51.75, HomeLon = -1.25;

// The host map alone, on sources a test chooses.
struct TileMap
{
    StationDatabase database;
    EmbeddedHostMap map{&database};

    explicit TileMap(const QList<MapSource *> &sources, int zoom = 10)
    {
        map.setHome(QStringLiteral("G0KST"), HomeLat, HomeLon);
        map.setSize({800, 600});
        map.projection().setZoom(zoom);
        map.tiles()->setSources(sources);
    }
    // The map once every tile it asked for has come or is known missing.
    QImage settled()
    {
        map.renderImage();
        EXPECT_TRUE(QTest::qWaitFor([this] { return map.tiles()->waiting() == 0; }, 10000));
        return map.renderImage();
    }
};

NetworkMapSource *fromServer(const TileServer &server, const QString &cacheFolder,
                             qint64 cacheBytes = 64LL * 1024 * 1024)
{
    NetworkMapSource::Settings settings;
    settings.urlTemplate = server.urlTemplate();
    settings.attribution = QStringLiteral("Test tiles");
    settings.cacheFolder = cacheFolder;
    settings.cacheBytes = cacheBytes;
    return new NetworkMapSource(settings);
}

bool isMark(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) > 200; }

// A mark within a pixel or so of the point.
bool markNear(const QImage &image, QPointF at)
{
    const QPoint centre(int(std::floor(at.x())), int(std::floor(at.y())));
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy) {
            const QPoint p = centre + QPoint(dx, dy);
            if (image.rect().contains(p) && isMark(image.pixel(p)))
                return true;
        }
    return false;
}

bool near(QColor a, QColor b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// The share of a grid of points over the map's middle band that has this colour.
double shareOf(const QImage &image, QColor colour, int tolerance = 12)
{
    int hits = 0, all = 0;
    for (int x = 20; x < image.width(); x += 37)
        for (int y = 100; y < image.height() - 100; y += 41, ++all)
            hits += near(image.pixel(x, y), colour, tolerance) ? 1 : 0;
    return double(hits) / all;
}

// Places spread over the view, away from its middle (home's red ring).
QList<QPointF> marksAround(const MapProjection &view)
{
    QList<QPointF> marks;
    for (const QPointF &at : {QPointF(137, 91), QPointF(655, 143), QPointF(203, 488), QPointF(598, 517),
                              QPointF(311, 402)}) {
        double lat = 0, lon = 0;
        view.toDegrees(at, &lat, &lon);
        marks.append({lat, lon});
    }
    return marks;
}

TEST(MapTiles, TilesLandWhereTheirPlacesProjectAtEveryZoom)
{
    QTemporaryDir cache;
    for (const bool fromFile : {false, true})
        for (const int zoom : {3, 6, 10, 14, 18}) {
            SCOPED_TRACE(testing::Message() << (fromFile ? "file" : "server") << " zoom " << zoom);
            TileServer server;
            MapProjection view;
            view.setSize({800, 600});
            view.setHome(HomeLat, HomeLon);
            view.setZoom(zoom);
            server.marks = marksAround(view);
            QTemporaryDir folder;
            const QString file = folder.filePath(QStringLiteral("area.mbtiles"));
            MapSource *source = nullptr;
            if (fromFile) {
                ASSERT_TRUE(MbTilesFile::write(file, server, {zoom}, view));
                source = MbTilesMapSource::open(file, nullptr).release();
            } else {
                source = fromServer(server, cache.path());
            }
            ASSERT_TRUE(source);
            TileMap tiles({source}, zoom);
            const QImage image = tiles.settled();
            for (const QPointF &mark : std::as_const(server.marks))
                EXPECT_TRUE(markNear(image, tiles.map.projection().toPixel(mark.x(), mark.y())))
                    << mark.x() << ", " << mark.y();
            if (fromFile) {
                EXPECT_EQ(server.requests(), 0);
            } else {
                EXPECT_GE(server.requests(), 12) << "four by three tiles at least fill 800 x 600";
                EXPECT_LE(server.requests(), 20);
            }
        }
}

TEST(MapTiles, TheServerIsAskedPolitelyAndOnlyOnce)
{
    QTemporaryDir cache;
    TileServer server;
    server.answer = [](TileKey) { return TileServer::Answer::Slow; };
    server.slowMs = 60;
    {
        TileMap tiles({fromServer(server, cache.path())});
        tiles.settled();
        const int first = server.requests();
        EXPECT_GE(first, 12);
        EXPECT_LE(server.mostAtOnce(), NetworkMapSource::MaxRequests);
        for (const QString &agent : server.userAgents())
            EXPECT_EQ(agent, NetworkMapSource::userAgent());
        EXPECT_TRUE(NetworkMapSource::userAgent().startsWith(QStringLiteral("Kestrel/" KESTREL_VERSION)));

        // Away and back: what was fetched is at hand.
        tiles.map.projection().panBy({2000, 0});
        tiles.settled();
        const int afterPan = server.requests();
        EXPECT_GT(afterPan, first);
        tiles.map.projection().panBy({-2000, 0});
        tiles.settled();
        EXPECT_EQ(server.requests(), afterPan);
    }
    // Another start: the disk cache answers while the server's max-age lasts.
    const int before = server.requests();
    TileMap again({fromServer(server, cache.path())});
    const QImage image = again.settled();
    EXPECT_EQ(server.requests(), before);
    EXPECT_GT(shareOf(image, TileServer::zoomColour(10)), 0.9) << "the cached tiles are shown";
}

TEST(MapTiles, ACaptureCopiesWhatTheWindowShows)
{
    QTemporaryDir cache;
    TileServer server;
    TileMap tiles({fromServer(server, cache.path())}, 12);
    server.marks = marksAround(tiles.map.projection());
    HostMapWindow window(&tiles.map);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    tiles.map.setSize(window.view()->size());
    tiles.settled();
    const QImage shown = window.view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage copied = tiles.map.copyArea(0, 0, shown.width(), shown.height());
    ASSERT_EQ(copied.size(), shown.size());
    EXPECT_EQ(copied, shown);
    EXPECT_EQ(tiles.map.copyArea(100, 80, 300, 200), shown.copy(100, 80, 300, 200));
}

// Points the Earth loader at a made-up world of one colour.
struct OneColourEarth
{
    QTemporaryDir dir;
    explicit OneColourEarth(QColor colour)
    {
        QImage earth(720, 360, QImage::Format_RGB32);
        earth.fill(colour);
        earth.save(dir.filePath(QStringLiteral("earth.jpg")), "JPG", 100);
        qputenv("KESTREL_EARTH_DIR", dir.path().toLocal8Bit());
    }
    ~OneColourEarth() { qunsetenv("KESTREL_EARTH_DIR"); }
};

TEST(MapTiles, BadAnswersLeaveTheEarthShowingAndNothingBroken)
{
    OneColourEarth earth(QColor(0, 0, 160));
    const QColor washed(72, 72, 187);  // the Earth lightened under the map
    struct Case
    {
        TileServer::Answer answer;
        bool askedAgainNextStart;  // a tile that is bad must not be kept
    };
    for (const Case &c : {Case{TileServer::Answer::NotFound, true}, Case{TileServer::Answer::Garbage, true},
                          Case{TileServer::Answer::CloseEarly, true}}) {
        SCOPED_TRACE(int(c.answer));
        QTemporaryDir cache;
        TileServer server;
        server.answer = [&c](TileKey key) { return key.x % 2 ? c.answer : TileServer::Answer::Tile; };
        {
            TileMap tiles({fromServer(server, cache.path()), new EarthMapSource});
            const QImage image = tiles.settled();
            EXPECT_GT(shareOf(image, TileServer::zoomColour(10)), 0.3);
            EXPECT_GT(shareOf(image, washed, 20), 0.3) << "where the server failed, the Earth shows";
        }
        const int before = server.requests();
        TileMap again({fromServer(server, cache.path()), new EarthMapSource});
        again.settled();
        EXPECT_EQ(server.requests() > before, c.askedAgainNextStart);
    }
}

TEST(MapTiles, AServerThatFailedIsAskedAgainLaterWithoutAMove)
{
    QTemporaryDir cache;
    TileServer server;
    bool failing = true;
    server.answer = [&failing](TileKey) { return failing ? TileServer::Answer::CloseEarly : TileServer::Answer::Tile; };
    TileMap tiles({fromServer(server, cache.path()), new EarthMapSource});
    tiles.map.tiles()->setRetryDelay(2000);  // longer than a round of failures takes
    EXPECT_LT(shareOf(tiles.settled(), TileServer::zoomColour(10)), 0.1);
    failing = false;
    EXPECT_TRUE(QTest::qWaitFor([&tiles] { return shareOf(tiles.map.renderImage(), TileServer::zoomColour(10)) > 0.9; },
                                5000));
}

TEST(MapTiles, AParentStandsInWhileATileLoads)
{
    QTemporaryDir cache;
    TileServer server;
    TileMap tiles({fromServer(server, cache.path())}, 9);
    tiles.settled();
    server.answer = [](TileKey key) { return key.z == 10 ? TileServer::Answer::Slow : TileServer::Answer::Tile; };
    server.slowMs = 400;
    tiles.map.projection().zoomAt({400, 300}, 1);
    const QImage loading = tiles.map.renderImage();
    EXPECT_GT(shareOf(loading, TileServer::zoomColour(9)), 0.9) << "the zoom 9 tiles, enlarged";
    EXPECT_GT(tiles.map.tiles()->waiting(), 0);
    EXPECT_GT(shareOf(tiles.settled(), TileServer::zoomColour(10)), 0.9);
}

qint64 folderBytes(const QString &path)
{
    qint64 total = 0;
    QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

TEST(MapTiles, TheDiskCacheKeepsToItsLimitDroppingTheOldest)
{
    QTemporaryDir cache;
    TileServer server;
    server.noisy = true;  // about 200 KB a tile: some 18 fit, a view needs 12 to 16
    constexpr qint64 Limit = 4 * 1024 * 1024;
    {
        TileMap tiles({fromServer(server, cache.path(), Limit)});
        for (int step = 0; step < 4; ++step) {
            if (step > 0)
                tiles.map.projection().panBy({-1024, 0});
            tiles.settled();
        }
        EXPECT_GE(server.requests(), 40);
        // The oldest go in the background, soon after the limit is passed.
        EXPECT_TRUE(QTest::qWaitFor([&cache] { return folderBytes(cache.path()) <= Limit; }, 5000))
            << folderBytes(cache.path());
        EXPECT_GT(folderBytes(cache.path()), Limit / 4) << "it does keep tiles";
    }
    // Another start: the area seen last is on disk, the one seen first is not.
    TileMap again({fromServer(server, cache.path(), Limit)});
    again.map.projection().panBy({-3 * 1024, 0});
    int before = server.requests();
    again.settled();
    EXPECT_EQ(server.requests(), before);
    again.map.projection().panBy({3 * 1024, 0});
    before = server.requests();
    again.settled();
    EXPECT_GT(server.requests(), before);
}

// Lets one test reach its loopback server through the host's own wiring.
struct AllowNetwork
{
    AllowNetwork() { qunsetenv("KESTREL_WORK_OFFLINE"); }
    ~AllowNetwork() { qputenv("KESTREL_WORK_OFFLINE", "1"); }
};

TEST(MapTiles, WorkingOfflineNeverAsksTheServerAndShowsWhatItHolds)
{
    AllowNetwork online;
    MemorySettingsStore store;
    TileServer server;
    TileServerSettings settings;
    settings.server = server.urlTemplate();
    TileMap tiles({});
    HostMapTiles wiring(tiles.map.tiles(), settings);
    ASSERT_TRUE(wiring.hasServer());
    EXPECT_FALSE(wiring.workOffline());
    tiles.settled();
    const int seen = server.requests();
    EXPECT_GT(seen, 0);

    wiring.setWorkOffline(true);
    EXPECT_EQ(store.value("Peak Systems", "Host Map", HostMapTiles::WorkOfflineKey), "1");
    EXPECT_GT(shareOf(tiles.settled(), TileServer::zoomColour(10)), 0.9) << "the cache still shows the area";
    tiles.map.projection().panBy({3000, 1500});
    tiles.settled();
    tiles.map.projection().zoomAt({400, 300}, 2);
    tiles.settled();
    EXPECT_EQ(server.requests(), seen) << "nothing at all went to the server";

    // The switch is remembered, and a forced offline start leaves the choice alone.
    TileMap nextStart({});
    HostMapTiles next(nextStart.map.tiles(), settings);
    EXPECT_TRUE(next.workOffline());
    next.setWorkOffline(false);
    {
        qputenv("KESTREL_WORK_OFFLINE", "1");
        TileMap forcedStart({});
        HostMapTiles forced(forcedStart.map.tiles(), settings);
        EXPECT_TRUE(forced.workOffline());
        forced.setWorkOffline(false);
        EXPECT_TRUE(forced.workOffline());
        qunsetenv("KESTREL_WORK_OFFLINE");
    }
    EXPECT_EQ(store.value("Peak Systems", "Host Map", HostMapTiles::WorkOfflineKey), "0");
}

TEST(MapTiles, AnOfflineFileIsAskedBeforeTheServer)
{
    QTemporaryDir cache, folder;
    TileServer server;
    MapProjection view;
    view.setSize({800, 600});
    view.setHome(HomeLat, HomeLon);
    view.setZoom(10);
    // The file holds the west of the view only: 400 pixels from 200 beyond its left edge.
    view.panBy({200, 0});
    const QString file = folder.filePath(QStringLiteral("west.mbtiles"));
    ASSERT_TRUE(MbTilesFile::write(file, server, {10}, view, QSize(400, 600)));
    view.panBy({-200, 0});
    TileMap tiles({MbTilesMapSource::open(file, nullptr).release(), fromServer(server, cache.path())});
    tiles.settled();
    ASSERT_GT(server.requests(), 0);
    double lat = 0, lon = 0;
    view.toDegrees({199, 300}, &lat, &lon);
    const int lastInFile = TileServer::tileAt(lat, lon, 10).x;
    for (const TileKey &key : server.requested())
        EXPECT_GT(key.x, lastInFile) << "asked only for tiles the file lacks";
    EXPECT_LT(server.requests(), 12);
}

TEST(MapTiles, DeeperThanAFileGoesItsTilesAreEnlarged)
{
    QTemporaryDir folder;
    TileServer server;
    MapProjection view;
    view.setSize({800, 600});
    view.setHome(HomeLat, HomeLon);
    view.setZoom(8);
    const QString file = folder.filePath(QStringLiteral("coarse.mbtiles"));
    ASSERT_TRUE(MbTilesFile::write(file, server, {8}, view));
    TileMap tiles({MbTilesMapSource::open(file, nullptr).release(), new EarthMapSource}, 12);
    EXPECT_GT(shareOf(tiles.settled(), TileServer::zoomColour(8)), 0.9);

    // Enlarged past a few levels, a file gives way to the source behind it;
    // with none behind it, it is still better than nothing.
    const QString small = folder.filePath(QStringLiteral("world.mbtiles"));
    view.setZoom(4);
    ASSERT_TRUE(MbTilesFile::write(small, server, {0, 1}, view));
    for (const bool earthBehind : {true, false}) {
        QList<MapSource *> sources{MbTilesMapSource::open(small, nullptr).release()};
        if (earthBehind)
            sources.append(new EarthMapSource);
        TileMap deep(sources, 1 + TileLayer::MaxEnlargement + 4);
        const double fromFile = shareOf(deep.settled(), TileServer::zoomColour(1));
        if (earthBehind)
            EXPECT_LT(fromFile, 0.1) << "the Earth is hidden by a smear";
        else
            EXPECT_GT(fromFile, 0.9);
    }
}

TEST(MapTiles, BadOfflineFilesAreRefusedWithAReason)
{
    QTemporaryDir folder;
    auto path = [&folder](const char *name) { return folder.filePath(QLatin1String(name)); };
    QFile junk(path("junk.mbtiles"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(5000, 'x'));
    junk.close();
    QFile(path("empty.mbtiles")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(MbTilesFile::writeRaw(path("notiles.mbtiles"), {QStringLiteral("CREATE TABLE other (a)")}));
    for (const char *name : {"missing.mbtiles", "junk.mbtiles", "empty.mbtiles", "notiles.mbtiles"}) {
        QString reason;
        EXPECT_EQ(MbTilesMapSource::open(path(name), &reason), nullptr) << name;
        EXPECT_FALSE(reason.isEmpty()) << name;
    }

    // A file whose tiles are all wrong: each is missing, nothing breaks.
    ASSERT_TRUE(MbTilesFile::writeRaw(
        path("badtiles.mbtiles"),
        {QStringLiteral("CREATE TABLE metadata (name, value)"),
         QStringLiteral("INSERT INTO metadata VALUES ('maxzoom', 'deep'), ('attribution', '<a href=\"x\">&copy; Me</a>')"),
         QStringLiteral("CREATE TABLE tiles (zoom_level, tile_column, tile_row, tile_data)"),
         QStringLiteral("INSERT INTO tiles VALUES (10, 508, 681, x'89504e470d0a1a0a0000')"),
         QStringLiteral("INSERT INTO tiles VALUES (10, 509, 681, NULL)"),
         QStringLiteral("INSERT INTO tiles VALUES (10, 507, 681, 'text')"),
         QStringLiteral("INSERT INTO tiles VALUES (99, -5, 3000000000, x'00')")}));
    auto source = MbTilesMapSource::open(path("badtiles.mbtiles"), nullptr);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->attribution(), QString(QChar(0xA9)) + QStringLiteral(" Me")) << "markup dropped";
    TileMap tiles({source.release(), new EarthMapSource});
    tiles.settled();
    EXPECT_EQ(tiles.map.tiles()->waiting(), 0);
}

TEST(MapTiles, TheMapMenuOpensAndClosesOfflineMapsAndRemembersThem)
{
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    QTemporaryDir folder;
    TileServer server;
    MapProjection view;
    view.setSize({800, 600});
    view.setHome(HomeLat, HomeLon);
    const QString file = folder.filePath(QStringLiteral("area.mbtiles"));
    ASSERT_TRUE(MbTilesFile::write(file, server, {view.zoom()}, view));

    TileMap tiles({});
    HostMapTiles wiring(tiles.map.tiles(), TileServerSettings{});
    HostMapWindow window(&tiles.map, &wiring);
    auto action = [&window](const char *name) { return window.mapMenu()->findChild<QAction *>(name); };
    ASSERT_TRUE(action("actOpenOfflineMap"));
    EXPECT_TRUE(action("actWorkOffline")->isChecked()) << "tests run offline";
    EXPECT_FALSE(action("actWorkOffline")->isEnabled());

    prompts.fileAnswers.enqueue(folder.filePath(QStringLiteral("nosuch.mbtiles")));
    action("actOpenOfflineMap")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&prompts] { return !prompts.shown.isEmpty(); }));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(wiring.offlineMaps().isEmpty()) << "a file refused is not kept";
    EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("nosuch.mbtiles cannot be used as an offline map")));
    EXPECT_EQ(prompts.shown[0].title, HostMapWindow::OpenOfflineMapTitle);

    prompts.fileAnswers.enqueue(file);
    action("actOpenOfflineMap")->trigger();
    EXPECT_EQ(wiring.offlineMaps(), QStringList{file});
    ASSERT_TRUE(QTest::qWaitFor([&wiring] { return !wiring.opening(); }));
    ASSERT_TRUE(action("actOfflineMap"));
    EXPECT_EQ(action("actOfflineMap")->text(), QStringLiteral("area.mbtiles"));
    EXPECT_GT(shareOf(tiles.settled(), TileServer::zoomColour(view.zoom())), 0.9);
    {
        TileMap other({});
        EXPECT_EQ(HostMapTiles(other.map.tiles(), TileServerSettings{}).offlineMaps(), QStringList{file});
    }

    action("actOfflineMap")->toggle();
    QTest::qWait(10);
    EXPECT_TRUE(wiring.offlineMaps().isEmpty());
    EXPECT_FALSE(action("actOfflineMap"));
    TileMap other({});
    EXPECT_TRUE(HostMapTiles(other.map.tiles(), TileServerSettings{}).offlineMaps().isEmpty());
}

TEST(TileDecoder, TakesSquareTilesAndRefusesAnythingElse)
{
    auto encode = [](QSize size, const char *format) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        image.save(&out, format);
        return bytes;
    };
    // A PNG header claiming a picture of 100,000 pixels square.
    QByteArray huge = encode({256, 256}, "PNG");
    huge.replace(16, 8, QByteArray::fromHex("000186a0000186a0"));
    struct Case
    {
        const char *what;
        QByteArray bytes;
        bool taken;
    };
    const Case cases[] = {
        {"png 256", encode({256, 256}, "PNG"), true},
        {"jpeg 256", encode({256, 256}, "JPG"), true},
        {"png 512, for high-density screens", encode({512, 512}, "PNG"), true},
        {"not square", encode({300, 200}, "PNG"), false},
        {"too small", encode({16, 16}, "PNG"), false},
        {"bmp", encode({256, 256}, "BMP"), false},
        {"huge header", huge, false},
        {"cut short", encode({256, 256}, "PNG").left(60), false},
        {"empty", QByteArray(), false},
        {"html", QByteArray("<html><body>Too many requests</body></html>"), false},
    };
    for (const Case &c : cases) {
        const QImage image = TileDecoder::decode(c.bytes);
        EXPECT_EQ(!image.isNull(), c.taken) << c.what;
        if (c.taken) {
            EXPECT_EQ(image.size(), QSize(256, 256)) << c.what;
        }
    }
    // Good tiles with bytes changed at random: a picture or nothing, never a crash.
    QRandomGenerator random(27);
    for (const char *format : {"PNG", "JPG"}) {
        const QByteArray good = encode({256, 256}, format);
        for (int i = 0; i < 300; ++i) {
            QByteArray bad = good;
            for (int n = int(random.bounded(1, 8)); n > 0; --n)
                bad[int(random.bounded(int(bad.size())))] = char(random.bounded(256));
            const QImage image = TileDecoder::decode(bad);
            EXPECT_TRUE(image.isNull() || image.size() == QSize(256, 256));
        }
    }
}

TEST(TileServerSettings, TheHostFileNamesTheServerAndItsCredit)
{
    struct Case
    {
        QByteArray map;
        QString server, attribution;
    };
    const QString osm = TileServerSettings::DefaultServer;
    const QString credit = TileServerSettings::DefaultAttribution;
    const QString other = QStringLiteral("https://tiles.example.org/{z}/{x}/{y}.png");
    const Case cases[] = {
        {"", osm, credit},
        {"TileServer=" + other.toLatin1(), other, QString()},
        {"TileServer=" + other.toLatin1() + "\r\nTileAttribution=Example maps", other, QStringLiteral("Example maps")},
        {"TileServer=", QString(), QString()},
        {"TileServer=" + osm.toLatin1(), osm, credit},
    };
    for (const Case &c : cases) {
        QTemporaryDir folder;
        QFile ini(folder.filePath(HostConfig::FileName));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Map]\r\n" + c.map + "\r\nTileCacheMB=12\r\n");
        ini.close();
        const HostConfig config = HostConfig::read(folder.path());
        EXPECT_EQ(config.tiles.server, c.server) << c.map.constData();
        EXPECT_EQ(config.tiles.attribution, c.attribution) << c.map.constData();
        EXPECT_EQ(config.tiles.cacheMB, 12);
    }
    EXPECT_FALSE(NetworkMapSource::isUsableTemplate(QString()));
    EXPECT_FALSE(NetworkMapSource::isUsableTemplate(QStringLiteral("file:///etc/{z}/{x}/{y}")));
    EXPECT_FALSE(NetworkMapSource::isUsableTemplate(QStringLiteral("https://a.org/{z}/{x}.png")));
    EXPECT_EQ(NetworkMapSource::tileUrl(osm, {10, 508, 340}).toString(),
              QStringLiteral("https://tile.openstreetmap.org/10/508/340.png"));
}

} // namespace
