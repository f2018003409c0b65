#pragma once

#include "host/map/MapProjection.h"
#include "host/tiles/MapSource.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

class QPainter;

// The pictures under the host map, in the web's tiling. The map shows the
// layer a view; the layer asks its sources, in order, for the tiles it
// lacks: the first that has a tile gives it, a source asked deeper than its
// deepest zoom gives the tile above, enlarged (but no more than a few
// levels while a later source can serve: past that a picture is a smear
// hiding the better one underneath). What arrives is kept in
// memory (bounded), and while a tile loads the nearest tile above it that
// is at hand stands in.
class TileLayer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxTiles = 256;  // 256 x 256 x 4 bytes each: 64 MB at most
    // A source that failed (rather than having no tile) is asked again after this.
    static constexpr int RetryMs = 60000;
    // Zoom levels a source's deepest tiles are enlarged past before the next source is asked.
    static constexpr int MaxEnlargement = 5;
    void setRetryDelay(int ms) { m_retryMs = ms; }

    explicit TileLayer(QObject *parent = nullptr);
    ~TileLayer() override;

    // The sources, best first. The layer owns them from now on; those no
    // longer listed are deleted. Every tile is asked for again.
    void setSources(const QList<MapSource *> &sources);
    const QList<MapSource *> &sources() const { return m_sources; }
    // A source changed what it would answer (working offline, say): every
    // tile is asked for again, and the ones at hand stand in meanwhile.
    void reload();

    // The view the map shows now; the layer fetches what it lacks.
    void show(const MapProjection &view);
    struct Painted
    {
        bool bareGround = false;  // somewhere no source had a picture
        bool pictures = false;    // and somewhere one had
        QStringList credits;      // of the sources whose tiles were drawn
        bool fetchFailing = false; // a source failed (no network, say) and has given nothing since
    };
    // Draws the tiles of a view over whatever the painter holds.
    Painted paint(QPainter &painter, const MapProjection &view) const;

    // Goes up by one whenever a tile arrives or is known missing.
    quint64 generation() const { return m_generation; }
    // Tiles of the shown view still being fetched.
    int waiting() const { return m_waiting; }
    int tileCount() const { return int(m_tiles.size()); }

signals:
    // A tile arrived or a source answered: the map is drawn again.
    void changed();

private:
    struct Tile
    {
        QImage image;
        int source = -1;
        bool stale = false;  // from before a reload: shown, but asked again
        quint64 used = 0;
    };
    // Where a key of the view stands with the sources.
    struct Resolved
    {
        int source = -1;  // the source that gave the picture, or is being asked
        TileKey key;      // the tile asked of it (the view's tile or one above)
        bool ready = false;
    };

    Resolved resolve(TileKey key) const;
    bool knownMissing(int source, TileKey key) const;
    TileKey limitedTo(TileKey key, int source) const;
    void updateWishes();
    void loaded(MapSource *source, TileKey key, const QImage &image);
    void missing(MapSource *source, TileKey key, bool retryLater);
    void evict();
    void answered();
    void retryFailed();

    QList<MapSource *> m_sources;
    QHash<TileKey, Tile> m_tiles;
    // Per source: tiles it does not have, with the time to ask again (0: never).
    QList<QHash<TileKey, qint64>> m_missing;
    QList<TileKey> m_view;  // the tiles of the shown view, middle first
    QSet<const MapSource *> m_failing;  // failed since they last gave a tile
    quint64 m_generation = 0;
    quint64 m_useCount = 0;
    int m_waiting = 0;
    QElapsedTimer m_clock;
    QTimer m_retry;
    int m_retryMs = RetryMs;
};
