#include "host/OnAir.h"

#include "host/aprs/Beacon.h"
#include "host/feeds/Feed.h"
#include "host/messages/Messenger.h"

#include <QDateTime>
#include <cmath>

namespace {
constexpr double KmhPerKnot = 1.852;
}

OnAir::OnAir(const QString &messagesPath, QObject *parent)
    : QObject(parent)
    , m_messenger(new Messenger(messagesPath, this))
{
    m_messenger->setSender([this](const QString &payload, QObject *via) { return send(payload, via); });
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &OnAir::tick);
}

OnAir::~OnAir() = default;

void OnAir::setClock(std::function<qint64()> nowMs)
{
    m_nowMs = nowMs;
    m_messenger->setClock(nowMs);
}

qint64 OnAir::nowMs() const
{
    return m_nowMs ? m_nowMs() : QDateTime::currentMSecsSinceEpoch();
}

void OnAir::addFeed(Feed *feed)
{
    m_feeds.append(feed);
    connect(feed, &Feed::sendReady, this, [this] {
        // A feed that has just come up carries the station at once, unless
        // a beacon went out a moment ago.
        if (m_lastBeaconMs < 0 || nowMs() - m_lastBeaconMs >= MinIntervalMs || !m_lastSent)
            m_firstDueMs = nowMs() + m_firstBeaconMs;
    });
}

void OnAir::setStation(const Station &station)
{
    m_station = station;
    m_messenger->setOwnCalls(station.callsign, station.answerFor);
    m_firstDueMs = nowMs() + m_firstBeaconMs;
    emit statusChanged();
}

void OnAir::setGpsFix(double latitude, double longitude, double course, double speedKmh, qint64 timeMs)
{
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::abs(latitude) > 90 || std::abs(longitude) > 180)
        return;
    m_hasFix = true;
    m_fixLat = latitude;
    m_fixLon = longitude;
    m_fixCourse = std::isfinite(course) ? std::fmod(std::fmod(course, 360.0) + 360.0, 360.0) : 0;
    m_fixSpeed = std::isfinite(speedKmh) && speedKmh > 0 ? speedKmh : 0;
    m_fixTimeMs = timeMs;
}

bool OnAir::fixIsFresh() const
{
    return m_hasFix && nowMs() - m_fixTimeMs < FixFreshMs;
}

void OnAir::start()
{
    m_running = true;
    m_tick.start();
}

void OnAir::stop()
{
    m_running = false;
    m_tick.stop();
    m_messenger->stopRetries();
}

qint64 OnAir::intervalMs() const
{
    if (m_testIntervalMs > 0)
        return m_testIntervalMs;
    return std::max<qint64>(MinIntervalMs, qint64(m_station.intervalMinutes) * 60000);
}

bool OnAir::anyFeedTransmits() const
{
    for (const QPointer<Feed> &feed : m_feeds)
        if (feed && feed->transmits())
            return true;
    return false;
}

void OnAir::tick()
{
    if (!m_running || m_station.intervalMinutes <= 0 || m_station.callsign.isEmpty())
        return;
    const qint64 now = nowMs();
    bool due = false;
    if (m_firstDueMs >= 0 && now >= m_firstDueMs) {
        due = true;
    } else if (m_lastBeaconMs >= 0) {
        const qint64 since = now - m_lastBeaconMs;
        if (fixIsFresh()) {
            SmartBeacon rule = m_rule;
            rule.slowIntervalMs = intervalMs();
            rule.fastIntervalMs = std::min(rule.fastIntervalMs, rule.slowIntervalMs);
            rule.minTurnMs = std::min(rule.minTurnMs, rule.fastIntervalMs);
            due = rule.due(since, m_lastCourse, m_fixCourse, m_fixSpeed);
        } else {
            due = since >= intervalMs();
        }
    }
    if (due)
        beaconNow();
}

QString OnAir::beaconPayload() const
{
    if (fixIsFresh())
        return ::beaconPayload(m_fixLat, m_fixLon, m_station.symbol, m_station.comment, int(std::lround(m_fixCourse)),
                               m_fixSpeed / KmhPerKnot);
    return ::beaconPayload(m_station.latitude, m_station.longitude, m_station.symbol, m_station.comment);
}

bool OnAir::beaconNow()
{
    const qint64 now = nowMs();
    m_firstDueMs = -1;
    m_lastBeaconMs = now;
    m_lastCourse = m_fixCourse;
    m_lastSent = false;
    if (m_station.callsign.isEmpty()) {
        m_lastResult = QStringLiteral("Beacon: not sent (no home callsign)");
        emit statusChanged();
        return false;
    }
    const QString payload = beaconPayload();
    int sent = 0;
    for (const QPointer<Feed> &feed : m_feeds) {
        // A beacon waiting for a connection would go out stale: only feeds up now.
        if (feed && feed->transmits() && feed->canSendNow()
            && feed->transmit(m_station.callsign, Destination, payload))
            ++sent;
    }
    if (sent == 0) {
        m_lastResult = anyFeedTransmits() ? QStringLiteral("Beacon: not sent (no transmitting feed is connected)")
                                          : QStringLiteral("Beacon: not sent (no feed transmits)");
        emit statusChanged();
        return false;
    }
    m_lastSent = true;
    m_lastResult = QStringLiteral("Beacon: sent at %1 on %2 feed%3")
                       .arg(QDateTime::fromMSecsSinceEpoch(now).toString(QStringLiteral("HH:mm:ss")))
                       .arg(sent)
                       .arg(sent == 1 ? QString() : QStringLiteral("s"));
    const bool moving = fixIsFresh();
    emit beaconSent(m_station.callsign + u'>' + Destination + u':' + payload,
                    moving ? m_fixLat : m_station.latitude, moving ? m_fixLon : m_station.longitude);
    emit statusChanged();
    return true;
}

QString OnAir::beaconStatus() const
{
    if (m_station.intervalMinutes <= 0)
        return QStringLiteral("Beacon: off");
    if (!anyFeedTransmits())
        return QStringLiteral("Beacon: not sent (no feed transmits)");
    return m_lastResult.isEmpty() ? QStringLiteral("Beacon: not sent yet") : m_lastResult;
}

bool OnAir::send(const QString &payload, QObject *via)
{
    if (m_station.callsign.isEmpty())
        return false;
    Feed *from = qobject_cast<Feed *>(via);
    if (from && from->transmits() && m_feeds.contains(from))
        return from->transmit(m_station.callsign, Destination, payload);
    bool any = false;
    for (const QPointer<Feed> &feed : m_feeds)
        if (feed && feed->transmits())
            any = feed->transmit(m_station.callsign, Destination, payload) || any;
    return any;
}
