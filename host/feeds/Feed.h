#pragma once

#include "host/HostConfig.h"

#include <QObject>
#include <QString>

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
    virtual QString describe() const = 0;

    FeedSettings m_settings;

private:
    QString m_state;
    int m_frames = 0;
    int m_rejected = 0;
};

// Builds the feed for these settings.
Feed *createFeed(const FeedSettings &settings, const QString &ownCallsign, QObject *parent);
