#pragma once

#include <QString>
#include <QtGlobal>

struct DxStations;

// What a notified line shows, kept so that it can be set again in another
// distance unit.
struct NotifiedSpot
{
    QString spotText;
    QString callsign;
    QString frequency;
    QString spotter;
    qint16 latitude = 0;
    qint16 longitude = 0;
    qint16 bearing = 0;
    qint16 distance = 0;
};

// Pads a value to a column form of "@" positions: on the left, or on the
// right when the form starts with "!". A longer value is kept whole.
QString columnForm(const QString &value, QLatin1StringView form);

// The fixed-pitch rows of the DX window, without line ends.
namespace DxRows {

// The heading of a band tab, and that of the notified spots, whose callsign
// column is narrower to match the notified lines.
QString bandHeading();
QString notifiedHeading();
// One spot row of a band tab.
QString bandRow(const DxStations &spot);
// The line under each heading that names the units of its columns, in the
// distance unit of the options.
QString bandUnits(bool miles);
QString notifiedUnits(bool miles);
// One notified line.
QString notifiedLine(const QString &spotText, const QString &callsign, const QString &frequency, qint16 latitude,
                     qint16 longitude, qint16 bearing, qint16 distance, const QString &spotter);
QString notifiedLine(const NotifiedSpot &spot);

} // namespace DxRows
