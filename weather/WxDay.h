#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// The points one day of stored reports puts on the weather charts: x is the
// time of day in milliseconds after midnight, y the reading. An absent
// reading adds no point.
struct WxDay
{
    QList<QPointF> temperature;  // in the unit asked for
    QList<QPointF> dewPoint;
    QList<QPointF> windChill;
    QList<QPointF> humidity;
    QList<QPointF> speed;
    QList<QPointF> gust;
    QList<QPointF> direction;
    QList<QPointF> pressure;
    QList<QPointF> rain;
    // The label of the last report that named its rain; empty when none did.
    QString rainLabel;

    int reports = 0;    // values read
    int noWeather = 0;  // "PHG" reports, which add nothing
};

// Decodes each stored value ("date and time", 0xFD, report) of the day.
WxDay buildWxDay(const QStringList &values, bool centigrade);
