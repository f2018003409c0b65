#pragma once

#include "host/feeds/NetworkFeeds.h"

// A GPS through gpsd's own socket (127.0.0.1:2947), in its JSON: asks to
// be told every report and passes on each position fix. Reports without a
// fix (mode 0 or 1) pass nothing on, so the last fix stands.
class GpsdFeed : public TcpFeed
{
    Q_OBJECT
public:
    using TcpFeed::TcpFeed;
    static inline const QByteArray WatchCommand = QByteArrayLiteral("?WATCH={\"enable\":true,\"json\":true}\n");

    struct Fix
    {
        double latitude = 0, longitude = 0;  // degrees
        double course = 0;                   // degrees true, 0 when not moving or not sent
        double speedKmh = 0;
    };
    // One line of gpsd's JSON: true with the fix for a TPV report that has one.
    static bool readFix(const QByteArray &line, Fix *fix);
    bool hasFix() const { return m_hasFix; }
    Fix lastFix() const { return m_fix; }

signals:
    void fixReceived(double latitude, double longitude);

protected:
    void onConnected() override { send(WatchCommand); }
    void onData(const QByteArray &bytes) override;

private:
    Fix m_fix;
    bool m_hasFix = false;
};
