#include "core/StallWatchdog.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QMetaEnum>
#include <QTimer>

#include <ctime>

namespace {

StallWatchdog *g_watchdog = nullptr;

// Deeper nesting than this is not kept: the outer frames already say enough.
constexpr size_t kMaxDepth = 64;

qint64 steadyMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

qint64 threadBusyMs()
{
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return qint64(used.tv_sec) * 1000 + used.tv_nsec / 1000000;
}

} // namespace

StallWatchdog::StallWatchdog(MsClock clock, MsClock busyClock, QObject *parent)
    : QObject(parent)
    , m_clock(clock ? std::move(clock) : MsClock(steadyMs))
    , m_busyClock(busyClock ? std::move(busyClock) : MsClock(threadBusyMs))
{
    m_stack.reserve(kMaxDepth);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kHeartbeatMs);
    connect(&m_timer, &QTimer::timeout, this, &StallWatchdog::heartbeat);
    m_due = m_clock() + kHeartbeatMs;
    m_busyAtBeat = m_busyClock();
}

StallWatchdog *StallWatchdog::instance() { return g_watchdog; }

void StallWatchdog::install(StallWatchdog *watchdog) { g_watchdog = watchdog; }

void StallWatchdog::start()
{
    m_running = true;
    m_due = m_clock() + kHeartbeatMs;
    m_busyAtBeat = m_busyClock();
    m_timer.start();
}

void StallWatchdog::push(Frame frame)
{
    if (m_depth++ < kMaxDepth)
        m_stack.push_back(std::move(frame));
}

void StallWatchdog::enterEvent(const QObject *receiver, const QEvent *event)
{
    ++m_events;
    if (m_depth >= kMaxDepth) {
        ++m_depth;
        return;
    }
    Frame frame;
    frame.start = m_clock();
    frame.beats = m_beats;
    frame.kind = receiver->metaObject()->className();
    frame.name = receiver->objectName();
    frame.eventType = int(event->type());
    if (event->type() == QEvent::Timer) {
        if (receiver->parent())
            frame.owner = receiver->parent()->metaObject()->className();
        if (auto *timer = qobject_cast<const QTimer *>(receiver))
            frame.interval = timer->interval();
    }
    push(std::move(frame));
}

void StallWatchdog::enterActivity(const char *kind, const QString &name)
{
    Frame frame;
    frame.start = m_clock();
    frame.beats = m_beats;
    frame.kind = kind;
    frame.name = name;
    push(std::move(frame));
}

void StallWatchdog::leave()
{
    if (m_depth == 0)
        return;
    if (m_depth-- > kMaxDepth)
        return;
    const Frame &frame = m_stack.back();
    // Work that let a heartbeat through (a dialog's own loop) did not block.
    if (frame.beats == m_beats) {
        const qint64 ms = m_clock() - frame.start;
        if (ms > m_gapLongest) {
            m_gapLongest = ms;
            // Worth naming only when it may become a stall. An inner piece of
            // work that took most of this one's time names it better.
            if (ms * 2 >= kThresholdMs) {
                const bool innerExplains = !m_culprit.isEmpty() && m_culpritStart >= frame.start && m_culpritMs * 2 >= ms;
                if (!innerExplains) {
                    m_culprit = pathTo(frame);
                    m_culpritStart = frame.start;
                    m_culpritMs = ms;
                }
            }
        }
    }
    m_stack.pop_back();
}

QString StallWatchdog::describe(const Frame &frame) const
{
    const QString kind = QString::fromLatin1(frame.kind);
    if (frame.eventType < 0)
        return frame.name.isEmpty() ? kind : kind + u' ' + frame.name;
    if (frame.eventType == QEvent::Timer && kind == QLatin1String("QTimer")) {
        QString text = QStringLiteral("timer");
        if (!frame.name.isEmpty())
            text += u' ' + frame.name;
        if (frame.owner)
            text += QStringLiteral(" of ") + QString::fromLatin1(frame.owner);
        if (frame.interval >= 0)
            text += QStringLiteral(" (%1 ms)").arg(frame.interval);
        return text;
    }
    const char *type = QMetaEnum::fromType<QEvent::Type>().valueToKey(frame.eventType);
    QString text = (type ? QString::fromLatin1(type) : QString::number(frame.eventType)) + QStringLiteral(" event for ")
                   + kind;
    if (!frame.name.isEmpty())
        text += QStringLiteral(" \"") + frame.name + u'"';
    return text;
}

// The named activities around the culprit, outermost first, then the culprit
// itself; with no activity around it, the outermost event it ran in.
QString StallWatchdog::pathTo(const Frame &culprit) const
{
    QStringList parts;
    for (const Frame &frame : m_stack) {
        if (&frame == &culprit)
            break;
        if (frame.eventType < 0)
            parts << describe(frame);
    }
    if (parts.isEmpty() && !m_stack.empty() && &m_stack.front() != &culprit)
        parts << describe(m_stack.front());
    parts << describe(culprit);
    parts.removeDuplicates();
    return parts.join(QStringLiteral(" > "));
}

void StallWatchdog::heartbeat()
{
    const qint64 now = m_clock();
    const qint64 late = qMax<qint64>(0, now - m_due);
    const qint64 stall = qMax(late, m_gapLongest);
    const qint64 busy = m_busyClock();
    if (!m_shutdownBegun) {
        m_lateness.add(late);
        if (stall > m_worstMs) {
            m_worstMs = stall;
            m_worstCulprit = m_culprit;
        }
        if (stall >= kThresholdMs)
            ++m_stalls;
    }
    if (stall >= kThresholdMs) {
        // Busy over the whole gap since the last heartbeat, which holds the stall.
        QString line = QStringLiteral("stall %1 ms (busy %2 ms)").arg(stall).arg(busy - m_busyAtBeat);
        if (!m_culprit.isEmpty())
            line += QStringLiteral(" in ") + m_culprit;
        const QString context = m_context ? m_context() : QString();
        if (!context.isEmpty())
            line += QStringLiteral("; ") + context;
        m_lastStall = line;
        if (m_reporter)
            m_reporter(line);
        emit stalled(stall, line);
    }
    ++m_beats;
    m_gapLongest = 0;
    m_culprit.clear();
    m_culpritMs = 0;
    m_due = now + kHeartbeatMs;
    m_busyAtBeat = busy;
    if (m_running)
        m_timer.start();
}

void StallWatchdog::markStartupDone()
{
    m_startupDone = true;
    m_lateness.clear();
    m_worstMs = 0;
    m_worstCulprit.clear();
    m_stalls = 0;
}

QString StallWatchdog::summary() const
{
    return QStringLiteral("stalls over %1 ms: %2, worst stall %3 ms, p99 lateness %4 ms")
        .arg(kThresholdMs)
        .arg(m_stalls)
        .arg(m_worstMs)
        .arg(m_lateness.percentile(99));
}
