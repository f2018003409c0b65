#include "app/InstanceDoorbell.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QTimer>
#include <QWidget>

namespace {

const QByteArray kRing = QByteArrayLiteral("raise\n");
// Local socket paths are limited to a little over a hundred bytes.
constexpr qsizetype kLongestPath = 100;

} // namespace

InstanceDoorbell::InstanceDoorbell(const QString &folder, QObject *parent)
    : QObject(parent), m_name(socketName(folder))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *caller = m_server.nextPendingConnection()) {
            // A second start rings once and goes: more callers than that at
            // once, or one that says nothing, only hold descriptors.
            if (m_callers >= MaxCallers) {
                caller->abort();
                caller->deleteLater();
                continue;
            }
            ++m_callers;
            connect(caller, &QObject::destroyed, this, [this] { --m_callers; });
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            auto *idle = new QTimer(caller);
            idle->setSingleShot(true);
            connect(idle, &QTimer::timeout, caller, [caller] {
                caller->abort();
                caller->deleteLater();
            });
            idle->start(IdleMs);
            // The ring may come in pieces: a line is waited for, a line too long is not.
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (caller->canReadLine()) {
                    if (caller->readLine(kRing.size() + 1) == kRing)
                        emit rung();
                    caller->disconnectFromServer();
                } else if (caller->bytesAvailable() >= kRing.size()) {
                    caller->abort();
                    caller->deleteLater();
                }
            });
        }
    });
}

QString InstanceDoorbell::socketName(const QString &folder)
{
    const QString path = folder + QStringLiteral("/Kestrel.socket");
    if (path.toLocal8Bit().size() <= kLongestPath)
        return path;
    return QStringLiteral("Kestrel-")
           + QString::fromLatin1(QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

bool InstanceDoorbell::listen()
{
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

bool InstanceDoorbell::ring(const QString &folder, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketName(folder));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRing);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void InstanceDoorbell::bringToFront(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}
