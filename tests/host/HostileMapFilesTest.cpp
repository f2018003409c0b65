// Offline map files made to hold Kestrel hostage: views that never end or
// compute huge values. Each is refused or closed in bounded time, off the
// user-interface thread, remembered as closed, and no read outlives its source.
#include "MbTilesFile.h"

#include "host/StationDatabase.h"
#include "host/map/EmbeddedHostMap.h"
#include "host/map/HostMapWindow.h"
#include "host/tiles/EarthMapSource.h"
#include "host/tiles/HostMapTiles.h"
#include "host/tiles/MbTilesMapSource.h"
#include "host/tiles/MbTilesReader.h"
#include "host/tiles/TileLayer.h"

#include "ScriptedPorts.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace {

const QString Endless = QStringLiteral("WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) ");
const QString EndlessMetadata =
    QStringLiteral("CREATE VIEW metadata AS ") + Endless + QStringLiteral("SELECT 'name' AS name, n AS value FROM r WHERE n < 0");
const QString EndlessTiles = QStringLiteral("CREATE VIEW tiles AS ") + Endless
                             + QStringLiteral("SELECT 10 AS zoom_level, 500 + n % 20 AS tile_column, 670 + n % 20 AS tile_row, "
                                              "x'00' AS tile_data FROM r WHERE n < 0");
const QString PlainTiles = QStringLiteral("CREATE TABLE tiles (zoom_level, tile_column, tile_row, tile_data)");
const QString Metadata = QStringLiteral("CREATE TABLE metadata (name, value)");
const QString StatesMaxZoom = QStringLiteral("INSERT INTO metadata VALUES ('maxzoom', '12')");
// 900 MB computed for every tile around home at zoom 10.
const QString Places = QStringLiteral("CREATE TABLE places (x, y)");
const QString AroundHome = QStringLiteral("INSERT INTO places WITH RECURSIVE r(n) AS (SELECT 0 UNION ALL "
                                          "SELECT n + 1 FROM r WHERE n < 399) SELECT 500 + n % 20, 670 + n / 20 FROM r");
const QString HugeTiles = QStringLiteral("CREATE VIEW tiles AS SELECT 10 AS zoom_level, x AS tile_column, "
                                         "y AS tile_row, randomblob(900000000) AS tile_data FROM places");

constexpr qint64 Bound = MbTilesReader::StatementTime.count() + 1500;

struct HostileFile
{
    const char *name;
    QStringList statements;
    bool examinedGood;  // the file looks fine until its tiles are read
};

const QList<HostileFile> &hostileFiles()
{
    static const QList<HostileFile> files{
        {"endless-metadata.mbtiles", {EndlessMetadata, PlainTiles}, false},
        {"endless-maxzoom.mbtiles", {Metadata, EndlessTiles}, false},
        {"endless-tiles.mbtiles", {Metadata, StatesMaxZoom, EndlessTiles}, true},
        {"huge-tiles.mbtiles", {Metadata, StatesMaxZoom, Places, AroundHome, HugeTiles}, true},
    };
    return files;
}

struct HostileMapFiles : ::testing::Test
{
    QTemporaryDir folder;
    QString path(const HostileFile &file)
    {
        const QString at = folder.filePath(QLatin1String(file.name));
        if (!QFile::exists(at)) {
            EXPECT_TRUE(MbTilesFile::writeRaw(at, file.statements)) << file.name;
        }
        return at;
    }
};

struct TileMap
{
    StationDatabase database;
    EmbeddedHostMap map{&database};
    TileMap()
    {
        map.setHome(QStringLiteral("G0KST"), 51.75, -1.25);
        map.setSize({800, 600});
        map.projection().setZoom(10);
    }
};

} // namespace

TEST_F(HostileMapFiles, EachIsRefusedOrFailsItsFirstTilesInBoundedTime)
{
    for (const HostileFile &file : hostileFiles()) {
        QElapsedTimer clock;
        clock.start();
        const MbTilesMapSource::Facts facts = MbTilesMapSource::examine(path(file));
        EXPECT_LT(clock.elapsed(), Bound) << file.name;
        EXPECT_EQ(facts.error.isEmpty(), file.examinedGood) << file.name << " " << facts.error.toStdString();
        if (!file.examinedGood)
            continue;
        auto *source = MbTilesMapSource::fromFacts(facts).release();
        QString reason;
        QObject::connect(source, &PooledMapSource::failed, [&reason](const QString &why) { reason = why; });
        TileMap tiles;
        tiles.map.tiles()->setSources({source, new EarthMapSource});
        tiles.map.renderImage();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !reason.isEmpty(); }, int(Bound))) << file.name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return tiles.map.tiles()->waiting() == 0; }, int(2 * Bound)))
            << file.name << ": every tile answered once the file failed";
    }
}

