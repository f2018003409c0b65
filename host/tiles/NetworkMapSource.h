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
// time, nothing fetched that the cache can answer. Working offline, only
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
    void decode(TileKey key, const QByteArray &bytes);
    bool isBusyWith(TileKey key) const;
    void answerMissingLater(TileKey key, bool retryLater);

    Settings m_settings;
    QNetworkAccessManager m_network;
    TileDiskCache *m_cache;  // owned by m_network
    QList<TileKey> m_wanted;
    QHash<TileKey, QNetworkReply *> m_inFlight;
    QSet<TileKey> m_decoding;
    QSet<TileKey> m_answering;  // missing, told on the next turn of the event loop
    bool m_offline = false;
};
