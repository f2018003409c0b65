#pragma once

#include "host/feeds/Feed.h"
#include "host/feeds/RetryDelays.h"
#include "host/aprs/Kiss.h"

#include <QSerialPort>
#include <QTimer>

// A KISS TNC on a serial device: a hardware TNC, a TNC-Pi, a Bluetooth TNC
// bound to /dev/rfcomm0 or direwolf's pseudo-terminal. A device that is
// missing or goes away (unplugged, the Bluetooth link dropped, direwolf
// ended) is opened again with growing waits, 1 s doubling up to a minute,
// back to 1 s once it opens. Sends AX.25 UI frames with the feed's path
// when it transmits, as the TCP TNC does.
class SerialKissFeed : public Feed
{
    Q_OBJECT
public:
    explicit SerialKissFeed(const FeedSettings &settings, QObject *parent = nullptr);

    void start() override;
    void stop() override;
    void reconnectNow() override;

    void setRetryDelays(int firstMs, int maxMs);
    bool isOpen() const { return m_port.isOpen(); }
    bool canTransmit() const override { return true; }
    bool canSendNow() const override { return m_port.isOpen(); }

protected:
    QString describe() const override;
    bool writeFrame(const QString &line) override;

private:
    void openNow();
    void lost(const QString &reason);
    void readAvailable();

    QSerialPort m_port;
    KissDeframer m_deframer;
    QTimer m_retryTimer;
    QTimer m_watch;  // a pseudo-terminal whose other end closed reads nothing and says nothing
    RetryDelays m_retry;
    bool m_running = false;
};
