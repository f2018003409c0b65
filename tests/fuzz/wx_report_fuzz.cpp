// Weather reports from stored files: any bytes decode to finite or absent readings.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "weather/WxDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString report = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const WxReadings r = decodeWxReport(report);
    for (float value : {r.direction, r.speed, r.gust, r.temperature, r.humidity, r.rain, r.pressure, r.dewPointC,
                        r.dewPointF, r.windChillC, r.windChillF})
        if (value != kWxAbsent && !std::isfinite(value))
            __builtin_trap();
    return 0;
}
