// A loopback tile server that answers slowly or without end: the requests
// it holds are bounded in time and size, given up when the view moves on,
// and never keep the other tiles from coming.
#include "TileServer.h"

#include "host/StationDatabase.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/tiles/NetworkMapSource.h"
#include "host/tiles/TileLayer.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct NetworkMap
{
    QTemporaryDir cache;
    StationDatabase database;
    EmbeddedHostMap map{&database};

    explicit NetworkMap(const TileServer &server)
    {
        map.setHome(QStringLiteral("G0KST"), 51.75, -1.25);
        map.setSize({800, 600});
        map.projection().setZoom(10);
        NetworkMapSource::Settings settings;
        settings.urlTemplate = server.urlTemplate();
        settings.cacheFolder = cache.path();
        map.tiles()->setSources({new NetworkMapSource(settings)});
    }
    // Milliseconds until every tile in view is answered, or -1 past the limit.
    qint64 settleWithin(int limitMs)
    {
        QElapsedTimer clock;
        clock.start();
        map.renderImage();
        return QTest::qWaitFor([this] { return map.tiles()->waiting() == 0; }, limitMs) ? clock.elapsed() : -1;
    }
};

// The first `count` tiles asked for are answered `how`, the rest at once.
void firstAnswered(TileServer &server, TileServer::Answer how, int count)
{
    auto asked = std::make_shared<int>(0);
    server.answer = [asked, how, count](TileKey) { return ++*asked <= count ? how : TileServer::Answer::Tile; };
}

} // namespace

TEST(SlowTileServer, BodiesTooLargeAreRefusedAtOnceAndNeverHeld)
{
    struct Case
    {
        TileServer::Answer how;
        const char *what;
    };
    for (const Case &c : {Case{TileServer::Answer::HugeLength, "a 2 GB length"}, Case{TileServer::Answer::Endless, "an endless chunked body"}}) {
        TileServer server;
        firstAnswered(server, c.how, 2);
        NetworkMap tiles(server);
        const qint64 took = tiles.settleWithin(NetworkMapSource::TotalTimeoutMs / 2);
        EXPECT_GE(took, 0) << c.what << ": refused well before the request's time is up";
        // What the kernel's socket buffers hold besides: far below what was claimed.
        EXPECT_LT(server.floodWritten(), 40LL * 1024 * 1024) << c.what;
        EXPECT_LE(server.mostAtOnce(), NetworkMapSource::MaxRequests);
    }
}

TEST(SlowTileServer, ATrickleEndsAtTheRequestsTotalTime)
{
    TileServer server;
    server.dripMs = 300;  // well inside the time a quiet server is allowed
    firstAnswered(server, TileServer::Answer::Drip, 2);
    NetworkMap tiles(server);
    const qint64 took = tiles.settleWithin(NetworkMapSource::TotalTimeoutMs + 4000);
    EXPECT_GE(took, NetworkMapSource::TotalTimeoutMs - 500);
    EXPECT_GE(took, 0) << "two trickling answers held every tile";
    EXPECT_LE(server.mostAtOnce(), NetworkMapSource::MaxRequests);
}

TEST(SlowTileServer, MovingAwayGivesUpTheSlowRequestsAndTheNewViewComes)
{
    TileServer server;
    server.dripMs = 300;
    firstAnswered(server, TileServer::Answer::Drip, 2);
    NetworkMap tiles(server);
    tiles.map.renderImage();
    ASSERT_TRUE(QTest::qWaitFor([&server] { return server.requests() >= 2; }, 3000));
    tiles.map.projection().setZoom(6);  // a view none of whose tiles is held
    const qint64 took = tiles.settleWithin(NetworkMapSource::TotalTimeoutMs / 2);
    EXPECT_GE(took, 0) << "the new view waited for tiles no longer wanted";
    EXPECT_LE(server.mostAtOnce(), NetworkMapSource::MaxRequests);
}

TEST(SlowTileServer, AServerThatCannotBeReachedIsSaidSoOnTheMap)
{
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost));
    const quint16 port = gone.serverPort();
    gone.close();
    QTemporaryDir cache;
    StationDatabase database;
    EmbeddedHostMap map{&database};
    map.setSize({400, 300});
    map.projection().setZoom(10);
    NetworkMapSource::Settings settings;
    settings.urlTemplate = QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(port);
    settings.cacheFolder = cache.path();
    map.tiles()->setSources({new NetworkMapSource(settings)});
    QImage canvas(400, 300, QImage::Format_RGB32);
    QPainter painter(&canvas);
    map.tiles()->show(map.projection());
    EXPECT_FALSE(map.tiles()->paint(painter, map.projection()).fetchFailing) << "nothing asked yet";
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.tiles()->waiting() == 0; }, 5000));
    EXPECT_TRUE(map.tiles()->paint(painter, map.projection()).fetchFailing);
}
