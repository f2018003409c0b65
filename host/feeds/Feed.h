#pragma once

#include "host/HostConfig.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>

// A source of frames or DX spots for the host. Each feed reports its state as
// a short text for the host map's status bar.
class Feed : public QObject
{
    Q_OBJECT
public:
    explicit Feed(const FeedSettings &settings, QObject *parent = nullptr);

    virtual void start() = 0;
    virtual void stop() = 0;

    const FeedSettings &settings() const { return m_settings; }
    QString stateText() const { return m_state; }
    // "Replay demo.txt: Replaying (12 frames)"
    QString statusLine() const;
    int frames() const { return m_frames; }
    int rejected() const { return m_rejected; }

    // What the Feeds window shows of a running feed.
    QDateTime connectedSince() const { return m_connectedSince; }
    QString lastError() const { return m_lastError; }
    // When the next attempt is due; invalid when none is waiting.
    QDateTime retryAt() const { return m_retryAt; }
    int framesInLastMinute() const;
    // Hangs up and tries again at once, without waiting out the back-off.
    virtual void reconnectNow()
    {
        stop();
        start();
    }

signals:
    // One TNC2 line, SRC>DST,PATH:payload.
    void lineReceived(const QString &line);
    // One whole "DX de" line of a cluster.
    void spotReceived(const QString &line);
    void stateChanged();

protected:
    void setState(const QString &state);
    void deliverLine(const QString &line);
    void deliverSpot(const QString &line);
    void countRejected() { ++m_rejected; }
    // Something other than a frame arrived that counts as traffic (a GPS fix).
    void countOther()
    {
        ++m_frames;
        countFrame();
    }
    virtual QString describe() const = 0;
    void noteConnected();
    void noteLost(const QString &reason, int retryMs);

    FeedSettings m_settings;

private:
    QString m_state;
    int m_frames = 0;
    int m_rejected = 0;
    QDateTime m_connectedSince;
    QString m_lastError;
    QDateTime m_retryAt;
    // Frames per second of the last minute, by second modulo 60.
    std::array<int, 60> m_perSecond{};
    qint64 m_lastSecond = 0;
    void countFrame();
};

// Builds the feed for these settings.
Feed *createFeed(const FeedSettings &settings, const QString &ownCallsign, QObject *parent);
