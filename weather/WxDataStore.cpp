#include "weather/WxDataStore.h"

#include "core/Clock.h"
#include "core/ErrorReport.h"
#include "weather/WxDataFile.h"

WxDataStore::WxDataStore(QObject *parent) : QObject(parent) {}

WxDataStore &WxDataStore::program()
{
    static WxDataStore store;
    return store;
}

void WxDataStore::AddWxData(const HostStationRecord &station, const QString &strWx, const QDateTime &reportTime)
{
    const QString path = WxData::fileForCallsign(station.callsign);
    if (path.isEmpty()) {
        ++m_refused;
        return;
    }
    const QDateTime when = reportTime.isValid() ? reportTime : Clock::instance().now();
    QString error;
    if (!WxDataFile(path).append(when, strWx, &error)) {
        if (!m_failing)
            reportError(QStringLiteral("AddWxData"), error);
        m_failing = true;
        return;
    }
    m_failing = false;
    emit reportStored(path, WxData::dayText(when.date()));
}
