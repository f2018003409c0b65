#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class MapProjection;
class TileServer;

// Writes MBTiles files for tests, with Qt's SQLite driver: the server's
// tiles for an area, rows counted from the south as the format has them.
namespace MbTilesFile {

// The tiles at each zoom that cover `area` pixels of the view from its
// top-left corner (the whole view when empty).
bool write(const QString &path, const TileServer &server, const QList<int> &zooms, const MapProjection &view,
           QSize area = {});
// A database made by these statements, for files that are wrong on purpose.
bool writeRaw(const QString &path, const QStringList &statements);

} // namespace MbTilesFile
