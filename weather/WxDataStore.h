#pragma once

#include <QObject>

#include "core/WindowInterfaces.h"

// Where the frame intake stores weather reports: each station's weather
// data file in the data folder's WxData. Open weather windows listen to
// reportStored to show a report the moment it is filed.
class WxDataStore : public QObject, public WeatherStore
{
    Q_OBJECT
public:
    explicit WxDataStore(QObject *parent = nullptr);

    void AddWxData(const HostStationRecord &station, const QString &strWx,
                   const QDateTime &reportTime) override;

    // Reports refused because the callsign cannot name a file.
    int refused() const { return m_refused; }

    // The program's store, the one the intake is given at start.
    static WxDataStore &program();

signals:
    // file: the station's weather data file; day: the section it went to.
    void reportStored(const QString &file, const QString &day);

private:
    int m_refused = 0;
    // A failing disk is reported once, not at every report, until a store works again.
    bool m_failing = false;
};
