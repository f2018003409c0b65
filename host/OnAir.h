#pragma once

#include "host/aprs/SmartBeacon.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class Feed;
class Messenger;

// What the home station sends: its beacon, on every feed the user lets
// transmit, at the configured interval (or, moving with a GPS fix, by the
// speed-and-turn rule), and the frames of its messages and acks. Nothing
// leaves through a feed that does not transmit, and nothing is reported as
// sent that did not go out.
class OnAir : public QObject
{
    Q_OBJECT
public:
    static inline const QString Destination = QStringLiteral("APZKES");
    static constexpr int FirstBeaconMs = 5000;
    static constexpr qint64 MinIntervalMs = 60000;
    // A fix older than this no longer moves the beacon.
    static constexpr qint64 FixFreshMs = 120000;

    struct Station
    {
        QString callsign;
        double latitude = 0, longitude = 0;  // degrees
        QString symbol = QStringLiteral("/-");
        QString comment;
        int intervalMinutes = 30;  // 0: no beacon
        QStringList answerFor;     // more calls the messages answer for
    };

    OnAir(const QString &messagesPath, QObject *parent = nullptr);
    ~OnAir() override;

    void addFeed(Feed *feed);
    // A new or changed station: its first beacon goes a few seconds later.
    void setStation(const Station &station);
    const Station &station() const { return m_station; }
    // Where a GPS puts the station now; course in degrees, speed in km/h.
    void setGpsFix(double latitude, double longitude, double course, double speedKmh, qint64 timeMs);
    void start();
    void stop();

    // Sends the beacon now; true when at least one feed took it.
    bool beaconNow();
    // "Beacon: not sent (no feed transmits)", "Beacon: sent at 12:00:05 on 1 feed" ...
    QString beaconStatus() const;
    bool anyFeedTransmits() const;
    Messenger *messenger() const { return m_messenger; }
    // The information field of the beacon as it would go now.
    QString beaconPayload() const;

    // Tests: a clock, a shorter interval (no minimum), first delay and tick.
    void setClock(std::function<qint64()> nowMs);
    void setBeaconIntervalMs(qint64 ms) { m_testIntervalMs = ms; }
    void setFirstBeaconMs(int ms) { m_firstBeaconMs = ms; }
    void setTickMs(int ms) { m_tick.setInterval(ms); }

signals:
    // The beacon went out on at least one feed: the frame as TNC2 text
    // without a path, and where it put the station.
    void beaconSent(const QString &line, double latitude, double longitude);
    void statusChanged();

private:
    qint64 nowMs() const;
    qint64 intervalMs() const;
    bool fixIsFresh() const;
    void tick();
    bool send(const QString &payload, QObject *via);

    QList<QPointer<Feed>> m_feeds;
    Station m_station;
    Messenger *m_messenger = nullptr;
    SmartBeacon m_rule;
    std::function<qint64()> m_nowMs;
    QTimer m_tick;
    bool m_running = false;
    qint64 m_testIntervalMs = 0;
    int m_firstBeaconMs = FirstBeaconMs;
    qint64 m_firstDueMs = -1;
    qint64 m_lastBeaconMs = -1;
    double m_lastCourse = 0;
    bool m_hasFix = false;
    double m_fixLat = 0, m_fixLon = 0, m_fixCourse = 0, m_fixSpeed = 0;
    qint64 m_fixTimeMs = 0;
    QString m_lastResult;
    bool m_lastSent = false;
};
