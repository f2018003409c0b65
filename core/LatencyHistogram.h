#pragma once

#include <QtGlobal>

#include <array>

// Counts of event-loop lateness in milliseconds: one-millisecond bins below
// 100 ms, ten below a second, a hundred below ten seconds, then one bin.
// Small enough to keep for the whole run and to read a percentile from.
class LatencyHistogram
{
public:
    void add(qint64 ms);
    void clear();

    qint64 count() const { return m_count; }
    // The smallest lateness that at least `percent` of the samples do not
    // exceed, to the resolution of its bin (the bin's lower edge); 0 when empty.
    qint64 percentile(double percent) const;

private:
    static constexpr int kBins = 100 + 90 + 90 + 1;
    static int binOf(qint64 ms);
    static qint64 lowerEdge(int bin);

    std::array<qint64, kBins> m_bins{};
    qint64 m_count = 0;
};
