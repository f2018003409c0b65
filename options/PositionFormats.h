#pragma once

#include <QString>

// The text forms of the observer positions: latitude "51.30.00N" (degrees,
// whole minutes, hundredths of a minute, hemisphere) and longitude
// "000.07.50W". The numbers are signed minutes of arc (degrees x 60), north
// and east positive.

// Signed minutes to the two position texts. The minutes are rounded to the
// hundredth first, so a value a hair below a whole degree never shows as
// 60 minutes.
void FormatLatLon(float sLat, float sLon, QString *strLat, QString *strLon);

// What strValidateLatLon answers for a field that is not valid.
namespace PositionCheck {
inline const QString Ok = QStringLiteral("Ok");
inline const QString Latitude = QStringLiteral("latitude");
inline const QString Longitude = QStringLiteral("longitude");
} // namespace PositionCheck

// Checks one position field and rewrites it into its canonical form.
// ctrControl1 is the field to check, ctrControl2 its partner; bLongitude
// says whether ctrControl1 holds the longitude. A National Grid reference
// typed into either field fills both and counts as valid. Returns "Ok",
// "latitude" or "longitude" for a bad position, or an empty text for an
// empty field; a field that fails is left as it was.
QString strValidateLatLon(QString &ctrControl1, QString &ctrControl2, bool bLongitude);

// A position text to signed minutes: degrees x 60 plus the number after the
// first point read as decimal minutes ("51.30.50N" is 3090.5). 0 when the
// text does not end in N, S, E or W.
float sConvertPos(const QString &text);

// The six-character Maidenhead locator of a position in degrees ("IO91wm").
QString maidenheadLocator(double latitude, double longitude);
// The centre of a locator's square in degrees (4, 6 or 8 characters); false
// when the text is not a locator.
bool readMaidenhead(const QString &text, double *latitude, double *longitude);
