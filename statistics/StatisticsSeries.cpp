#include "statistics/StatisticsSeries.h"

#include "core/Configuration.h"

#include <algorithm>
#include <atomic>
#include <limits>

StatisticsThresholds StatisticsThresholds::configured()
{
    return {config().lowCount, config().medCount};
}

qint32 barColour(qint32 value, const StatisticsThresholds &thresholds)
{
    if (value > thresholds.med)
        return StatisticsColour::Red;
    if (value > thresholds.low)
        return StatisticsColour::Yellow;
    return StatisticsColour::Green;
}

const char *barColourName(qint32 colour)
{
    switch (colour) {
    case StatisticsColour::Red: return "red";
    case StatisticsColour::Yellow: return "yellow";
    default: return "green";
    }
}

namespace {

quint64 nextGeneration()
{
    static std::atomic<quint64> last{0};
    return ++last;
}

} // namespace

StatisticsSeries::StatisticsSeries(StatisticsThresholds thresholds)
    : m_thresholds(thresholds)
    , m_generation(nextGeneration())
{
}

void StatisticsSeries::clear()
{
    m_bars.clear();
    m_generation = nextGeneration();
}

void StatisticsSeries::AddStatisticsBar(const QDateTime &t, qint32 v)
{
    m_bars.append({t, v, barColour(v, m_thresholds)});
}

void StatisticsSeries::addToLastBar(qint32 frames)
{
    if (m_bars.isEmpty())
        return;
    StatisticsBar &last = m_bars.last();
    // A count that cannot grow any further stays at its largest value.
    const qint64 sum = qint64(last.value) + frames;
    last.value = qint32(std::clamp<qint64>(sum, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    last.colour = barColour(last.value, m_thresholds);
}
