#pragma once

#include <QString>

// What the host sends about itself: positions in the form of its INI file
// and of APRS ("5130.00N", "00007.50W"), and its position beacon.

// Degrees (north and east positive) as DDMM.mmH or DDDMM.mmH.
QString iniPosition(double degrees, bool longitude);

// The information field of the own position beacon:
// "=DDMM.mmN/DDDMM.mmW-comment" with the symbol's table and code.
QString beaconPayload(double latitude, double longitude, const QString &symbol, const QString &comment);

// The same for a station on the move: "...>CCC/SSS" after the symbol, course
// in degrees (1-360, 360 for north) and speed in knots.
QString beaconPayload(double latitude, double longitude, const QString &symbol, const QString &comment, int course,
                      double speedKnots);
