#pragma once

#include "host/HostConfig.h"
#include "host/feeds/SendQueue.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

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
    // The connection's state, and what the rate limit holds back.
    QString stateText() const;
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
    // The user lets this feed send the station's own frames, and it can.
    bool transmits() const { return m_settings.transmit && canTransmit(); }
    // Feeds that can put a frame on the air or the network say so.
    virtual bool canTransmit() const { return false; }
    // Connected, and on APRS-IS logged in as verified: a frame goes now.
    virtual bool canSendNow() const { return false; }
    // Queues one own frame SRC>DST,(the feed's path):payload; it leaves as the
    // rate limit allows, while the feed can send. False when it is refused:
    // the feed does not transmit, or too much waits already.
    bool transmit(const QString &source, const QString &destination, const QString &payload);
    int framesSent() const { return m_sent; }
    int framesWaiting() const { return m_queue.waiting(); }
    // Tests run the rate limit on a clock of their own.
    void setClock(std::function<qint64()> nowMs) { m_nowMs = std::move(nowMs); }

signals:
    // One TNC2 line, SRC>DST,PATH:payload.
    void lineReceived(const QString &line);
    // One whole "DX de" line of a cluster.
    void spotReceived(const QString &line);
    void stateChanged();
    // The feed has just become able to send (connected, verified).
    void sendReady();
    // One own frame went out, as TNC2 text.
    void frameSent(const QString &line);

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
    // The address of an own frame on this feed, without the ":".
    virtual QString addressOf(const QString &source, const QString &destination) const;
    // Puts one own frame on the wire; false when it cannot be sent.
    virtual bool writeFrame(const QString &line)
    {
        Q_UNUSED(line);
        return false;
    }
    // Subclasses call this when they become able to send.
    void becameReady();
    void sendWaiting();

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
    SendQueue m_queue;
    QTimer m_sendTimer;
    int m_sent = 0;
    std::function<qint64()> m_nowMs;
};

// Builds the feed for these settings.
Feed *createFeed(const FeedSettings &settings, const QString &ownCallsign, QObject *parent);
