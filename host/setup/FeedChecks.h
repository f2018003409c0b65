#pragma once

#include <QString>

// The checks of the Feeds and Station windows' fields: each gives an empty
// text for a good value, else what is wrong in a sentence.
namespace FeedChecks {

QString port(const QString &text, quint16 *value);
QString hostName(const QString &text);
// A callsign with an optional SSID ("G4KDA-9"); empty is allowed where the
// home station's own is meant.
QString callsign(const QString &text, bool emptyAllowed);
// A whole number from low to high (an interval, a timeout).
QString whole(const QString &text, int low, int high, const QString &what, int *value);
// A digipeater path, "WIDE1-1,WIDE2-1", or empty.
QString path(const QString &text);

} // namespace FeedChecks
