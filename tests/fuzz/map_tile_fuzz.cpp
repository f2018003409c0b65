// Map tiles and offline tile files from outside. The first byte chooses:
// the rest as a tile from a server, as a whole MBTiles file, as the
// metadata and tile of an MBTiles file that is otherwise well formed, or as
// the sizes of a file whose tiles are a view that runs long and computes
// large values. However the file is made, reading it ends in bounded time
// and no tile read is larger than a tile may be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include "host/tiles/MbTilesMapSource.h"
#include "host/tiles/MbTilesReader.h"
#include "host/tiles/TileDecoder.h"

namespace {

QString scratchFile()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/map_tile_fuzz_%1.mbtiles")
                                                       .arg(QCoreApplication::applicationPid());
    return path;
}

void checkTile(const QByteArray &bytes)
{
    const QImage image = TileDecoder::decode(bytes);
    if (!image.isNull() && image.size() != QSize(256, 256))
        abort();
}

void readFile()
{
    QElapsedTimer clock;
    clock.start();
    {
        MbTilesReader reader(scratchFile());
        (void)reader.metadata(QStringLiteral("name"));
        const int deepest = reader.maxZoom();
        if (deepest < -1 || deepest > 29)
            abort();
        for (const TileKey key : {TileKey{0, 0, 0}, TileKey{1, 1, 0}, TileKey{10, 511, 340}}) {
            const QByteArray bytes = reader.tile(key);
            if (bytes.size() > TileDecoder::MaxBytes)
                abort();
            checkTile(bytes);
        }
        // A reader stopped once reads nothing more.
        if (reader.failed() && (reader.isOpen() || !reader.tile({0, 0, 0}).isEmpty()))
            abort();
    }
    (void)MbTilesMapSource::open(scratchFile(), nullptr);
    // Two readers, each stopped at its first statement over time at worst.
    if (clock.elapsed() > 3 * MbTilesReader::StatementTime.count() + 2000)
        abort();
}

// Tiles as a view of `rows` rows (a recursion the query must walk) each
// computing a blob of `bytes` bytes.
void writeHeavyView(const QByteArray &data)
{
    auto number = [&data](int at) {
        quint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | quint8(at + i < data.size() ? data[at + i] : 0);
        return v;
    };
    const quint64 rows = number(0) % 2000000000ULL;
    const quint64 bytes = number(4) % 1000000000ULL;
    QFile::remove(scratchFile());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz-writer"));
        db.setDatabaseName(scratchFile());
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("CREATE TABLE metadata (name, value)"));
            if (data.size() > 8 && (data[8] & 1))
                q.exec(QStringLiteral("INSERT INTO metadata VALUES ('maxzoom', '10')"));
            q.exec(QStringLiteral("CREATE VIEW tiles AS WITH RECURSIVE r(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM r "
                                  "WHERE n < %1) SELECT n % 11 AS zoom_level, n % 1024 AS tile_column, "
                                  "n % 700 AS tile_row, randomblob(%2) AS tile_data FROM r")
                       .arg(rows)
                       .arg(bytes));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuzz-writer"));
}

void writeDatabase(const QByteArray &data)
{
    QFile::remove(scratchFile());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz-writer"));
        db.setDatabaseName(scratchFile());
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("CREATE TABLE metadata (name, value)"));
            q.exec(QStringLiteral("CREATE TABLE tiles (zoom_level, tile_column, tile_row, tile_data)"));
            const QList<QByteArray> parts = data.split('\0');
            const char *names[] = {"maxzoom", "scheme", "attribution", "name"};
            for (int i = 0; i < 4 && i < parts.size(); ++i) {
                q.prepare(QStringLiteral("INSERT INTO metadata VALUES (?, ?)"));
                q.addBindValue(QString::fromLatin1(names[i]));
                q.addBindValue(QString::fromUtf8(parts[i]));
                q.exec();
            }
            q.prepare(QStringLiteral("INSERT INTO tiles VALUES (0, 0, 0, ?)"));
            q.addBindValue(parts.size() > 4 ? parts.mid(4).join('\0') : QByteArray());
            q.exec();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fuzz-writer"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 4) {
    case 0:
        checkTile(rest);
        break;
    case 1: {
        QFile file(scratchFile());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(rest);
        file.close();
        readFile();
        break;
    }
    case 2:
        writeDatabase(rest);
        readFile();
        break;
    default:
        writeHeavyView(rest);
        readFile();
        break;
    }
    return 0;
}
