// Monitor logs from outside.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "hostlogs/LogDetails.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const LogDetails::Summary summary =
        LogDetails::examine(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)LogDetails::displayTime(summary.start);
    (void)LogDetails::displayTime(summary.end);
    (void)LogDetails::stationLines(summary.stations);
    return 0;
}
