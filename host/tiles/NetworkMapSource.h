#pragma once

#include "host/tiles/MapSource.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QSet>
#include <QUrl>

class QNetworkReply;
class TileDiskCache;

// Tiles from a tile server, through a disk cache that keeps them as long as
// the server's cache headers allow. Polite as public tile servers ask: the
// program's name and version in the User-Agent, at most two requests at a
// time, nothing fetched that the cache can answer, and a request whose tile
// is no longer wanted is given up at once. Working offline, only
// the disk cache is read and the network is never touched.
class NetworkMapSource : public MapSource
{
    Q_OBJECT
public:
    struct Settings
    {
        QString urlTemplate;  // http(s) with {z}, {x} and {y}
        QString attribution;
        int maxZoom = 19;
        QString cacheFolder;
        qint64 cacheBytes = 256LL * 1024 * 1024;
    };
    static constexpr int MaxRequests = 2;
    // A server that sends nothing for this long has failed.
    static constexpr int TransferTimeoutMs = 20000;
    // Nor may one tile take longer than this in all, however it trickles in:
    // two slow answers would hold both requests and every other tile.
    static constexpr int TotalTimeoutMs = 8000;
    // What Qt may hold of a body before it is read off; the body itself is
    // bounded by the tile's largest size.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;

    explicit NetworkMapSource(const Settings &settings, QObject *parent = nullptr);
    ~NetworkMapSource() override;

    void fetch(const QList<TileKey> &wanted) override;
    QString attribution() const override { return m_settings.attribution; }
    int maxZoom() const override { return m_settings.maxZoom; }

    void setOffline(bool offline);
    bool isOffline() const { return m_offline; }

    static QString userAgent();
    // The tile's address, or an invalid URL when the template cannot serve.
    static QUrl tileUrl(const QString &urlTemplate, TileKey key);
    static bool isUsableTemplate(const QString &urlTemplate);

private:
    void startNext();
    void request(TileKey key);
    void readCache(TileKey key);
    void replyFinished(QNetworkReply *reply, TileKey key);
    void readBody(QNetworkReply *reply);
    void refuse(QNetworkReply *reply);
    void decode(TileKey key, const QByteArray &bytes);
    bool isBusyWith(TileKey key) const;
    void answerMissingLater(TileKey key, bool retryLater);

    Settings m_settings;
    QNetworkAccessManager m_network;
    TileDiskCache *m_cache;  // owned by m_network
    QList<TileKey> m_wanted;
    QHash<TileKey, QNetworkReply *> m_inFlight;
    QHash<QNetworkReply *, QByteArray> m_bodies;  // read as it comes, never past a tile's largest size
    QSet<TileKey> m_decoding;
    QSet<TileKey> m_answering;  // missing, told on the next turn of the event loop
    bool m_offline = false;
};
