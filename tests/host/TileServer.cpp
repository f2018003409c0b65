#include "TileServer.h"

#include <QBuffer>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>
#include <numbers>

TileServer::TileServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

QString TileServer::urlTemplate() const
{
    return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(m_server.serverPort());
}

QColor TileServer::zoomColour(int z)
{
    return QColor::fromHsv((z * 47) % 360, 60, 235);
}

TileKey TileServer::tileAt(double latitude, double longitude, int z, QPoint *pixel)
{
    const double n = std::pow(2.0, z);
    const double phi = latitude * std::numbers::pi / 180.0;
    const double x = (longitude + 180.0) / 360.0 * n * 256;
    const double y = (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / std::numbers::pi) / 2.0 * n * 256;
    const TileKey key{z, int(x / 256), int(y / 256)};
    if (pixel)
        *pixel = QPoint(int(x) - key.x * 256, int(y) - key.y * 256);
    return key;
}

QImage TileServer::tileImage(TileKey key) const
{
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(zoomColour(key.z));
    if (noisy) {
        QRandomGenerator random(quint32(key.id()));
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                image.setPixel(x, y, random.generate() | 0xFF000000);
    }
    QPainter p(&image);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(0, 0, 255, 255);
    for (const QPointF &mark : marks) {
        QPoint at;
        const TileKey home = tileAt(mark.x(), mark.y(), key.z, &at);
        // A mark near an edge reaches into the next tile too; the painter clips.
        if (std::abs(home.x - key.x) > 1 || std::abs(home.y - key.y) > 1)
            continue;
        at += QPoint((home.x - key.x) * 256, (home.y - key.y) * 256);
        if (ringRadius > 0) {
            p.setPen(QPen(QColor::fromRgb(Mark), 3));
            p.drawEllipse(QPointF(at) + QPointF(0.5, 0.5), ringRadius, ringRadius);
        } else {
            p.fillRect(QRect(at - QPoint(1, 1), QSize(3, 3)), QColor::fromRgb(Mark));
        }
    }
    return image;
}

void TileServer::readRequest(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    int end;
    while ((end = int(buffer.indexOf("\r\n\r\n"))) >= 0) {
        const QByteArray head = buffer.left(end);
        buffer.remove(0, end + 4);
        static const QRegularExpression line(QStringLiteral("^GET /(\\d+)/(\\d+)/(\\d+)\\.png HTTP"));
        static const QRegularExpression agent(QStringLiteral("\\r\\nUser-Agent: ([^\\r\\n]*)"),
                                              QRegularExpression::CaseInsensitiveOption);
        const QString text = QString::fromLatin1(head);
        const auto match = line.match(text);
        const auto who = agent.match(text);
        m_userAgents.append(who.hasMatch() ? who.captured(1) : QString());
        if (!match.hasMatch()) {
            reply(socket, {}, Answer::NotFound);
            continue;
        }
        const TileKey key{match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()};
        m_requested.append(key);
        m_mostAtOnce = std::max(m_mostAtOnce, ++m_waiting);
        const Answer how = answer(key);
        if (how == Answer::Slow) {
            QPointer<QTcpSocket> later(socket);
            QTimer::singleShot(slowMs, this, [this, later, key] {
                if (later)
                    reply(later, key, Answer::Tile);
                else
                    --m_waiting;
            });
        } else {
            reply(socket, key, how);
        }
    }
}

void TileServer::reply(QTcpSocket *socket, TileKey key, Answer how)
{
    if (key.isValid())
        --m_waiting;
    const QByteArray date =
        QLocale::c().toString(QDateTime::currentDateTimeUtc(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'")).toLatin1();
    if (how == Answer::NotFound) {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nDate: " + date + "\r\n\r\nnot found");
        return;
    }
    if (how == Answer::Drip || how == Answer::HugeLength || how == Answer::Endless) {
        sendForever(socket, how);
        return;
    }
    QByteArray body;
    if (how == Answer::Garbage) {
        body.resize(4000);
        for (char &c : body)
            c = char(QRandomGenerator::global()->bounded(256));
        body.replace(0, 4, "\x89PNG");
    } else {
        QBuffer out(&body);
        out.open(QIODevice::WriteOnly);
        tileImage(key).save(&out, "PNG");
    }
    const QByteArray length = how == Answer::CloseEarly ? QByteArray::number(body.size() * 4) : QByteArray::number(body.size());
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " + length + "\r\nDate: " + date
                  + "\r\nCache-Control: max-age=" + QByteArray::number(maxAge) + "\r\n\r\n");
    if (how == Answer::CloseEarly) {
        socket->write(body.left(100));
        socket->flush();
        socket->disconnectFromHost();
        return;
    }
    socket->write(body);
}

void TileServer::sendForever(QTcpSocket *socket, Answer how)
{
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n";
    head += how == Answer::Endless ? QByteArray("Transfer-Encoding: chunked\r\n")
            : how == Answer::HugeLength ? QByteArray("Content-Length: 2147483648\r\n")
                                        : QByteArray("Content-Length: 10000\r\n");
    // A chunked body begins with a chunk of its own: bare bytes there would
    // read as the last chunk and end the reply at once.
    socket->write(head + (how == Answer::Endless ? QByteArray("\r\n4\r\n\x89PNG\r\n") : QByteArray("\r\n\x89PNG")));
    auto *timer = new QTimer(socket);
    QPointer<QTcpSocket> alive(socket);
    const QByteArray block(256 * 1024, 'x');
    const QByteArray chunk = QByteArray::number(block.size(), 16) + "\r\n" + block + "\r\n";
    connect(timer, &QTimer::timeout, this, [this, alive, how, block, chunk] {
        if (!alive || alive->state() != QAbstractSocket::ConnectedState)
            return;
        if (how == Answer::Drip) {
            alive->write("x", 1);
            return;
        }
        // Only as fast as the client takes it: what waits in the socket is not counted.
        if (alive->bytesToWrite() > 1024 * 1024)
            return;
        const QByteArray &piece = how == Answer::Endless ? chunk : block;
        alive->write(piece);
        m_floodWritten += piece.size();
    });
    timer->start(how == Answer::Drip ? dripMs : 0);
}
