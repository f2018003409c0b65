#include "host/feeds/NetworkFeeds.h"

#include "core/LineText.h"
#include "host/feeds/DxSpotLine.h"
#include "host/feeds/FeedProblems.h"

#include <algorithm>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {
// Read a slice of a burst at a time (some forty lines): a reconnect or the
// network catching up must not hold the user's clicks and paints for seconds.
constexpr qint64 SliceBytes = 4096;
// Beyond this much unread, the sender is held back by the connection itself.
constexpr qint64 ReadBufferBytes = 1 << 20;
constexpr int LoginFallbackMs = 3000;
// A subnegotiation longer than this is line noise, not telnet.
constexpr int MaxSubnegotiation = 256;

// Settings go to the server inside one line: a line end or other control
// character in them would end it early and start a command of its own.
QString oneLine(QString text)
{
    text.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    return text;
}
}

TcpFeed::TcpFeed(const FeedSettings &settings, QObject *parent)
    : Feed(settings, parent)
    , m_idleMs(settings.idleTimeoutSeconds * 1000)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &TcpFeed::connectNow);
    m_idleTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        const bool connected = m_socket.state() == QAbstractSocket::ConnectedState;
        connectionLost(connected ? QStringLiteral("Nothing heard for %1 s").arg((m_idleMs + 999) / 1000)
                                 : QStringLiteral("No answer"));
    });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_connectedFor.start();
        m_lineBuffer.clear();
        m_discardingLongLine = false;
        enableKeepAlive();
        restartIdleTimer();
        noteConnected();
        setState(QStringLiteral("Connected"));
        onConnected();
    });
    m_socket.setReadBufferSize(ReadBufferBytes);
    m_nextSlice.setSingleShot(true);
    m_nextSlice.setInterval(0);
    m_nextSlice.setTimerType(Qt::PreciseTimer);
    connect(&m_nextSlice, &QTimer::timeout, this, &TcpFeed::readSlice);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpFeed::readSlice);
    connect(&m_socket, &QTcpSocket::disconnected, this,
            [this] { connectionLost(QStringLiteral("Disconnected")); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            return;  // disconnected() follows
        connectionLost(explainSocketError(error, m_settings, m_socket.errorString()));
    });
}

TcpFeed::~TcpFeed()
{
    // The socket outlives the timers while members go: its last "disconnected"
    // must not start a retry on a timer that is already gone.
    m_running = false;
    disconnect(&m_socket, nullptr, this, nullptr);
}

QString TcpFeed::describe() const
{
    return HostConfig::typeName(m_settings.type) + u' ' + m_settings.host + u':' + QString::number(m_settings.port);
}

void TcpFeed::setRetryDelays(int firstMs, int maxMs)
{
    m_retry.set(firstMs, maxMs);
}

void TcpFeed::start()
{
    m_running = true;
    m_retry.reset();
    connectNow();
}

void TcpFeed::stop()
{
    m_running = false;
    m_retryTimer.stop();
    m_idleTimer.stop();
    m_nextSlice.stop();
    m_socket.abort();
    setState(QStringLiteral("Stopped"));
}

void TcpFeed::connectNow()
{
    if (!m_running)
        return;
    setState(QStringLiteral("Connecting"));
    m_socket.abort();
    m_connectedFor.invalidate();
    // A connection attempt that hangs counts as idle too.
    restartIdleTimer();
    m_socket.connectToHost(m_settings.host, m_settings.port);
}

void TcpFeed::restartIdleTimer()
{
    if (m_idleMs > 0)
        m_idleTimer.start(m_idleMs);
}

void TcpFeed::readSlice()
{
    if (m_socket.bytesAvailable() <= 0)
        return;
    received();
    onData(m_socket.read(SliceBytes));
    // The rest waits one turn of the event loop.
    if (m_socket.bytesAvailable() > 0)
        m_nextSlice.start();
}

void TcpFeed::received()
{
    restartIdleTimer();
    // Only a connection that has lasted and carried data proves the server
    // good enough to start the back-off again from the beginning.
    if (m_connectedFor.isValid() && m_connectedFor.elapsed() >= m_stableMs)
        m_retry.reset();
}

void TcpFeed::enableKeepAlive()
{
    m_socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#if defined(TCP_KEEPIDLE) && defined(TCP_KEEPINTVL) && defined(TCP_KEEPCNT)
    // The system default waits two hours before the first probe; a dead
    // link should show within a few minutes.
    const qintptr fd = m_socket.socketDescriptor();
    if (fd >= 0) {
        const int idle = 60, interval = 15, count = 4;
        ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
        ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
        ::setsockopt(int(fd), IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
    }
#endif
}

void TcpFeed::connectionLost(const QString &reason)
{
    if (!m_running || m_retryTimer.isActive())
        return;
    m_idleTimer.stop();
    m_connectedFor.invalidate();
    onDisconnected();
    m_socket.abort();
    const int wait = m_retry.take();
    noteLost(reason, wait);
    setState(QStringLiteral("%1, retrying in %2 s").arg(reason).arg((wait + 999) / 1000));
    m_retryTimer.start(wait);
}

void TcpFeed::send(const QByteArray &bytes)
{
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.write(bytes);
}

QList<QByteArray> TcpFeed::splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    for (char c : bytes) {
        if (c == '\n' || c == '\r') {
            if (!m_discardingLongLine && !m_lineBuffer.isEmpty())
                lines.append(m_lineBuffer);
            m_lineBuffer.clear();
            m_discardingLongLine = false;
            continue;
        }
        if (m_discardingLongLine)
            continue;
        if (m_lineBuffer.size() >= MaxLine) {
            m_lineBuffer.clear();
            m_discardingLongLine = true;
            countRejected();
            continue;
        }
        m_lineBuffer.append(c);
    }
    return lines;
}

