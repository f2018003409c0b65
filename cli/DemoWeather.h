#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// Weather history for the demo's weather stations, so that their charts are
// full from the first look: yesterday and today up to now, every five
// minutes, ending on the readings each station sends first in the demo
// traffic, so that the history runs on into what is heard when the replay
// starts. Temperature and humidity follow the day, pressure drifts over the
// two days, the wind picks up in the afternoon, and rain falls as a shower
// yesterday afternoon and as whatever the station reports for today.
namespace DemoWeather {

struct Station
{
    QString callsign;
    QString report;  // the weather part of its first report, as the frame intake stores it
};

// Each weather station's first report in a replay file, in order of first appearance.
QList<Station> firstReports(const QByteArray &traffic, const QDateTime &now);

struct Report
{
    QDateTime time;
    QString report;
};

// The station's history up to now, in its own report form.
QList<Report> history(const Station &station, const QDateTime &now);

} // namespace DemoWeather
