#include "statistics/StatisticsBarIndex.h"

#include <algorithm>
#include <bit>
#include <numeric>

StatisticsBarIndex::StatisticsBarIndex(const QList<StatisticsBar> &bars)
    : m_size(bars.size())
{
    if (bars.isEmpty())
        return;
    QList<qint64> seconds(m_size);
    bool inOrder = true;
    for (qsizetype i = 0; i < m_size; ++i) {
        seconds[i] = bars[i].time.toSecsSinceEpoch();
        inOrder = inOrder && (i == 0 || seconds[i - 1] <= seconds[i]);
    }
    m_origin = *std::min_element(seconds.cbegin(), seconds.cend());
    m_barSeconds.resize(m_size);
    for (qsizetype i = 0; i < m_size; ++i)
        m_barSeconds[i] = double(seconds[i] - m_origin);

    m_rankOfLast = m_size - 1;
    if (!inOrder) {
        m_rankToBar.resize(m_size);
        std::iota(m_rankToBar.begin(), m_rankToBar.end(), 0);
        std::stable_sort(m_rankToBar.begin(), m_rankToBar.end(),
                         [&](qint32 a, qint32 b) { return seconds[a] < seconds[b]; });
        m_rankSeconds.resize(m_size);
        for (qsizetype r = 0; r < m_size; ++r) {
            m_rankSeconds[r] = m_barSeconds[m_rankToBar[r]];
            if (m_rankToBar[r] == m_size - 1)
                m_rankOfLast = r;
        }
    }

    m_rankValues.resize(m_size);
    for (qsizetype r = 0; r < m_size; ++r) {
        m_rankValues[r] = bars[barAtRank(r)].value;
        addToSums(secondsAtRank(r), m_rankValues[r], 1);
        if (const double gap = r > 0 ? secondsAtRank(r) - secondsAtRank(r - 1) : 0;
            gap > 0 && (m_shortestGap == 0 || gap < m_shortestGap))
            m_shortestGap = gap;
    }
    growTrees();
}

bool StatisticsBarIndex::follow(const QList<StatisticsBar> &bars)
{
    if (m_size == 0 || !m_rankToBar.isEmpty() || bars.size() < m_size)
        return false;
    const qsizetype last = m_size - 1;
    if (double(bars[last].time.toSecsSinceEpoch() - m_origin) != m_barSeconds[last])
        return false;
    QList<double> added;
    added.reserve(bars.size() - m_size);
    for (qsizetype i = m_size; i < bars.size(); ++i) {
        added.append(double(bars[i].time.toSecsSinceEpoch() - m_origin));
        if (added.last() < (added.size() > 1 ? added[added.size() - 2] : m_barSeconds[last]))
            return false;
    }

    if (const qint32 value = bars[last].value; value != m_rankValues[last]) {
        addToSums(m_barSeconds[last], m_rankValues[last], -1);
        addToSums(m_barSeconds[last], value, 1);
        m_rankValues[last] = value;
        settle(last);
    }
    for (const double seconds : added) {
        if (const double gap = seconds - m_barSeconds.last(); gap > 0 && (m_shortestGap == 0 || gap < m_shortestGap))
            m_shortestGap = gap;
        const qint32 value = bars[m_size].value;
        m_barSeconds.append(seconds);
        m_rankValues.append(value);
        addToSums(seconds, value, 1);
        m_rankOfLast = m_size++;
        if (m_size > m_leaves) {
            growTrees();
        } else {
            m_largest[m_leaves + m_rankOfLast] = m_smallest[m_leaves + m_rankOfLast] = qint32(m_rankOfLast);
            settle(m_rankOfLast);
        }
    }
    return true;
}

double StatisticsBarIndex::span() const
{
    return (m_size > 0 ? secondsAtRank(m_size - 1) : 0.0) + period();
}

qint32 StatisticsBarIndex::lowestValue() const
{
    return m_size > 0 ? std::min<qint32>(0, m_rankValues[m_smallest[1]]) : 0;
}

qint32 StatisticsBarIndex::highestValue() const
{
    return m_size > 0 ? std::max<qint32>(1, m_rankValues[m_largest[1]]) : 1;
}

double StatisticsBarIndex::secondsAtRank(qsizetype rank) const
{
    return m_rankSeconds.isEmpty() ? m_barSeconds.at(rank) : m_rankSeconds.at(rank);
}

