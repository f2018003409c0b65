#pragma once

#include "host/feeds/Feed.h"
#include "host/feeds/RetryDelays.h"
#include "host/aprs/Kiss.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

// A feed over one TCP connection that reconnects with growing delays
// (1 s doubling up to 60 s) whenever the connection fails, ends or stays
// silent for the idle timeout. The delay starts again from 1 s only after a
// connection has stayed up and delivered data for a minute, so a server that
// takes the login and drops it is not hammered.
class TcpFeed : public Feed
{
    Q_OBJECT
public:
    // Longer lines are no protocol's; they are dropped whole.
    static constexpr int MaxLine = 4096;

    explicit TcpFeed(const FeedSettings &settings, QObject *parent = nullptr);
    ~TcpFeed() override;

    void start() override;
    void stop() override;

    // Tests shorten the back-off, the time a connection must last and the idle timeout.
    void setRetryDelays(int firstMs, int maxMs);
    void setStableAfter(int ms) { m_stableMs = ms; }
    void setIdleTimeout(int ms) { m_idleMs = ms; }
    int nextRetryMs() const { return m_retry.nextMs; }
    QTcpSocket &socket() { return m_socket; }
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

protected:
    QString describe() const override;
    virtual void onConnected() {}
    virtual void onData(const QByteArray &bytes) = 0;
    virtual void onDisconnected() {}
    void send(const QByteArray &bytes);

    // Splits text protocols into lines (CR, LF or CR LF), bounded in length.
    QList<QByteArray> splitLines(const QByteArray &bytes);
    QByteArray pending() const { return m_lineBuffer; }

private:
    void connectNow();
    void connectionLost(const QString &reason);
    void readSlice();
    void received();
    void enableKeepAlive();
    void restartIdleTimer();

    QTcpSocket m_socket;
    QTimer m_retryTimer;
    QTimer m_idleTimer;
    QTimer m_nextSlice;
    QElapsedTimer m_connectedFor;
    RetryDelays m_retry;
    int m_stableMs = 60000;
    int m_idleMs = 0;
    bool m_running = false;
    QByteArray m_lineBuffer;
    bool m_discardingLongLine = false;
};

// A KISS TNC on a TCP port (direwolf's 8001, for one); sends AX.25 UI
// frames with the feed's path when it transmits.
class KissFeed : public TcpFeed
{
    Q_OBJECT
public:
    using TcpFeed::TcpFeed;
    bool canTransmit() const override { return true; }
    bool canSendNow() const override { return isConnected(); }

protected:
    void onConnected() override
    {
        m_deframer.reset();
        becameReady();
    }
    void onData(const QByteArray &bytes) override;
    bool writeFrame(const QString &line) override;

private:
    KissDeframer m_deframer;
};

// An APRS-IS server. It logs in with the passcode only when the feed
// transmits, and sends only once the server has said "verified".
class AprsIsFeed : public TcpFeed
{
    Q_OBJECT
public:
    using TcpFeed::TcpFeed;
    static QByteArray loginLine(const QString &callsign, const QString &filter,
                                const QString &passcode = QString());
    bool canTransmit() const override { return true; }
    bool canSendNow() const override { return isConnected() && m_verified; }
    // The server's answer to the login: "verified", "unverified" or empty.
    QString loginAnswer() const { return m_loginAnswer; }

protected:
    void onConnected() override;
    void onData(const QByteArray &bytes) override;
    QString addressOf(const QString &source, const QString &destination) const override;
    bool writeFrame(const QString &line) override;

private:
    void readServerLine(const QString &line);

    bool m_verified = false;
    QString m_loginAnswer;
};

// A DX cluster over telnet: logs in with the callsign and reads spots.
class DxClusterFeed : public TcpFeed
{
    Q_OBJECT
public:
    explicit DxClusterFeed(const FeedSettings &settings, QObject *parent = nullptr);
    // The callsign has been sent (the cluster asked for it, or it was time).
    bool loggedIn() const { return m_loggedIn; }

protected:
    void onConnected() override;
    void onData(const QByteArray &bytes) override;
    void onDisconnected() override;

private:
    void logIn();
    QByteArray stripTelnet(const QByteArray &bytes);

    QTimer m_loginTimer;
    bool m_loggedIn = false;
    int m_telnetState = 0;  // bytes left to skip of a telnet command
    bool m_inSubnegotiation = false;
    int m_subnegotiationBytes = 0;
};
