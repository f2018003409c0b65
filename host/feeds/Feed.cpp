#include "host/feeds/Feed.h"

#include "host/feeds/NetworkFeeds.h"
#include "host/feeds/ReplayFeed.h"

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

void Feed::deliverLine(const QString &line)
{
    ++m_frames;
    emit lineReceived(line);
}

void Feed::deliverSpot(const QString &line)
{
    ++m_frames;
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
    }
    return nullptr;
}
