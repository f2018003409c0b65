#pragma once

#include <QString>

// Ordnance Survey National Grid references ("SU 123 456", "TQ3080") and the
// grid's inverse projection to latitude and longitude on the Airy 1830
// ellipsoid (no datum shift).

// True when the text is a grid reference: two letters and six digits, or two
// letters and four digits (the centre of the 1 km square), blanks ignored.
// Then gives the northing and easting in metres and replaces the text by its
// blank-free eight-character form. On false nothing is changed. Squares
// off the grid ("XX", "ZZ") are not references.
bool ParseGridReference(QString &text, double *northing, double *easting);

// Easting and northing in metres to latitude and longitude in degrees,
// north and east positive.
void GridToLatLon(double easting, double northing, double *latitude, double *longitude);
