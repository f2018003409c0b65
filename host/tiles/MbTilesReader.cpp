#include "host/tiles/MbTilesReader.h"

#include "host/tiles/TileDecoder.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <sqlite3.h>

namespace {

const QString Driver = QStringLiteral("QSQLITE");
// Virtual-machine steps between looks at the clock: a few microseconds.
constexpr int StepsBetweenChecks = 1000;
// Room for a tile and its row; no value a tile file needs is larger.
constexpr int LargestValue = int(TileDecoder::MaxBytes) + 64 * 1024;

QString nextConnectionName()
{
    static std::atomic<quint64> serial{0};
    return QStringLiteral("kestrel-mbtiles-%1").arg(++serial);
}

int checkGuard(void *context)
{
    auto *guard = static_cast<MbTilesReader::Guard *>(context);
    if (guard->cancel && guard->cancel->load(std::memory_order_relaxed))
        return 1;
    if (std::chrono::steady_clock::now() > guard->deadline) {
        guard->expired = true;
        return 1;
    }
    return 0;
}

sqlite3 *handleOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

MbTilesReader::MbTilesReader(const QString &path, Cancel cancel)
    : m_connection(nextConnectionName())
    , m_guard(std::make_unique<Guard>(Guard{std::move(cancel), {}, false}))
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
    sqlite3 *handle = handleOf(db);
    if (!handle) {
        // Without the guard a view could hold the reader for ever.
        m_error = QStringLiteral("Qt's SQLite driver gives no handle to limit its queries by.");
        return;
    }
    sqlite3_progress_handler(handle, StepsBetweenChecks, &checkGuard, m_guard.get());
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, LargestValue);
    m_query = std::make_unique<QSqlQuery>(db);
    arm();
    // SQLite only reads the file at the first statement: this is where a
    // file that is not a database, or one without tiles, shows.
    // A blob too large to be a tile is never read into memory.
    if (!m_query->prepare(QStringLiteral("SELECT tile_data FROM tiles WHERE zoom_level = ? AND tile_column = ? "
                                         "AND tile_row = ? AND length(tile_data) <= %1")
                              .arg(TileDecoder::MaxBytes))) {
        m_error = QStringLiteral("It holds no map tiles (%1).").arg(m_query->lastError().text());
        m_query.reset();
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

void MbTilesReader::arm()
{
    m_guard->deadline = std::chrono::steady_clock::now() + StatementTime;
    m_guard->expired = false;
}

void MbTilesReader::checkStopped(const QString &what, const QString &sqlError)
{
    const bool cancelled = m_guard->cancel && m_guard->cancel->load();
    if (m_guard->expired) {
        m_error = QStringLiteral("Reading its %1 took longer than %2 seconds.")
                      .arg(what)
                      .arg(double(StatementTime.count()) / 1000.0);
    } else if (sqlError.contains(QLatin1String("too big"), Qt::CaseInsensitive)) {
        m_error = QStringLiteral("Its %1 holds a value too large for a map.").arg(what);
    } else if (!cancelled) {
        return;
    } else {
        m_error = QStringLiteral("Reading was stopped.");
    }
    m_failed = !cancelled;
    m_query.reset();
}

QString MbTilesReader::metadata(const QString &name)
{
    if (!m_query)
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    arm();
    if (!query.prepare(QStringLiteral("SELECT value FROM metadata WHERE name = ?")))
        return {};
    query.addBindValue(name);
    arm();
    if (!query.exec() || !query.next()) {
        checkStopped(QStringLiteral("metadata"), query.lastError().text());
        return {};
    }
    return query.value(0).toString();
}

int MbTilesReader::maxZoom()
{
    bool ok = false;
    const int stated = metadata(QStringLiteral("maxzoom")).trimmed().toInt(&ok);
    if (ok && stated >= 0 && stated <= 29)
        return stated;
    if (!m_query)
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    arm();
    if (!query.exec(QStringLiteral("SELECT MAX(zoom_level) FROM tiles")) || !query.next()) {
        checkStopped(QStringLiteral("tiles"), query.lastError().text());
        return -1;
    }
    const int found = query.value(0).toInt(&ok);
    return ok && found >= 0 && found <= 29 ? found : -1;
}

QByteArray MbTilesReader::tile(TileKey key)
{
    if (!isOpen() || !m_query || !key.isValid())
        return {};
    const int row = m_rowsFromNorth ? key.y : (1 << key.z) - 1 - key.y;
    m_query->bindValue(0, key.z);
    m_query->bindValue(1, key.x);
    m_query->bindValue(2, row);
    arm();
    if (!m_query->exec() || !m_query->next()) {
        checkStopped(QStringLiteral("tiles"), m_query->lastError().text());
        if (m_query)
            m_query->finish();
        return {};
    }
    const QVariant data = m_query->value(0);
    m_query->finish();
    return data.typeId() == QMetaType::QByteArray || data.typeId() == QMetaType::QString ? data.toByteArray()
                                                                                          : QByteArray();
}
