#include "host/tiles/MbTilesReader.h"

#include "host/tiles/TileDecoder.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

namespace {

const QString Driver = QStringLiteral("QSQLITE");

QString nextConnectionName()
{
    static std::atomic<quint64> serial{0};
    return QStringLiteral("kestrel-mbtiles-%1").arg(++serial);
}

} // namespace

MbTilesReader::MbTilesReader(const QString &path)
    : m_connection(nextConnectionName())
{
    if (!QSqlDatabase::isDriverAvailable(Driver)) {
        m_error = QStringLiteral("Qt's SQLite driver is not installed (Debian package libqt6sql6-sqlite).");
        return;
    }
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        m_error = QStringLiteral("The file cannot be read.");
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(Driver, m_connection);
    db.setDatabaseName(info.absoluteFilePath());
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        m_error = db.lastError().text();
        return;
    }
    m_query = std::make_unique<QSqlQuery>(db);
    // SQLite only reads the file at the first statement: this is where a
    // file that is not a database, or one without tiles, shows.
    // A blob too large to be a tile is never read into memory.
    if (!m_query->prepare(QStringLiteral("SELECT tile_data FROM tiles WHERE zoom_level = ? AND tile_column = ? "
                                         "AND tile_row = ? AND length(tile_data) <= %1")
                              .arg(TileDecoder::MaxBytes))) {
        m_error = QStringLiteral("It holds no map tiles (%1).").arg(m_query->lastError().text());
        return;
    }
    m_rowsFromNorth = metadata(QStringLiteral("scheme")).trimmed().compare(QLatin1String("xyz"), Qt::CaseInsensitive) == 0;
}

MbTilesReader::~MbTilesReader()
{
    // The connection can only go once nothing uses it.
    m_query.reset();
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QString MbTilesReader::metadata(const QString &name) const
{
    if (!m_query)
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.prepare(QStringLiteral("SELECT value FROM metadata WHERE name = ?")))
        return {};
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return {};
    return query.value(0).toString();
}

int MbTilesReader::maxZoom() const
{
    bool ok = false;
    const int stated = metadata(QStringLiteral("maxzoom")).trimmed().toInt(&ok);
    if (ok && stated >= 0 && stated <= 29)
        return stated;
    if (!m_query)
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("SELECT MAX(zoom_level) FROM tiles")) || !query.next())
        return -1;
    const int found = query.value(0).toInt(&ok);
    return ok && found >= 0 && found <= 29 ? found : -1;
}

QByteArray MbTilesReader::tile(TileKey key)
{
    if (!isOpen() || !key.isValid())
        return {};
    const int row = m_rowsFromNorth ? key.y : (1 << key.z) - 1 - key.y;
    m_query->bindValue(0, key.z);
    m_query->bindValue(1, key.x);
    m_query->bindValue(2, row);
    if (!m_query->exec() || !m_query->next())
        return {};
    const QVariant data = m_query->value(0);
    m_query->finish();
    return data.typeId() == QMetaType::QByteArray || data.typeId() == QMetaType::QString ? data.toByteArray()
                                                                                          : QByteArray();
}
