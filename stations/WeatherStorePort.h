#pragma once

#include <QList>

#include "core/WindowInterfaces.h"

// Keeps every weather part handed to it instead of writing a file: the
// stand-in until the weather data file writer is installed, and what tests read.
class RecordingWeatherStore : public WeatherStore
{
public:
    struct Call
    {
        HostStationRecord station;
        QString weather;
        QDateTime reportTime;
    };

    // 0 keeps every call; otherwise only the newest ones.
    explicit RecordingWeatherStore(int keep = 0) : m_keep(keep) {}

    void AddWxData(const HostStationRecord &station, const QString &strWx,
                   const QDateTime &reportTime) override;

    QList<Call> calls;

private:
    int m_keep;
};

// The program-wide weather store: the installed one, else a recording one
// that keeps the last few calls.
WeatherStore &weatherStore();
void installWeatherStore(WeatherStore *store);
