// Telemetry reports and the definition messages: the first byte picks
// which, the rest is the text; definitions then scale a fixed report.
#include "host/Telemetry.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    telemetry::Station station;
    if (data[0] & 1) {
        telemetry::parseReport(text, &station.latest);
    } else {
        station.definitions.apply(text);
        telemetry::parseReport(u"T#001,1,2,3,4,5,10101010", &station.latest);
    }
    station.hasReport = true;
    telemetry::describe(station);
    return 0;
}
