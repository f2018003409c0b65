#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "statistics/StatisticsSeries.h"

// The statistics file (.kes): one line per bar, "x|y" with CR LF, where x is
// the bar's time as a day number since 30 December 1899 (the time of day as
// the fraction, "." as decimal separator always) and y its frame count.
namespace StatisticsFile {

QString folder();

double toDayNumber(const QDateTime &t);
// The date and time of a day number, to the nearest whole second, as a
// wall-clock reading (see wallClock); invalid when the number lies outside
// the years 100 to 9999.
QDateTime fromDayNumber(double x);

// The number at the start of a text, as the old BASIC reader took it: blanks
// anywhere are ignored, then an optional sign, digits, one ".", digits and an
// exponent. found is false when there are no digits at all.
double leadingNumber(QStringView text, bool *found = nullptr);

QByteArray textOf(const QList<StatisticsBar> &bars);

struct Loaded
{
    StatisticsSeries series;
    // Lines that hold no bar (no "|", no number, a time out of range); blank
    // lines are not counted.
    int skipped = 0;
};

// Reads the bars of a file's text. An empty last line is no line.
void parse(const QByteArray &bytes, Loaded &into);
// False with the reason when the file cannot be read.
bool load(const QString &path, Loaded &into, QString *error);
// Through a temporary file renamed over the target.
bool save(const QString &path, const QList<StatisticsBar> &bars, QString *error);

} // namespace StatisticsFile
