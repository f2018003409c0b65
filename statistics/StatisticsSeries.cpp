#include "statistics/StatisticsSeries.h"

#include "core/Configuration.h"

#include <algorithm>
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

QList<double> leastSquaresTrend(const QList<StatisticsBar> &bars)
{
    QList<double> trend;
    if (bars.isEmpty())
        return trend;
    // Seconds from the first bar keep the sums small enough to stay exact.
    const QDateTime origin = bars.first().time;
    QList<double> xs;
    xs.reserve(bars.size());
    double meanX = 0, meanY = 0;
    for (const StatisticsBar &bar : bars) {
        xs.append(double(origin.secsTo(bar.time)));
        meanX += xs.last();
        meanY += bar.value;
    }
    const double n = double(bars.size());
    meanX /= n;
    meanY /= n;
    double sxy = 0, sxx = 0;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        const double dx = xs[i] - meanX;
        sxx += dx * dx;
        sxy += dx * (bars[i].value - meanY);
    }
    const double slope = sxx > 0 ? sxy / sxx : 0.0;
    trend.reserve(bars.size());
    for (const double x : xs)
        trend.append(meanY + slope * (x - meanX));
    return trend;
}
