#include "weather/WxDay.h"

#include "weather/WxDataFile.h"
#include "weather/WxDecoder.h"

#include <QTime>

namespace {

void add(QList<QPointF> &series, double x, float reading)
{
    if (reading != kWxAbsent)
        series.append(QPointF(x, double(reading)));
}

} // namespace

WxDay buildWxDay(const QStringList &values, bool centigrade)
{
    WxDay day;
    for (const QString &value : values) {
        ++day.reports;
        const WxData::StoredReport stored = WxData::splitValue(value);
        const WxReadings r = decodeWxReport(stored.report);
        if (!r.hasWeather) {
            ++day.noWeather;
            continue;
        }
        const double x = stored.timeOfDay.msecsSinceStartOfDay();
        add(day.temperature, x, r.temperatureIn(centigrade));
        add(day.dewPoint, x, r.dewPoint(centigrade));
        add(day.windChill, x, r.windChill(centigrade));
        add(day.humidity, x, r.humidity);
        add(day.speed, x, r.speed);
        add(day.gust, x, r.gust);
        add(day.direction, x, r.direction);
        add(day.pressure, x, r.pressure);
        add(day.rain, x, r.rain);
        if (!r.rainLabel.isEmpty())
            day.rainLabel = r.rainLabel;
    }
    return day;
}
