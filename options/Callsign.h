#pragma once

#include <QString>

// Whether a callsign may enter the auto-record list: a base of 3 to 6
// characters shaped like an amateur callsign (letter-digit-letter, or
// two letters, a digit and a letter, and so on), optionally "-" and an SSID
// of 0 to 15. Letters must be upper case.
bool ValidateCallsign(const QString &callsign);
