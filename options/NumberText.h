#pragma once

#include <QString>
#include <QStringView>

// Reading numbers out of text the way the stored files and the dialogs of
// the Windows program did.
namespace NumberText {

// The leading number of a text: an optional sign, digits and one decimal
// point read from the left, blanks anywhere skipped, stopping at the first
// other character; 0 when there is no number.
double leadingNumber(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// Rounds half to even into a 16-bit integer; false (and *out untouched)
// when the value is not finite or the rounded value lies outside the range.
bool toInt16(double value, qint16 *out);
bool toInt32(double value, qint32 *out);

// A whole text as one number: blanks at both ends allowed, nothing else.
// False for an empty text or anything that is not a number.
bool strictNumber(const QString &text, double *out);

} // namespace NumberText
