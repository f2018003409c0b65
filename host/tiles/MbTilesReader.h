#pragma once

#include "host/tiles/MapSource.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <memory>

class QSqlQuery;

// Reads an MBTiles file: an SQLite database whose table (or view) "tiles"
// holds tile_data by zoom_level, tile_column and tile_row, rows counted
// from the south as the TMS tiling does, and whose "metadata" table holds
// name/value pairs. Read only; the file is never changed.
//
// Either may be a view, and a view's query can run for ever or compute a
// huge value: every statement has a time limit, and no value may be larger
// than a tile may be. A statement stopped by either leaves the reader
// failed (failed() and error() say so), and it reads nothing more.
//
// Each reader has its own database connection, usable only on the thread
// that made it: make one where the reading happens.
class MbTilesReader
{
public:
    using Cancel = std::shared_ptr<std::atomic_bool>;
    static constexpr std::chrono::milliseconds StatementTime{2000};

    // A cancel flag set from another thread stops the statement running.
    explicit MbTilesReader(const QString &path, Cancel cancel = {});
    ~MbTilesReader();
    MbTilesReader(const MbTilesReader &) = delete;
    MbTilesReader &operator=(const MbTilesReader &) = delete;

    // False, with the reason in error(), when the file is not a tile file
    // or a statement had to be stopped.
    bool isOpen() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    // A statement ran out of time or tried to hold too much: the file is unusable.
    bool failed() const { return m_failed; }

    // A metadata value ("name", "attribution", "format", ...), empty when absent.
    QString metadata(const QString &name);
    // The deepest zoom the file holds (from its metadata, else its tiles); -1 when none.
    int maxZoom();
    // The tile's bytes as stored; empty when the file has none.
    QByteArray tile(TileKey key);

    // Called by SQLite as statements run; non-zero stops the statement.
    struct Guard
    {
        Cancel cancel;
        std::chrono::steady_clock::time_point deadline;
        bool expired = false;
    };

private:
    void arm();
    // Records why a statement failed when the guard or the size limit stopped it.
    void checkStopped(const QString &what, const QString &sqlError);

    QString m_connection;
    QString m_error;
    bool m_failed = false;
    bool m_rowsFromNorth = false;  // a file that says its scheme is "xyz"
    std::unique_ptr<Guard> m_guard;
    std::unique_ptr<QSqlQuery> m_query;
};
