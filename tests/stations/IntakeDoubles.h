#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

#include "core/WindowInterfaces.h"

// Test windows that write each call they get, in order, to one shared list.

class LoggingTerminal : public QObject, public TerminalWindow
{
public:
    explicit LoggingTerminal(QStringList &log) : m_log(log) {}
    void RxData(const QString &strData) override { m_log << "terminal.RxData(" + strData + ")"; }
    void UpdateEventLog(const QString &strText, int nType, const QString &vData) override
    {
        m_log << QStringLiteral("terminal.UpdateEventLog(%1,%2,%3)").arg(strText).arg(nType).arg(vData);
    }

private:
    QStringList &m_log;
};

class LoggingWeatherStore : public WeatherStore
{
public:
    explicit LoggingWeatherStore(QStringList &log) : m_log(log) {}
    void AddWxData(const HostStationRecord &station, const QString &strWx,
                   const QDateTime &reportTime) override
    {
        m_log << QStringLiteral("wx.AddWxData(%1,%2,%3)")
                     .arg(station.callsign, strWx, reportTime.toString(Qt::ISODate));
    }

private:
    QStringList &m_log;
};

// Base is QObject, or QWidget where a test needs the list to be a widget.
template<class Base>
class LoggingStationListOn : public Base, public StationListWindow
{
public:
    LoggingStationListOn(QStringList &log, const QString &name) : m_log(log), m_name(name) {}

    // Runs inside RxData, after the call is logged.
    std::function<void(HostStationRecord &)> onRxData;

    void RxData(HostStationRecord &cStation, bool bUIAware) override
    {
        m_log << QStringLiteral("%1.RxData(%2,%3,%4)")
                     .arg(m_name, cStation.callsign, bUIAware ? "known" : "unknown", cStation.status);
        if (onRxData)
            onRxData(cStation);
    }
    void PlotDX() override {}
    void PlotPHGRNGcircles() override {}
    void PlotStationPath() override {}
    void SaveStationList() override {}
    void MergeStationList(const QString &) override {}
    QString selectedCallsign() const override { return selected; }
    void setListFont(const QString &) override {}
    void setListFontSize(int) override {}

    QString selected;

private:
    QStringList &m_log;
    QString m_name;
};

using LoggingStationList = LoggingStationListOn<QObject>;

class LoggingStatistics : public QObject, public StatisticsWindow
{
public:
    LoggingStatistics(QStringList &log, const QString &name) : m_log(log), m_name(name) {}
    void UpdateStatitics() override { m_log << m_name + ".UpdateStatitics"; }
    void SaveStatisticsData() override {}
    void LoadStatisticsData(const QString &) override {}

private:
    QStringList &m_log;
    QString m_name;
};
