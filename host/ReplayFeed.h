#pragma once

#include "host/Feed.h"

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

    // Parses the file's text; public for tests. Lines starting "#" or ";" are comments.
    void setText(const QString &text);
    int lineCount() const { return int(m_lines.size()); }

protected:
    QString describe() const override;

private:
    void playNext();
    void scheduleNext();

    struct Line
    {
        int seconds;  // -1 when the line carried no stamp
        QString text;
    };
    QVector<Line> m_lines;
    int m_next = 0;
    QTimer m_timer;
    bool m_loaded = false;
};
