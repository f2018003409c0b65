#include "host/tiles/NetworkMapSource.h"

#include "host/tiles/TileDecoder.h"
#include "host/tiles/TileDiskCache.h"

#include <QFutureWatcher>
#include <QNetworkReply>
#include <QtConcurrent/QtConcurrentRun>
#include <memory>

namespace {

const char *const TooLarge = "kestrelTooLarge";

// Errors that say the server has no such tile, as opposed to failing now.
bool isLasting(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentGoneError:
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::AuthenticationRequiredError:
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::UnknownContentError:
        return true;
    default:
        return false;
    }
}

} // namespace

NetworkMapSource::NetworkMapSource(const Settings &settings, QObject *parent)
    : MapSource(parent)
    , m_settings(settings)
    , m_cache(new TileDiskCache(&m_network))
{
    m_cache->setCacheDirectory(settings.cacheFolder);
    m_cache->setMaximumCacheSize(std::max<qint64>(settings.cacheBytes, 0));
    m_network.setCache(m_cache);
}

NetworkMapSource::~NetworkMapSource()
{
    for (QNetworkReply *reply : std::as_const(m_inFlight)) {
        reply->disconnect(this);
        reply->abort();
    }
}

QString NetworkMapSource::userAgent()
{
    return QStringLiteral("Kestrel/" KESTREL_VERSION " (APRS companion for radio amateurs)");
}

bool NetworkMapSource::isUsableTemplate(const QString &urlTemplate)
{
    return tileUrl(urlTemplate, {0, 0, 0}).isValid();
}

QUrl NetworkMapSource::tileUrl(const QString &urlTemplate, TileKey key)
{
    const QString z = QStringLiteral("{z}"), x = QStringLiteral("{x}"), y = QStringLiteral("{y}");
    if (!urlTemplate.contains(z) || !urlTemplate.contains(x) || !urlTemplate.contains(y) || !key.isValid())
        return {};
    QString text = urlTemplate;
    text.replace(z, QString::number(key.z)).replace(x, QString::number(key.x)).replace(y, QString::number(key.y));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

void NetworkMapSource::setOffline(bool offline)
{
    m_offline = offline;
    if (offline)
        for (QNetworkReply *reply : std::as_const(m_inFlight))
            reply->abort();
}

bool NetworkMapSource::isBusyWith(TileKey key) const
{
    return m_inFlight.contains(key) || m_decoding.contains(key) || m_answering.contains(key);
}

void NetworkMapSource::answerMissingLater(TileKey key, bool retryLater)
{
    // Sources answer after fetch() returns, never from inside it.
    m_answering.insert(key);
    QMetaObject::invokeMethod(
        this,
        [this, key, retryLater] {
            m_answering.remove(key);
            emit tileMissing(key, retryLater);
        },
        Qt::QueuedConnection);
}

void NetworkMapSource::fetch(const QList<TileKey> &wanted)
{
    m_wanted.clear();
    for (const TileKey &key : wanted)
        if (!isBusyWith(key))
            m_wanted.append(key);
    startNext();
}

void NetworkMapSource::startNext()
{
    while (!m_wanted.isEmpty() && m_inFlight.size() + m_decoding.size() < MaxRequests) {
        const TileKey key = m_wanted.takeFirst();
        if (m_offline)
            readCache(key);
        else
            request(key);
    }
}

void NetworkMapSource::readCache(TileKey key)
{
    // Straight from the cache's files: no request is made, so nothing can
    // reach the network.
    const QUrl url = tileUrl(m_settings.urlTemplate, key);
    std::unique_ptr<QIODevice> cached(url.isValid() ? m_cache->data(url) : nullptr);
    const QByteArray bytes = cached && cached->size() <= TileDecoder::MaxBytes ? cached->readAll() : QByteArray();
    if (bytes.isEmpty()) {
        answerMissingLater(key, false);
        return;
    }
    decode(key, bytes);
}

void NetworkMapSource::request(TileKey key)
{
    const QUrl url = tileUrl(m_settings.urlTemplate, key);
    if (!url.isValid()) {
        answerMissingLater(key, false);
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply *reply = m_network.get(request);
    m_inFlight.insert(key, reply);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > TileDecoder::MaxBytes || total > TileDecoder::MaxBytes) {
            reply->setProperty(TooLarge, true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, key] { replyFinished(reply, key); });
}

void NetworkMapSource::replyFinished(QNetworkReply *reply, TileKey key)
{
    reply->deleteLater();
    m_inFlight.remove(key);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status != 200) {
        const bool lasting = reply->property(TooLarge).toBool() || isLasting(reply->error())
                             || (status >= 400 && status < 500 && status != 408 && status != 429);
        emit tileMissing(key, !lasting && !m_offline);
    } else {
        decode(key, reply->readAll());
    }
    startNext();
}

void NetworkMapSource::decode(TileKey key, const QByteArray &bytes)
{
    m_decoding.insert(key);
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, key] {
        watcher->deleteLater();
        m_decoding.remove(key);
        const QImage image = watcher->result();
        if (image.isNull()) {
            // Not kept either: the next look asks the server again.
            m_cache->remove(tileUrl(m_settings.urlTemplate, key));
            emit tileMissing(key, false);
        } else {
            emit tileLoaded(key, image);
        }
        startNext();
    });
    watcher->setFuture(QtConcurrent::run(&TileDecoder::decode, bytes));
}
