#include "host/tiles/NetworkMapSource.h"

#include "host/tiles/TileDecoder.h"
#include "host/tiles/TileDiskCache.h"

#include <QFutureWatcher>
#include <QNetworkReply>
#include <QTimer>
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
    // The view moved on: a request for a tile it no longer shows gives its
    // place to one it does. It is not answered; asked again, it starts again.
    const QList<TileKey> flying = m_inFlight.keys();
    for (const TileKey &key : flying)
        if (!wanted.contains(key)) {
            QNetworkReply *reply = m_inFlight.take(key);
            m_bodies.remove(reply);
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        }
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
    reply->setReadBufferSize(ReadBufferBytes);
    m_inFlight.insert(key, reply);
    m_bodies.insert(reply, {});
    // Refused by the length it announces, before any of the body is held.
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > TileDecoder::MaxBytes)
            refuse(reply);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { readBody(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply, key] { replyFinished(reply, key); });
    // Queued: an abort finishes the reply at once, and its answer must not
    // come from inside whatever asked.
    QTimer::singleShot(TotalTimeoutMs, reply, [reply] { reply->abort(); });
}

void NetworkMapSource::readBody(QNetworkReply *reply)
{
    auto body = m_bodies.find(reply);
    if (body == m_bodies.end())
        return;
    const qint64 room = TileDecoder::MaxBytes + 1 - body->size();
    if (room > 0)
        body->append(reply->read(room));
    if (body->size() > TileDecoder::MaxBytes)
        refuse(reply);
}

void NetworkMapSource::refuse(QNetworkReply *reply)
{
    m_bodies.remove(reply);
    reply->setProperty(TooLarge, true);
    // From inside the reply's own signal: finished (and the answer) on the next turn.
    QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
}

void NetworkMapSource::replyFinished(QNetworkReply *reply, TileKey key)
{
    reply->deleteLater();
    m_inFlight.remove(key);
    if (m_bodies.contains(reply))
        readBody(reply);
    const QByteArray body = m_bodies.take(reply);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->property(TooLarge).toBool() || reply->error() != QNetworkReply::NoError || status != 200) {
        const bool lasting = reply->property(TooLarge).toBool() || isLasting(reply->error())
                             || (status >= 400 && status < 500 && status != 408 && status != 429);
        emit tileMissing(key, !lasting && !m_offline);
    } else {
        decode(key, body);
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
