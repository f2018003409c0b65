#pragma once

#include <QList>

#include "statistics/StatisticsSeries.h"

// A least-squares straight line of value against seconds on the time axis
// of a StatisticsBarIndex.
struct StatisticsTrend
{
    qsizetype count = 0;  // bars it was fitted to; 0: there is no line
    double meanX = 0, meanY = 0, slope = 0;

    double at(double seconds) const { return meanY + slope * (seconds - meanX); }
};

// The bars in time order, with what the chart needs to draw a year of them
// within a frame: where each stands on the time axis, the tallest and the
// lowest bar of any run of neighbours (found without visiting the run), and
// the sums of the trend line. A new index costs a pass over the bars (and a
// sort when they are out of time order); following a live series, whose
// bars change only at the end, costs little more than the change. Copies
// share their data.
class StatisticsBarIndex
{
public:
    StatisticsBarIndex() = default;
    explicit StatisticsBarIndex(const QList<StatisticsBar> &bars);

    // Takes in what changed at the end of the bars indexed: the last one's
    // value, and bars appended no earlier in time than it. False, with
    // nothing changed, for any other change: index the bars anew then.
    bool follow(const QList<StatisticsBar> &bars);

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    // Seconds from the earliest bar.
    double secondsOf(qsizetype bar) const { return m_barSeconds.value(bar, 0.0); }
    // The shortest step between two bars' times (one sample period); 600
    // when there is none.
    double period() const { return m_shortestGap > 0 ? m_shortestGap : 600.0; }
    // From the earliest bar to one period past the latest.
    double span() const;
    // Of the bars' values, with 0 and 1 always in.
    qint32 lowestValue() const;
    qint32 highestValue() const;

    // Ranks count the bars in time order, the earliest 0.
    qsizetype barAtRank(qsizetype rank) const { return m_rankToBar.isEmpty() ? rank : m_rankToBar.at(rank); }
    double secondsAtRank(qsizetype rank) const;
    // The first rank whose bar stands at or after the seconds given.
    qsizetype firstRankFrom(double seconds) const;
    qsizetype rankOfLastBar() const { return m_rankOfLast; }

    // The bar with the largest value among ranks [from, to), or -1 when
    // the run is empty; smallestIn likewise. Each takes O(log n).
    qsizetype largestIn(qsizetype from, qsizetype to) const;
    qsizetype smallestIn(qsizetype from, qsizetype to) const;

    // The least-squares line through the bars, or through all but the last
    // one (a live window's bar still counting).
    StatisticsTrend trend(bool withoutLast = false) const;

private:
    void growTrees();
    // Brings the nodes above a rank's leaf up to date.
    void settle(qsizetype rank);
    qsizetype pick(const QList<qint32> &tree, qsizetype from, qsizetype to, bool largest) const;
    void addToSums(double x, double y, double sign);

    qsizetype m_size = 0;
    qint64 m_origin = 0;
    double m_shortestGap = 0;
    qsizetype m_rankOfLast = -1;
    QList<double> m_barSeconds;   // by bar, from the origin
    QList<double> m_rankSeconds;  // by rank; empty when the bars are in time order
    QList<qint32> m_rankToBar;    // likewise
    QList<qint32> m_rankValues;
    // Segment trees over the ranks, the leaves at m_leaves + rank (a power
    // of two, so that appending stays in place); a node holds the rank that
    // wins among its leaves, -1 for none.
    qsizetype m_leaves = 0;
    QList<qint32> m_largest;
    QList<qint32> m_smallest;
    double m_sumX = 0, m_sumY = 0, m_sumXX = 0, m_sumXY = 0;
};

// Series 1, "Trend": the least-squares straight line through the bars (value
// against time), evaluated at each bar's time. One bar gives a flat
// line at its value; no bars give none.
QList<double> leastSquaresTrend(const QList<StatisticsBar> &bars);
