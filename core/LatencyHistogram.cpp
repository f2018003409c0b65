#include "core/LatencyHistogram.h"

#include <cmath>

int LatencyHistogram::binOf(qint64 ms)
{
    if (ms < 0)
        return 0;
    if (ms < 100)
        return int(ms);
    if (ms < 1000)
        return 100 + int((ms - 100) / 10);
    if (ms < 10000)
        return 190 + int((ms - 1000) / 100);
    return kBins - 1;
}

qint64 LatencyHistogram::lowerEdge(int bin)
{
    if (bin < 100)
        return bin;
    if (bin < 190)
        return 100 + qint64(bin - 100) * 10;
    if (bin < 280)
        return 1000 + qint64(bin - 190) * 100;
    return 10000;
}

void LatencyHistogram::add(qint64 ms)
{
    ++m_bins[size_t(binOf(ms))];
    ++m_count;
}

void LatencyHistogram::clear()
{
    m_bins.fill(0);
    m_count = 0;
}

qint64 LatencyHistogram::percentile(double percent) const
{
    if (m_count == 0)
        return 0;
    const auto wanted = qint64(std::ceil(double(m_count) * percent / 100.0));
    qint64 seen = 0;
    for (int bin = 0; bin < kBins; ++bin) {
        seen += m_bins[size_t(bin)];
        if (seen >= wanted && seen > 0)
            return lowerEdge(bin);
    }
    return lowerEdge(kBins - 1);
}