TEST_F(HostileMapFiles, RememberedOnesAreLookedAtOffThisThreadAndNotRetriedAtTheNextStart)
{
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    const QString application = QStringLiteral("Peak Systems"), section = QStringLiteral("Host Map");
    int n = 0;
    for (const HostileFile &file : hostileFiles())
        store.write(application, section, HostMapTiles::OfflineMapKey + QString::number(++n), path(file));

    TileMap tiles;
    QElapsedTimer clock;
    clock.start();
    auto wiring = std::make_unique<HostMapTiles>(tiles.map.tiles(), TileServerSettings{});
    EXPECT_LT(clock.elapsed(), 500) << "the files are read on the pool";
    EXPECT_TRUE(wiring->opening());
    HostMapWindow window(&tiles.map, wiring.get());
    window.resize(800, 600);
    tiles.map.renderImage();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto &maps = wiring->offlineMapList();
            return std::all_of(maps.cbegin(), maps.cend(),
                               [](const HostMapTiles::OfflineMap &m) { return m.state == HostMapTiles::State::Off; });
        },
        int(4 * Bound)));
    EXPECT_TRUE(prompts.shown.isEmpty()) << "nothing the user asked for just now";
    EXPECT_FALSE(wiring->problem().isEmpty());
    EXPECT_TRUE(window.statusText().contains(wiring->problem()));
    const QList<QAction *> entries = window.mapMenu()->findChildren<QAction *>(QStringLiteral("actOfflineMap"));
    ASSERT_EQ(entries.size(), hostileFiles().size());
    for (QAction *entry : entries) {
        EXPECT_FALSE(entry->isChecked()) << entry->text().toStdString();
        EXPECT_TRUE(entry->text().contains(QLatin1String("closed"))) << entry->text().toStdString();
    }

    // The next start leaves them closed, still listed.
    {
        TileMap again;
        HostMapTiles next(again.map.tiles(), TileServerSettings{});
        EXPECT_FALSE(next.opening());
        EXPECT_EQ(next.offlineMaps(), wiring->offlineMaps());
    }

    // Ticking one tries it again; failing again, the user is told and it is let go.
    entries.first()->toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown.isEmpty(); }, int(2 * Bound)));
    EXPECT_TRUE(prompts.shown.last().text.contains(QLatin1String("cannot be used as an offline map")));
    EXPECT_EQ(wiring->offlineMaps().size(), hostileFiles().size() - 1);
}

TEST_F(HostileMapFiles, GoingWhileReadsAreInFlightWaitsForNothingLong)
{
    const HostileFile &endless = hostileFiles()[2];
    for (int round = 0; round < 3; ++round) {
        auto tiles = std::make_unique<TileMap>();
        auto *source = MbTilesMapSource::open(path(endless), nullptr).release();
        ASSERT_TRUE(source);
        tiles->map.tiles()->setSources({source, new EarthMapSource});
        tiles->map.renderImage();
        ASSERT_TRUE(source->isBusy());
        QTest::qWait(200);
        QElapsedTimer clock;
        clock.start();
        tiles.reset();
        EXPECT_LT(clock.elapsed(), 500) << "the read in flight is cancelled";
        EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(200)) << "no read outlives its source";
    }

    // A file being looked at when the wiring goes.
    MemorySettingsStore store;
    store.write(QStringLiteral("Peak Systems"), QStringLiteral("Host Map"), HostMapTiles::OfflineMapKey + QStringLiteral("1"),
                path(hostileFiles()[0]));
    TileMap tiles;
    auto wiring = std::make_unique<HostMapTiles>(tiles.map.tiles(), TileServerSettings{});
    QTest::qWait(200);
    QElapsedTimer clock;
    clock.start();
    wiring.reset();
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(200));
}
