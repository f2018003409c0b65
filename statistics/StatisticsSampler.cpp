#include "statistics/StatisticsSampler.h"

#include <limits>

StatisticsSampler::StatisticsSampler(StatisticsSeries &series, qint16 sampleMinutes)
    : m_series(series)
    , m_sampleMinutes(sampleMinutes)
{
}

void StatisticsSampler::start(const QDateTime &now)
{
    m_sampleStart = now;
    m_series.AddStatisticsBar(m_sampleStart, 0);
}

void StatisticsSampler::UpdateStatitics()
{
    if (m_frameCount < std::numeric_limits<qint32>::max())
        ++m_frameCount;
}

void StatisticsSampler::UpdateLastBar()
{
    m_series.addToLastBar(m_frameCount);
}

bool StatisticsSampler::tick(const QDateTime &now)
{
    const qint64 minutes = minuteBoundaries(m_sampleStart, now);
    UpdateLastBar();
    bool started = false;
    if (minutes >= m_sampleMinutes) {
        m_sampleStart = now;
        m_series.AddStatisticsBar(m_sampleStart, 0);
        started = true;
    }
    m_frameCount = 0;
    return started;
}

qint64 StatisticsSampler::minuteBoundaries(const QDateTime &from, const QDateTime &to)
{
    // Whole minutes on the clock face, so 12:00:59 to 12:01:00 is one and
    // 12:00:00 to 12:00:59 is none. Local wall-clock time, as shown.
    auto minuteOf = [](const QDateTime &t) {
        const qint64 days = QDate(1899, 12, 30).daysTo(t.date());
        return days * 1440 + t.time().hour() * 60 + t.time().minute();
    };
    return minuteOf(to) - minuteOf(from);
}
