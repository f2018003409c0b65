// Monitor logs from outside: each station once, heard at least once, and
// no more often than the log has lines.
#include "FuzzSupport.h"

#include "hostlogs/LogDetails.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const LogDetails::Summary summary = LogDetails::examine(bytes);
    (void)LogDetails::displayTime(summary.start);
    (void)LogDetails::displayTime(summary.end);
    QSet<QString> seen;
    qint64 heard = 0;
    for (const LogDetails::Station &station : summary.stations) {
        fuzz::require(!station.callsign.isEmpty() && station.count > 0, "a station listed was heard");
        fuzz::require(!seen.contains(station.callsign), "each station listed once", station.callsign);
        seen.insert(station.callsign);
        heard += station.count;
    }
    fuzz::require(heard <= bytes.count('\n') + bytes.count('\r') + 1, "no more frames than lines");
    fuzz::require(summary.valid || summary.stations.isEmpty(), "no stations from what is no log");
    fuzz::require(LogDetails::stationLines(summary.stations).size() == summary.stations.size() + 1,
                  "a heading and a line per station");
    return 0;
}