void KissFeed::onData(const QByteArray &bytes)
{
    for (const QByteArray &frame : m_deframer.feed(bytes)) {
        QString line;
        if (ax25ToTnc2(frame, &line))
            deliverLine(line);
        else
            countRejected();
    }
}

QByteArray AprsIsFeed::loginLine(const QString &callsign, const QString &filter, const QString &passcode)
{
    // A passcode is a number; anything else would be a second word on the line.
    QString pass = oneLine(passcode).trimmed();
    bool number = false;
    pass.toInt(&number);
    if (!number)
        pass = QStringLiteral("-1");
    QString line = QStringLiteral("user %1 pass %2 vers Kestrel %3")
                       .arg(oneLine(callsign), pass, QStringLiteral(KESTREL_VERSION));
    const QString filterText = oneLine(filter).trimmed();
    if (!filterText.isEmpty())
        line += QStringLiteral(" filter ") + filterText;
    return line.toLatin1() + "\r\n";
}

void AprsIsFeed::onConnected()
{
    m_verified = false;
    m_loginAnswer.clear();
    send(loginLine(m_settings.callsign, m_settings.filter, transmits() ? m_settings.passcode : QString()));
}

void AprsIsFeed::onData(const QByteArray &bytes)
{
    for (const QByteArray &raw : splitLines(bytes)) {
        // Decoded first: a byte-order mark may stand before a comment, or
        // alone on a line that is then empty.
        const QString line = decodeLine(raw);
        if (line.startsWith(u'#'))
            readServerLine(line);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        deliverLine(line);
    }
}

DxClusterFeed::DxClusterFeed(const FeedSettings &settings, QObject *parent)
    : TcpFeed(settings, parent)
{
    m_loginTimer.setSingleShot(true);
    connect(&m_loginTimer, &QTimer::timeout, this, &DxClusterFeed::logIn);
}

void DxClusterFeed::onConnected()
{
    m_loggedIn = false;
    m_telnetState = 0;
    m_inSubnegotiation = false;
    // Clusters ask "login:" or "Please enter your call:"; some ask nothing.
    m_loginTimer.start(LoginFallbackMs);
}

void DxClusterFeed::onDisconnected()
{
    m_loginTimer.stop();
}

void DxClusterFeed::logIn()
{
    if (m_loggedIn)
        return;
    m_loggedIn = true;
    m_loginTimer.stop();
    send(oneLine(m_settings.callsign).toLatin1() + "\r\n");
}

QByteArray DxClusterFeed::stripTelnet(const QByteArray &bytes)
{
    // IAC commands are skipped, never answered: the cluster talks plain lines.
    QByteArray out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (m_telnetState == 1) {  // after IAC
            if (c == 0xFF) {
                if (!m_inSubnegotiation)
                    out.append(ch);
                m_telnetState = 0;
            } else if (c >= 0xFB && c <= 0xFE) {
                m_telnetState = 2;  // option byte follows
            } else {
                if (c == 0xFA) {
                    m_inSubnegotiation = true;
                    m_subnegotiationBytes = 0;
                }
                else if (c == 0xF0)
                    m_inSubnegotiation = false;
                m_telnetState = 0;
            }
            continue;
        }
        if (m_telnetState == 2) {
            m_telnetState = 0;
            continue;
        }
        if (c == 0xFF) {
            m_telnetState = 1;
            continue;
        }
        if (!m_inSubnegotiation)
            out.append(ch);
        else if (++m_subnegotiationBytes > MaxSubnegotiation)
            m_inSubnegotiation = false;
    }
    return out;
}

void DxClusterFeed::onData(const QByteArray &bytes)
{
    const QByteArray text = stripTelnet(bytes);
    const QList<QByteArray> lines = splitLines(text);
    if (!m_loggedIn) {
        // Each line on its own, and the line still coming (a prompt has no
        // line end): however the text is cut into reads, a prompt is seen.
        const auto asks = [](const QByteArray &text) {
            const QByteArray lower = text.toLower();
            return lower.contains("login") || lower.contains("call");
        };
        if (std::any_of(lines.cbegin(), lines.cend(), asks) || asks(pending()))
            logIn();
    }
    for (QByteArray raw : lines) {
        // Clusters ring the bell after a spot; control characters are no text.
        raw.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20; });
        const QString line = decodeLine(raw);
        DxSpotLine spot;
        if (parseDxSpotLine(line, &spot))
            deliverSpot(line);
    }
}
