#include "MbTilesFile.h"

#include "TileServer.h"

#include "host/map/MapProjection.h"

#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString Connection = QStringLiteral("test-mbtiles-writer");

template <typename Fill>
bool withDatabase(const QString &path, Fill fill)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Connection);
        db.setDatabaseName(path);
        if (db.open()) {
            db.transaction();
            ok = fill(db);
            ok = db.commit() && ok;
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(Connection);
    return ok;
}

} // namespace

bool MbTilesFile::writeRaw(const QString &path, const QStringList &statements)
{
    return withDatabase(path, [&statements](QSqlDatabase &db) {
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement))
                return false;
        }
        return true;
    });
}

bool MbTilesFile::write(const QString &path, const TileServer &server, const QList<int> &zooms,
                        const MapProjection &view, QSize area)
{
    if (area.isEmpty())
        area = view.size();
    double north = 0, west = 0, south = 0, east = 0;
    view.toDegrees({0, 0}, &north, &west);
    view.toDegrees(QPointF(area.width() - 1, area.height() - 1), &south, &east);
    return withDatabase(path, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        bool ok = query.exec(QStringLiteral("CREATE TABLE metadata (name TEXT, value TEXT)"))
                  && query.exec(QStringLiteral("CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, "
                                               "tile_row INTEGER, tile_data BLOB)"))
                  && query.exec(QStringLiteral("CREATE UNIQUE INDEX tile_index ON tiles "
                                               "(zoom_level, tile_column, tile_row)"))
                  && query.exec(QStringLiteral("INSERT INTO metadata VALUES ('format', 'png'), "
                                               "('attribution', 'Test file tiles')"));
        for (const int z : zooms) {
            const TileKey first = TileServer::tileAt(north, west, z);
            const TileKey last = TileServer::tileAt(south, east, z);
            for (int x = first.x; x <= last.x; ++x)
                for (int y = first.y; y <= last.y; ++y) {
                    QByteArray png;
                    QBuffer out(&png);
                    out.open(QIODevice::WriteOnly);
                    server.tileImage({z, x, y}).save(&out, "PNG");
                    ok = ok && query.prepare(QStringLiteral("INSERT INTO tiles VALUES (?, ?, ?, ?)"));
                    query.addBindValue(z);
                    query.addBindValue(x);
                    query.addBindValue((1 << z) - 1 - y);
                    query.addBindValue(png);
                    ok = ok && query.exec();
                }
        }
        return ok;
    });
}
