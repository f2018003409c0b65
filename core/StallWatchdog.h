#pragma once

#include "core/LatencyHistogram.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class QEvent;

// Measures how late the user-interface thread answers, all the time.
//
// A heartbeat timer is restarted every kHeartbeatMs; how late it fires is
// the loop's lateness, kept in a histogram. Events and named activities
// (commands, frames) are bracketed with enter/leave, so a stall is measured
// by the longest piece of work that let no heartbeat through, and the line
// that reports it can say what was running. A stall of kThresholdMs or more
// is reported once, when the loop comes back.
//
// Single-threaded: everything happens on the thread that made it.
class StallWatchdog : public QObject
{
    Q_OBJECT
public:
    static constexpr int kHeartbeatMs = 100;
    static constexpr int kThresholdMs = 250;

    // Milliseconds on a monotonic clock; tests pass one they move by hand.
    using MsClock = std::function<qint64()>;

    // busyClock: the processor time this thread has used, in milliseconds.
    // A stall line says how much of the stall the thread was busy: little
    // means the machine did not let it run, not that it had work to do.
    explicit StallWatchdog(MsClock clock = {}, MsClock busyClock = {}, QObject *parent = nullptr);

    // Starts the heartbeat on this thread's event loop.
    void start();
    // One heartbeat arriving now: records the lateness and reports a stall.
    void heartbeat();

    // Brackets for what runs: an event for a receiver, or a named activity
    // ("command", "ID_Refresh"). Calls nest; every enter has one leave.
    void enterEvent(const QObject *receiver, const QEvent *event);
    void enterActivity(const char *kind, const QString &name);
    void leave();

    // The figures from here on are those after start-up.
    void markStartupDone();
    bool startupDone() const { return m_startupDone; }
    // The figures stop here: taking every window and the host down at exit
    // is no wait a user sits through. Stalls are still reported.
    void markShutdownBegun() { m_shutdownBegun = true; }

    qint64 worstStallMs() const { return m_worstMs; }
    // What ran through the worst stall, when one piece of work took half the
    // threshold or more; a stall just under the threshold is worth a name too.
    QString worstStallCulprit() const { return m_worstCulprit; }
    int stallsOverThreshold() const { return m_stalls; }
    qint64 latenessPercentileMs(double percent) const { return m_lateness.percentile(percent); }
    qint64 heartbeats() const { return m_lateness.count(); }
    // Events bracketed since the start, for judging what watching them costs.
    qint64 events() const { return m_events; }
    // "stalls over 250 ms: 0, worst stall 41 ms, p99 lateness 6 ms"
    QString summary() const;
    // The line of the last stall reported, or empty.
    QString lastStall() const { return m_lastStall; }

    // Where stall lines go (the debug log, standard error).
    void setReporter(std::function<void(const QString &)> reporter) { m_reporter = std::move(reporter); }
    // Names what the user was looking at ("active window ..."), or empty.
    void setContext(std::function<QString()> context) { m_context = std::move(context); }

    // The program's watchdog, when it runs one; activities report to it.
    static StallWatchdog *instance();
    static void install(StallWatchdog *watchdog);

    // A named activity for as long as the scope lives; costs nothing
    // without a watchdog.
    class Activity
    {
    public:
        Activity(const char *kind, const QString &name) : m_watchdog(instance())
        {
            if (m_watchdog)
                m_watchdog->enterActivity(kind, name);
        }
        ~Activity()
        {
            if (m_watchdog)
                m_watchdog->leave();
        }
        Activity(const Activity &) = delete;
        Activity &operator=(const Activity &) = delete;

    private:
        StallWatchdog *m_watchdog;
    };

signals:
    void stalled(qint64 ms, const QString &line);

private:
    struct Frame
    {
        qint64 start = 0;
        qint64 beats = 0;
        const char *kind = nullptr;   // an activity's kind, or the receiver's class
        const char *owner = nullptr;  // a timer's parent class, when it has one
        QString name;                 // the activity's or the receiver's name
        int eventType = -1;           // -1 for an activity
        int interval = -1;            // a timer's interval, which tells unnamed ones apart
    };
    QString describe(const Frame &frame) const;
    QString pathTo(const Frame &culprit) const;
    void push(Frame frame);

    MsClock m_clock;
    MsClock m_busyClock;
    qint64 m_busyAtBeat = 0;
    QTimer m_timer;
    bool m_running = false;
    qint64 m_due = 0;
    qint64 m_beats = 0;
    qint64 m_events = 0;

    std::vector<Frame> m_stack;
    size_t m_depth = 0;  // may pass the stack's size; deeper frames are not kept
    // The longest work in the current gap between heartbeats that let none through.
    qint64 m_gapLongest = 0;
    qint64 m_culpritStart = 0;
    qint64 m_culpritMs = 0;
    QString m_culprit;

    LatencyHistogram m_lateness;
    qint64 m_worstMs = 0;
    QString m_worstCulprit;
    int m_stalls = 0;
    bool m_startupDone = false;
    bool m_shutdownBegun = false;
    QString m_lastStall;
    std::function<void(const QString &)> m_reporter;
    std::function<QString()> m_context;
};
