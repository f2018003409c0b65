#include "dx/DxRows.h"

#include "dx/DxSpotText.h"
#include "dx/DxStations.h"

#include "core/Units.h"

namespace {

const QChar kDegree(0x00B0);

QString number(int value)
{
    return QString::number(value);
}

// The columns after the callsign, shared by both headings.
QString headingAfterCallsign()
{
    return columnForm("From", QLatin1StringView("!@@@@@@@@")) + u' '
           + columnForm("Frequency", QLatin1StringView("@@@@@@@@@@")) + u' '
           + columnForm("Dist", QLatin1StringView("@@@@@@")) + columnForm("Lat", QLatin1StringView("@@@@")) + u' '
           + columnForm("Lon", QLatin1StringView("@@@@")) + u' ' + columnForm("Brng", QLatin1StringView("@@@@"))
           + QStringLiteral("   ") + columnForm("Time", QLatin1StringView("@@@@@@")) + QStringLiteral("  Comments");
}

// Under the heading: the frequency's and the distance's units, each at the
// right of its column.
QString unitsAfterCallsign(bool miles)
{
    return columnForm(QString(), QLatin1StringView("!@@@@@@@@")) + u' '
           + columnForm(QStringLiteral("kHz"), QLatin1StringView("@@@@@@@@@@")) + u' '
           + columnForm(Units::distanceSymbol(miles), QLatin1StringView("@@@@@@"));
}

// Position, bearing and time: the same in band rows and notified lines.
QString rowMiddle(int latitude, int longitude, int bearing, const QString &time)
{
    return columnForm(number(std::abs(latitude)), QLatin1StringView("@@@@")) + (latitude >= 1 ? u'N' : u'S')
           + columnForm(number(std::abs(longitude)), QLatin1StringView("@@@@")) + (longitude >= 1 ? u'E' : u'W')
           + columnForm(number(bearing), QLatin1StringView("@@@@")) + kDegree + QStringLiteral("  ")
           + columnForm(time, QLatin1StringView("@@@@@@")) + QStringLiteral("  ");
}

} // namespace

QString columnForm(const QString &value, QLatin1StringView form)
{
    const bool leftAligned = form.startsWith(u'!');
    const qsizetype width = form.count(u'@');
    if (value.size() >= width)
        return value;
    return leftAligned ? value.leftJustified(width) : value.rightJustified(width);
}

namespace DxRows {

QString bandHeading()
{
    return columnForm("Callsign", QLatin1StringView("!@@@@@@@@@@@@")) + u' ' + headingAfterCallsign();
}

QString notifiedHeading()
{
    return columnForm("Callsign", QLatin1StringView("!@@@@@@@@")) + u' ' + headingAfterCallsign();
}

QString bandUnits(bool miles)
{
    return columnForm(QString(), QLatin1StringView("!@@@@@@@@@@@@")) + u' ' + unitsAfterCallsign(miles);
}

QString notifiedUnits(bool miles)
{
    return columnForm(QString(), QLatin1StringView("!@@@@@@@@")) + u' ' + unitsAfterCallsign(miles);
}

QString bandRow(const DxStations &spot)
{
    return columnForm(spot.Callsign, QLatin1StringView("!@@@@@@@@@@@@")) + u' '
           + columnForm(spot.DxFrom, QLatin1StringView("!@@@@@@@@")) + u' '
           + columnForm(spot.Frequency, QLatin1StringView("@@@@@@@@@@")) + u' '
           + columnForm(number(spot.Distance), QLatin1StringView("@@@@@@"))
           + rowMiddle(spot.Latitude, spot.Longitude, spot.Bearing, spot.dxTime) + spot.dxText;
}

QString notifiedLine(const QString &spotText, const QString &callsign, const QString &frequency, qint16 latitude,
                     qint16 longitude, qint16 bearing, qint16 distance, const QString &spotter)
{
    return columnForm(callsign, QLatin1StringView("!@@@@@@@@")) + u' '
           + columnForm(spotter, QLatin1StringView("!@@@@@@@@")) + u' '
           + columnForm(frequency, QLatin1StringView("@@@@@@@@@@")) + u' '
           + columnForm(number(distance), QLatin1StringView("@@@@@@"))
           + rowMiddle(latitude, longitude, bearing, DxSpotText::time(spotText))
           + DxSpotText::comment(spotText, DxSpotText::NotifiedCommentColumn);
}

QString notifiedLine(const NotifiedSpot &spot)
{
    return notifiedLine(spot.spotText, spot.callsign, spot.frequency, spot.latitude, spot.longitude, spot.bearing,
                        spot.distance, spot.spotter);
}

} // namespace DxRows
