#pragma once

#include "host/StationDatabase.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// The host's station database on disk, "KestrelHost.stations" in the host
// folder, so that a restart brings back the stations heard. UTF-8 text, one
// record a line, fields separated by TAB with "\" escaping TAB, line ends and
// itself:
//
//   KestrelHost stations 1
//   S name heardAt frames latitude longitude speed course height symbol flags
//     timeHeard owner status payloadAt line message
//   T name timeHeard report PARM. UNIT. EQNS. BITS.
//
// (latitude and longitude in minutes of arc; flags "d" heard direct, "p"
// positioned, "o" object). Telemetry is kept as the report and definition
// messages a station would send, and read back through the same parsers.
// The file may have been edited or damaged: a line that does not read is
// skipped, and a file that does not start as one is not read at all.
namespace StationFile {

inline const QString FileName = QStringLiteral("KestrelHost.stations");

QByteArray serialise(const StationDatabase::Snapshot &snapshot);
// Writes through a temporary file renamed over the old one.
bool save(const QString &path, const StationDatabase::Snapshot &snapshot, QString *errorText = nullptr);

struct ReadResult
{
    bool recognised = false;  // the file starts as a station file
    int restored = 0;
    int skipped = 0;  // lines that could not be read
    int expired = 0;  // records heard before the cutoff
};

// Puts the records heard at or after cutoff (seconds since the epoch; 0
// keeps every one) back into the database.
ReadResult read(QIODevice &device, StationDatabase &database, qint64 cutoff);
// A missing file reads as recognised and empty.
ReadResult read(const QString &path, StationDatabase &database, qint64 cutoff);

} // namespace StationFile
