#pragma once

#include <QDateTime>
#include <QList>

// One bar of the statistics chart: the start of its sample period and the
// frames counted in it. colour is 0x00BBGGRR.
struct StatisticsBar
{
    QDateTime time;
    qint32 value = 0;
    qint32 colour = 0;
};

// The load levels a bar is coloured by. A bar above med is red, above low
// yellow, else green; a bar exactly at a threshold takes the lower colour.
struct StatisticsThresholds
{
    qint32 low = 10;
    qint32 med = 20;

    // From the configuration's "LowCount" and "MedCount".
    static StatisticsThresholds configured();
};

namespace StatisticsColour {
inline constexpr qint32 Green = 65280;
inline constexpr qint32 Yellow = 65535;
inline constexpr qint32 Red = 255;
} // namespace StatisticsColour

qint32 barColour(qint32 value, const StatisticsThresholds &thresholds);
// "green", "yellow" or "red".
const char *barColourName(qint32 colour);

// Series 0 of the chart, "Activity": the bars in the order they were added.
class StatisticsSeries
{
public:
    explicit StatisticsSeries(StatisticsThresholds thresholds = {});

    void AddStatisticsBar(const QDateTime &t, qint32 v);
    // Adds the frames to the last bar and colours it anew; nothing without bars.
    void addToLastBar(qint32 frames);

    const QList<StatisticsBar> &bars() const { return m_bars; }
    qsizetype count() const { return m_bars.size(); }
    bool isEmpty() const { return m_bars.isEmpty(); }
    const StatisticsThresholds &thresholds() const { return m_thresholds; }
    // For the bars added or updated from now on.
    void setThresholds(const StatisticsThresholds &thresholds) { m_thresholds = thresholds; }
    void clear();
    // Changes whenever bars may have changed other than by adding to the
    // last one or appending: a cleared series, another series assigned.
    quint64 generation() const { return m_generation; }

private:
    StatisticsThresholds m_thresholds;
    quint64 m_generation;
    QList<StatisticsBar> m_bars;
};

