#include "stations/WeatherStorePort.h"

namespace {
WeatherStore *g_store = nullptr;
}

void RecordingWeatherStore::AddWxData(const HostStationRecord &station, const QString &strWx,
                                      const QDateTime &reportTime)
{
    if (m_keep > 0 && calls.size() >= m_keep)
        calls.removeFirst();
    calls.append({station, strWx, reportTime});
}

WeatherStore &weatherStore()
{
    static RecordingWeatherStore fallback(100);
    return g_store ? *g_store : fallback;
}

void installWeatherStore(WeatherStore *store) { g_store = store; }
