#pragma once

#include <QDateTime>
#include <QString>

// Dates and times in files and from the host are wall-clock readings that
// name no zone. Read as such, a reading inside the hour a spring-forward
// skips in the computer's zone is kept like any other instead of turning
// invalid. Such a reading is held as a UTC date and time: its date(),
// time() and toString() give back exactly what was read.
QDateTime wallClock(const QDate &date, const QTime &time);

// Reads text in a form of a date part, one blank or "T", and a time part
// ("yyyy-MM-dd HH:mm:ss"); a form without a time part reads a date at
// midnight. Invalid when the text does not fit the form.
QDateTime readWallClock(QStringView text, const QString &form);
