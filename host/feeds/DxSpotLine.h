#pragma once

#include <QString>

class PrefixTable;

// One "DX de" line of a DX cluster:
//   DX de SPOTTER:     FREQ  CALL         comment                    1234Z
struct DxSpotLine
{
    QString spotter;
    QString frequency;  // as sent, kHz
    QString callsign;
    QString comment;
    QString time;  // "1234Z" when the line ends with one
};

// False when the line is not a spot.
bool parseDxSpotLine(const QString &line, DxSpotLine *spot);

// What the host reports with a spot besides its line: the spotted country's
// position in whole degrees, and its bearing and distance (km, or miles)
// from home. All 0 when the prefix file does not place the callsign.
struct SpotPlace
{
    qint16 latitude = 0;
    qint16 longitude = 0;
    qint16 bearing = 0;
    qint16 distance = 0;
};
SpotPlace placeOfSpot(const PrefixTable &prefixes, const QString &callsign, double homeLatitude,
                      double homeLongitude, bool miles);
