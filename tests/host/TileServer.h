#pragma once

#include "host/tiles/MapSource.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <QTcpServer>
#include <functional>

class QTcpSocket;

// A tile server on the loopback interface: answers GET /z/x/y.png with a
// generated PNG (a pale colour for the zoom level, a thin grid, and a
// magenta mark wherever a marked place falls), sent with cache headers. A
// test chooses, per tile, to answer badly instead. The place of a mark is
// worked out here with its own arithmetic, so a test that finds the mark
// where the map projects the place shows that tiles land where they belong.
class TileServer : public QObject
{
    Q_OBJECT
public:
    // Drip: a byte every dripMs, never done. HugeLength: says 2 GB and sends
    // as fast as it can; Endless: chunked, the same, with no length at all.
    enum class Answer { Tile, NotFound, Slow, Garbage, CloseEarly, Drip, HugeLength, Endless };
    static constexpr QRgb Mark = 0xFFFF00FF;

    TileServer();
    QString urlTemplate() const;

    // Places (latitude, longitude) marked in every tile that holds them.
    QList<QPointF> marks;
    // Rings of this radius in pixels about each mark instead of a dot (so a
    // station's symbol can sit in the middle); 0 for a 3 x 3 dot.
    int ringRadius = 0;
    // Noise makes each tile a large PNG, for filling the cache.
    bool noisy = false;
    int maxAge = 86400;
    int slowMs = 1500;
    int dripMs = 500;
    std::function<Answer(TileKey)> answer = [](TileKey) { return Answer::Tile; };

    int requests() const { return int(m_requested.size()); }
    const QList<TileKey> &requested() const { return m_requested; }
    QStringList userAgents() const { return m_userAgents; }
    // The most requests that were waiting for an answer at one time.
    int mostAtOnce() const { return m_mostAtOnce; }
    // Bytes of bodies that never end, written before the client hung up.
    qint64 floodWritten() const { return m_floodWritten; }

    // The picture the server sends for a tile.
    QImage tileImage(TileKey key) const;
    static QColor zoomColour(int z);
    // Where a place falls at a zoom: tile and pixel within it.
    static TileKey tileAt(double latitude, double longitude, int z, QPoint *pixel = nullptr);

private:
    void readRequest(QTcpSocket *socket);
    void reply(QTcpSocket *socket, TileKey key, Answer how);
    void sendForever(QTcpSocket *socket, Answer how);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<TileKey> m_requested;
    QStringList m_userAgents;
    int m_waiting = 0;
    int m_mostAtOnce = 0;
    qint64 m_floodWritten = 0;
};
