#include "host/feeds/Feed.h"

#include "host/feeds/GpsdFeed.h"
#include "host/feeds/NetworkFeeds.h"
#include "host/feeds/SerialKissFeed.h"
#include "host/feeds/ReplayFeed.h"

#include <algorithm>

Feed::Feed(const FeedSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_state(QStringLiteral("Stopped"))
{
    m_sendTimer.setSingleShot(true);
    connect(&m_sendTimer, &QTimer::timeout, this, &Feed::sendWaiting);
}

QString Feed::statusLine() const
{
    QString line = describe() + QStringLiteral(": ") + stateText();
    line += QStringLiteral(" (%1 %2)").arg(m_frames).arg(
        m_settings.type == FeedSettings::Type::DxCluster || m_settings.type == FeedSettings::Type::DxReplay
            ? QStringLiteral("spots")
        : m_settings.type == FeedSettings::Type::Gpsd ? QStringLiteral("fixes")
            : QStringLiteral("frames"));
    return line;
}

void Feed::setState(const QString &state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged();
}

void Feed::noteConnected()
{
    m_connectedSince = QDateTime::currentDateTime();
    m_retryAt = {};
}

void Feed::noteLost(const QString &reason, int retryMs)
{
    m_connectedSince = {};
    m_lastError = reason;
    m_retryAt = retryMs > 0 ? QDateTime::currentDateTime().addMSecs(retryMs) : QDateTime();
}

void Feed::countFrame()
{
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != m_lastSecond) {
        // Seconds that passed without a frame count none.
        for (qint64 s = std::max(m_lastSecond + 1, second - 59); s <= second; ++s)
            m_perSecond[size_t(s % 60)] = 0;
        m_lastSecond = second;
    }
    ++m_perSecond[size_t(second % 60)];
}

int Feed::framesInLastMinute() const
{
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    int total = 0;
    for (qint64 s = second - 59; s <= second; ++s)
        if (s > m_lastSecond - 60 && s <= m_lastSecond)
            total += m_perSecond[size_t(s % 60)];
    return total;
}

void Feed::deliverLine(const QString &line)
{
    ++m_frames;
    countFrame();
    emit lineReceived(line);
}

void Feed::deliverSpot(const QString &line)
{
    ++m_frames;
    countFrame();
    emit spotReceived(line);
}

Feed *createFeed(const FeedSettings &settings, const QString &ownCallsign, QObject *parent)
{
    FeedSettings s = settings;
    if (s.callsign.isEmpty())
        s.callsign = ownCallsign;
    switch (s.type) {
    case FeedSettings::Type::Replay:
    case FeedSettings::Type::DxReplay:
        return new ReplayFeed(s, parent);
    case FeedSettings::Type::Kiss:
        return new KissFeed(s, parent);
    case FeedSettings::Type::AprsIs:
        return new AprsIsFeed(s, parent);
    case FeedSettings::Type::DxCluster:
        return new DxClusterFeed(s, parent);
    case FeedSettings::Type::SerialKiss:
        return new SerialKissFeed(s, parent);
    case FeedSettings::Type::Gpsd:
        return new GpsdFeed(s, parent);
    }
    return nullptr;
}
