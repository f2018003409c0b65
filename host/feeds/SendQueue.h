#pragma once

#include <QList>
#include <QString>
#include <deque>

// The own frames of one feed, in order, let out at most Limit within any
// WindowMs: a flood of messages to answer or a loop between two programs
// cannot make the station hog the channel. What is held back waits.
class SendQueue
{
public:
    static constexpr int Limit = 10;
    static constexpr qint64 WindowMs = 60000;
    // Past this many waiting, a new frame is refused rather than kept for
    // longer than anyone would still want it.
    static constexpr int MaxWaiting = 100;

    // Adds a frame; a frame equal to one still waiting is not added twice.
    // False when it was refused (the queue is full).
    bool push(const QString &frame);
    // The frames that may go now, oldest first; they count as sent at nowMs.
    QList<QString> take(qint64 nowMs);
    // Milliseconds from nowMs until the next waiting frame may go; -1 when
    // nothing waits.
    qint64 waitMs(qint64 nowMs) const;
    int waiting() const { return int(m_waiting.size()); }
    int refused() const { return m_refused; }
    void clear() { m_waiting.clear(); }

private:
    void forget(qint64 nowMs) const;

    std::deque<QString> m_waiting;
    mutable std::deque<qint64> m_sent;  // times of the frames of the last window
    int m_refused = 0;
};
