#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

struct HostStationRecord;

// Per-station log files: every frame heard from a logged station is appended.
namespace AutoLog {

// data folder + "/LogFiles"
QString folder();
// "YYYYMMDD" + callsign + ".txt"; characters of the callsign other than
// letters, digits and "-" become "_", so the name stays in its folder.
QString defaultName(const QDate &date, const QString &callsign);

// Creates the file with its first line when it does not exist yet; an
// existing file is left as it is. False when it cannot be created. Only a
// log started here is ever appended to.
bool start(const QString &path, const QDateTime &now);

// Appends one entry: the time heard and the header line, then the payload.
// Nothing is written when the host gave no time. False when the file cannot
// be appended to (the entry is skipped) or was not started by start().
bool UpdateLogFile(const HostStationRecord &station, const QString &path);

} // namespace AutoLog
