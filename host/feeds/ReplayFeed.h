#pragma once

#include "host/feeds/Feed.h"

#include <QStringList>
#include <QTimer>
#include <QVector>

// Plays a traffic file: one TNC2 line (or, for a DX replay, one "DX de" line)
// per frame, each with an optional leading "HH:MM:SS " time stamp that sets
// its moment relative to the first line. Speed divides the delays; lines
// without a stamp follow each other at the configured interval.
class ReplayFeed : public Feed
{
    Q_OBJECT
public:
    explicit ReplayFeed(const FeedSettings &settings, QObject *parent = nullptr);

    void start() override;
    void stop() override;

    struct Line
    {
        int seconds;  // -1 when the line carried no stamp
        QString text;
    };

    // Parses the file's text; public for tests. Lines starting "#" or ";" are comments.
    void setText(const QString &text);
    int lineCount() const { return int(m_lines.size()); }
    const QVector<Line> &lines() const { return m_lines; }

    // The wait between two lines, stamped at these seconds of the day (-1:
    // no stamp), at this speed; at most what a timer holds.
    static int delayMs(int previousSeconds, int currentSeconds, int intervalMs, double speed);
    // The pause before a loop starts again.
    static int loopPauseMs(double speed);

protected:
    QString describe() const override;

private:
    void playNext();
    void scheduleNext();

    QVector<Line> m_lines;
    int m_next = 0;
    QTimer m_timer;
    bool m_loaded = false;
};
