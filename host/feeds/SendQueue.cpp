#include "host/feeds/SendQueue.h"

#include <algorithm>

bool SendQueue::push(const QString &frame)
{
    if (std::find(m_waiting.begin(), m_waiting.end(), frame) != m_waiting.end())
        return true;
    if (int(m_waiting.size()) >= MaxWaiting) {
        ++m_refused;
        return false;
    }
    m_waiting.push_back(frame);
    return true;
}

void SendQueue::forget(qint64 nowMs) const
{
    while (!m_sent.empty() && m_sent.front() <= nowMs - WindowMs)
        m_sent.pop_front();
}

QList<QString> SendQueue::take(qint64 nowMs)
{
    forget(nowMs);
    QList<QString> out;
    while (!m_waiting.empty() && int(m_sent.size()) < Limit) {
        out.append(m_waiting.front());
        m_waiting.pop_front();
        m_sent.push_back(nowMs);
    }
    return out;
}

qint64 SendQueue::waitMs(qint64 nowMs) const
{
    if (m_waiting.empty())
        return -1;
    forget(nowMs);
    if (int(m_sent.size()) < Limit)
        return 0;
    return std::max<qint64>(0, m_sent.front() + WindowMs - nowMs);
}
