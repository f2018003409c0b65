// Position fields, grid references and callsigns as a user may type or paste
// them: no crash, no hang, and whatever passes checks the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cmath>

#include "options/Callsign.h"
#include "options/NationalGrid.h"
#include "options/PositionFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    for (bool longitude : {false, true}) {
        QString field = text;
        QString partner;
        if (strValidateLatLon(field, partner, longitude) == PositionCheck::Ok) {
            QString again = field;
            QString other = partner;
            if (strValidateLatLon(again, other, longitude) != PositionCheck::Ok || again != field)
                std::abort();
            if (std::fabs(sConvertPos(field)) > (longitude ? 180 : 90) * 60.0f + 1)
                std::abort();
        }
    }
    QString reference = text;
    double northing = 0, easting = 0;
    if (ParseGridReference(reference, &northing, &easting)) {
        double latitude = 0, longitude = 0;
        GridToLatLon(easting, northing, &latitude, &longitude);
        if (!std::isfinite(latitude) || !std::isfinite(longitude))
            std::abort();
    }
    (void)ValidateCallsign(text);
    (void)sConvertPos(text);
    return 0;
}
