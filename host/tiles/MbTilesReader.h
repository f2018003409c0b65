#pragma once

#include "host/tiles/MapSource.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QSqlQuery;

// Reads an MBTiles file: an SQLite database whose table (or view) "tiles"
// holds tile_data by zoom_level, tile_column and tile_row, rows counted
// from the south as the TMS tiling does, and whose "metadata" table holds
// name/value pairs. Read only; the file is never changed.
//
// Each reader has its own database connection, usable only on the thread
// that made it: make one where the reading happens.
class MbTilesReader
{
public:
    explicit MbTilesReader(const QString &path);
    ~MbTilesReader();
    MbTilesReader(const MbTilesReader &) = delete;
    MbTilesReader &operator=(const MbTilesReader &) = delete;

    // False, with the reason in error(), when the file is not a tile file.
    bool isOpen() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    // A metadata value ("name", "attribution", "format", ...), empty when absent.
    QString metadata(const QString &name) const;
    // The deepest zoom the file holds (from its metadata, else its tiles); -1 when none.
    int maxZoom() const;
    // The tile's bytes as stored; empty when the file has none.
    QByteArray tile(TileKey key);

private:
    QString m_connection;
    QString m_error;
    bool m_rowsFromNorth = false;  // a file that says its scheme is "xyz"
    std::unique_ptr<QSqlQuery> m_query;
};
