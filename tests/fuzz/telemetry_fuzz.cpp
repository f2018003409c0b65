// Telemetry reports and the definition messages: the first byte picks
// which, the rest is the text; definitions then scale a fixed report. What
// is shown is a number, "On" or "Off", never an overflowed one.
#include "FuzzSupport.h"

#include "host/aprs/Telemetry.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    telemetry::Station station;
    if (data[0] & 1) {
        if (telemetry::parseReport(text, &station.latest))
            for (int i = 0; i < station.latest.analogCount; ++i)
                fuzz::require(std::isfinite(station.latest.analog[size_t(i)]), "analogue values finite");
    } else {
        for (const QString &message : text.split(u'\n'))
            station.definitions.apply(message);
        telemetry::parseReport(u"T#001,1,2,3,4,5,10101010", &station.latest);
    }
    station.hasReport = true;
    const HostTelemetry shown = telemetry::describe(station);
    fuzz::require(shown.channels.size() <= telemetry::AnalogChannels + telemetry::Bits, "at most 13 channels");
    // The analogue channels come first; a bit's value may carry its label.
    for (int i = 0; i < std::min<int>(station.latest.analogCount, int(shown.channels.size())); ++i) {
        bool number = false;
        const double value = shown.channels[i].value.toDouble(&number);
        fuzz::require(number && std::isfinite(value), "an analogue value is a number", shown.channels[i].value);
    }
    return 0;
}
