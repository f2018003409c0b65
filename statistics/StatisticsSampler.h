#pragma once

#include <QDateTime>

#include "statistics/StatisticsSeries.h"

// The live count: frames since the last tick, and the sample period they
// belong to. Every tick (once a minute) adds the minute's frames to the
// current bar; once the period has run "Sample" minutes a new bar starts.
class StatisticsSampler
{
public:
    StatisticsSampler(StatisticsSeries &series, qint16 sampleMinutes);

    // The first bar, at the start of the first period.
    void start(const QDateTime &now);
    // One frame heard.
    void UpdateStatitics();
    // The one-minute tick. True when it started a new bar.
    bool tick(const QDateTime &now);
    // Adds the frames counted since the last tick to the last bar.
    void UpdateLastBar();

    qint32 frameCount() const { return m_frameCount; }
    const QDateTime &sampleStart() const { return m_sampleStart; }
    qint16 sampleMinutes() const { return m_sampleMinutes; }
    void setSampleMinutes(qint16 minutes) { m_sampleMinutes = minutes; }

    // How many minute boundaries lie after from, up to and including to.
    static qint64 minuteBoundaries(const QDateTime &from, const QDateTime &to);

private:
    StatisticsSeries &m_series;
    qint16 m_sampleMinutes;
    qint32 m_frameCount = 0;
    QDateTime m_sampleStart;
};
