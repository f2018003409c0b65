// APRS information fields; the first byte chooses how much goes to the
// destination (where Mic-E keeps its latitude). Whatever position comes out
// is a place on the Earth.
#include "FuzzSupport.h"

#include "host/aprs/AprsDecoder.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t split = std::min<size_t>(data[0] % 8, size - 1);
    const QString destination = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(split));
    const QString payload =
        QString::fromLatin1(reinterpret_cast<const char *>(data + 1 + split), qsizetype(size - 1 - split));
    const AprsReport r = decodeAprs(destination, payload);
    if (r.hasPosition) {
        const QString where = QStringLiteral("%1 %2").arg(r.latitude).arg(r.longitude);
        fuzz::require(std::isfinite(r.latitude) && std::fabs(r.latitude) <= 90, "latitude on the Earth", where);
        fuzz::require(std::isfinite(r.longitude) && std::fabs(r.longitude) <= 180, "longitude on the Earth", where);
    }
    fuzz::require(r.ambiguity >= 0 && r.ambiguity <= 4, "ambiguity 0 to 4");
    fuzz::require(std::isfinite(r.speed) && std::isfinite(r.windSpeed), "speeds finite");
    return 0;
}
