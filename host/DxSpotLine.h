#pragma once

#include <QString>

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
