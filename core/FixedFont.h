#pragma once

#include <QFont>
#include <QString>

// A face whose characters are all as wide as each other, for text that lines
// up in columns of blanks. The system's own fixed font comes first, because a
// named family can resolve to a face fontconfig substitutes and that is not
// fixed pitch at all; the named family is the fall-back.
QFont fixedPitchFont(const QString &named = QStringLiteral("Courier New"));
