// Trimming the tile cache deletes only the files the cache wrote, in its own
// folder: never through a symbolic link, never a file someone put there.
#include "host/tiles/TileDiskCache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void put(const QString &path, qint64 bytes = 4096)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(QByteArray(bytes, 'x'));
}

} // namespace

TEST(TileCacheLinks, TrimmingKeepsToTheCachesOwnFilesAndFollowsNoLink)
{
    QTemporaryDir top;
    const QString cache = top.filePath(QStringLiteral("cache"));
    const QString elsewhere = top.filePath(QStringLiteral("elsewhere"));
    for (int i = 0; i < 8; ++i)
        put(cache + QStringLiteral("/data8/%1/abc%1.d").arg(i));
    const QStringList bystanders{elsewhere + "/data8/0/victim.d", elsewhere + "/precious.d", cache + "/notes.d",
                                 cache + "/data8/notes.d", cache + "/data8/0/not a tile.d"};
    for (const QString &path : bystanders)
        put(path);
    // Links a user (or anyone) might leave in the cache folder.
    ASSERT_TRUE(QFile::link(elsewhere, cache + "/data9"));
    ASSERT_TRUE(QFile::link(elsewhere + "/data8/0", cache + "/data8/f"));
    ASSERT_TRUE(QFile::link(elsewhere + "/precious.d", cache + "/data8/1/linked.d"));
    // A cache folder that is itself a link is not trimmed at all.
    const QString linkedCache = top.filePath(QStringLiteral("linked"));
    ASSERT_TRUE(QFile::link(elsewhere, linkedCache));

    EXPECT_EQ(TileDiskCache::trim(linkedCache, 0), 0);
    const qint64 left = TileDiskCache::trim(cache, 0);
    EXPECT_EQ(left, 0);
    for (const QString &path : bystanders)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    EXPECT_TRUE(QFileInfo(cache + "/data8/1/linked.d").isSymLink()) << "the link itself is not the cache's either";
    EXPECT_TRUE(QDir(cache + "/data8/3").entryList(QDir::Files).isEmpty()) << "the cache's own files go";
}
