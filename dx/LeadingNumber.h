#pragma once

#include <QString>
#include <QtGlobal>

// Reads the number a text starts with: an optional sign, digits and one
// decimal point from the left, blanks skipped, stopping at the first other
// character. A text without a number reads as 0, so "14000.0 kHz" is 14000
// and "abc" is 0. Only "." is a decimal separator, whatever the locale.
double leadingNumber(const QString &text);

// The same, rounded to the nearest integer with halves going to the even
// neighbour (2.5 gives 2, 3.5 gives 4), clamped to the 32-bit range.
qint32 leadingInteger(const QString &text);
