// The sending half of every feed: own frames wait in a rate-limited queue
// and go out through the subclass's writeFrame while it can send.
#include "host/feeds/Feed.h"

#include <QDateTime>

QString Feed::stateText() const
{
    const int waiting = m_queue.waiting();
    if (waiting == 0)
        return m_state;
    return m_state + QStringLiteral(", %1 own frame%2 held back (at most %3 a minute)")
                         .arg(waiting)
                         .arg(waiting == 1 ? QString() : QStringLiteral("s"))
                         .arg(SendQueue::Limit);
}

QString Feed::addressOf(const QString &source, const QString &destination) const
{
    QString address = source + u'>' + destination;
    for (const QString &digi : m_settings.path.split(u',', Qt::SkipEmptyParts)) {
        const QString hop = digi.trimmed().toUpper();
        if (!hop.isEmpty())
            address += u',' + hop;
    }
    return address;
}

bool Feed::transmit(const QString &source, const QString &destination, const QString &payload)
{
    if (!transmits() || source.isEmpty())
        return false;
    const int before = m_queue.waiting();
    if (!m_queue.push(addressOf(source, destination) + u':' + payload))
        return false;
    sendWaiting();
    if (m_queue.waiting() != before)
        emit stateChanged();
    return true;
}

void Feed::becameReady()
{
    emit sendReady();
    sendWaiting();
}

void Feed::sendWaiting()
{
    if (!canSendNow() || m_queue.waiting() == 0)
        return;
    const qint64 now = m_nowMs ? m_nowMs() : QDateTime::currentMSecsSinceEpoch();
    const int before = m_queue.waiting();
    for (const QString &line : m_queue.take(now)) {
        if (writeFrame(line)) {
            ++m_sent;
            emit frameSent(line);
        }
    }
    const qint64 wait = m_queue.waitMs(now);
    if (wait >= 0)
        m_sendTimer.start(int(std::max<qint64>(wait, 50)));
    if (m_queue.waiting() != before)
        emit stateChanged();
}
