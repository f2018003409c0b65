#pragma once

#include <QString>

// A position as a user types it for the home station: the program's own
// "51.30.00N 000.07.50W", decimal degrees ("51.5 -1.25" or "51.5, -1.25"),
// an Ordnance Survey grid reference ("SU 123 456") or a Maidenhead locator
// ("IO91wm", the centre of the square). Degrees, north and east positive.
struct StationPosition
{
    double latitude = 0;
    double longitude = 0;
};

// False with what is wrong when the text is none of the forms.
bool readStationPosition(const QString &text, StationPosition *position, QString *problem);
// The position in the program's own form, "51.30.00N 000.07.50W".
QString stationPositionText(const StationPosition &position);
// Maidenhead locators: options/PositionFormats.h.