qsizetype StatisticsBarIndex::firstRankFrom(double seconds) const
{
    const QList<double> &ranked = m_rankSeconds.isEmpty() ? m_barSeconds : m_rankSeconds;
    return std::lower_bound(ranked.cbegin(), ranked.cend(), seconds) - ranked.cbegin();
}

qsizetype StatisticsBarIndex::largestIn(qsizetype from, qsizetype to) const
{
    return pick(m_largest, from, to, true);
}

qsizetype StatisticsBarIndex::smallestIn(qsizetype from, qsizetype to) const
{
    return pick(m_smallest, from, to, false);
}

StatisticsTrend StatisticsBarIndex::trend(bool withoutLast) const
{
    StatisticsTrend line;
    line.count = m_size;
    double sumX = m_sumX, sumY = m_sumY, sumXX = m_sumXX, sumXY = m_sumXY;
    if (withoutLast && m_size > 0) {
        const double x = m_barSeconds.last(), y = m_rankValues[m_rankOfLast];
        sumX -= x;
        sumY -= y;
        sumXX -= x * x;
        sumXY -= x * y;
        --line.count;
    }
    if (line.count <= 0)
        return {};
    const double n = double(line.count);
    line.meanX = sumX / n;
    line.meanY = sumY / n;
    const double varianceX = sumXX - sumX * line.meanX;
    const double covariance = sumXY - sumX * line.meanY;
    // Bars all at one time (or one bar) give a flat line; the sums' rounding must not tilt it.
    line.slope = varianceX > 1e-12 * std::max(1.0, sumXX) ? covariance / varianceX : 0.0;
    return line;
}

void StatisticsBarIndex::addToSums(double x, double y, double sign)
{
    m_sumX += sign * x;
    m_sumY += sign * y;
    m_sumXX += sign * x * x;
    m_sumXY += sign * x * y;
}

namespace {

// Node i of a tree holds the winner of nodes 2i and 2i + 1.
void combine(qint32 *largest, qint32 *smallest, const qint32 *values, qsizetype node)
{
    const qint32 a = largest[2 * node], b = largest[2 * node + 1];
    largest[node] = a < 0 || b < 0 ? std::max(a, b) : (values[b] > values[a] ? b : a);
    const qint32 c = smallest[2 * node], d = smallest[2 * node + 1];
    smallest[node] = c < 0 || d < 0 ? std::max(c, d) : (values[d] < values[c] ? d : c);
}

} // namespace

void StatisticsBarIndex::growTrees()
{
    m_leaves = qsizetype(std::bit_ceil(quint64(std::max<qsizetype>(m_size, 1))));
    m_largest.fill(-1, 2 * m_leaves);
    m_smallest.fill(-1, 2 * m_leaves);
    qint32 *largest = m_largest.data(), *smallest = m_smallest.data();
    for (qsizetype r = 0; r < m_size; ++r)
        largest[m_leaves + r] = smallest[m_leaves + r] = qint32(r);
    for (qsizetype node = m_leaves - 1; node > 0; --node)
        combine(largest, smallest, m_rankValues.constData(), node);
}

void StatisticsBarIndex::settle(qsizetype rank)
{
    qint32 *largest = m_largest.data(), *smallest = m_smallest.data();
    for (qsizetype node = (m_leaves + rank) / 2; node > 0; node /= 2)
        combine(largest, smallest, m_rankValues.constData(), node);
}

qsizetype StatisticsBarIndex::pick(const QList<qint32> &tree, qsizetype from, qsizetype to, bool largest) const
{
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, m_size);
    if (from >= to)
        return -1;
    qint32 best = -1;
    auto take = [&](qint32 rank) {
        if (best < 0 || (largest ? m_rankValues[rank] > m_rankValues[best] : m_rankValues[rank] < m_rankValues[best]))
            best = rank;
    };
    for (qsizetype lo = from + m_leaves, hi = to + m_leaves; lo < hi; lo /= 2, hi /= 2) {
        if (lo & 1)
            take(tree[lo++]);
        if (hi & 1)
            take(tree[--hi]);
    }
    return barAtRank(best);
}

QList<double> leastSquaresTrend(const QList<StatisticsBar> &bars)
{
    const StatisticsBarIndex index(bars);
    const StatisticsTrend line = index.trend();
    QList<double> trend;
    trend.reserve(bars.size());
    for (qsizetype i = 0; i < bars.size(); ++i)
        trend.append(line.at(index.secondsOf(i)));
    return trend;
}
