#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A summary of one monitor log, as the host program and the station list's
// auto log write them: one or more leading lines holding "START" (the last
// carries the start time), then entry lines. An entry line carries a time
// stamp when it starts with a date (yyyy-mm-dd) or holds the byte 0xFE; its
// entry text is a monitored frame when it holds ">", and the frame's source
// callsign is counted.
namespace LogDetails {

struct Station
{
    QString callsign;
    qint32 count = 0;
};

struct Summary
{
    bool valid = false;
    QString start;  // time stamp texts as found in the file
    QString end;    // the largest time stamp, compared as text
    QList<Station> stations;  // in order of first appearance
};

// Not a log: empty, no leading "START" line, or nothing after the "START" lines.
Summary examine(const QByteArray &bytes);
// False with the reason when the file cannot be read.
bool examineFile(const QString &path, Summary *summary, QString *error);

// A time stamp text as "DD-MMM-YYYY HH:NN:SS" (06-Dec-2026 14:03:22); a text
// that is no date and time is shown as it stands.
QString displayTime(const QString &stamp);

// The station list lines: the heading, then one per station, in fixed-pitch
// columns (callsign left in 13 places, count right in 4).
QStringList stationLines(const QList<Station> &stations);

} // namespace LogDetails
