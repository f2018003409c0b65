// DX cluster lines as the host's spot intake reads them, placed by a prefix
// file: the first part of the input is the prefix file, the rest the spot
// lines. A spot's parts come from its line, and what the host reports with
// it is a place, a bearing and a distance.
#include "FuzzSupport.h"

#include "host/feeds/DxSpotLine.h"
#include "host/PrefixTable.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const double homeLatitude = in.u32() / double(UINT32_MAX) * 180.0 - 90.0;
    const double homeLongitude = in.u32() / double(UINT32_MAX) * 360.0 - 180.0;
    const bool miles = in.byte() & 1;
    PrefixTable prefixes;
    prefixes.parse(in.latin1(400));
    const QString text = QString::fromLatin1(in.rest());
    for (const QString &raw : text.split(u'\n')) {
        for (const QString &line : {raw, QStringLiteral("DX de ") + raw}) {
            DxSpotLine spot;
            if (!parseDxSpotLine(line, &spot))
                continue;
            for (const QString *part : {&spot.spotter, &spot.frequency, &spot.callsign, &spot.time})
                fuzz::require(line.contains(*part, Qt::CaseInsensitive), "a spot's parts come from its line", *part);
            fuzz::require(!spot.callsign.isEmpty() && !spot.callsign.contains(u' '),
                          "a spotted callsign is one word", spot.callsign);
            const SpotPlace place = placeOfSpot(prefixes, spot.callsign, homeLatitude, homeLongitude, miles);
            fuzz::require(std::abs(place.latitude) <= 90 && std::abs(place.longitude) <= 180, "a spot's place",
                          QStringLiteral("%1 %2").arg(place.latitude).arg(place.longitude));
            fuzz::require(place.bearing >= 0 && place.bearing < 360 && place.distance >= 0
                              && place.distance <= (miles ? 12500 : 20100),
                          "a bearing and a distance on the Earth",
                          QStringLiteral("%1 %2").arg(place.bearing).arg(place.distance));
        }
    }
    for (bool longitude : {false, true}) {
        double degrees = 0;
        if (parseDegrees(text.left(20), longitude, &degrees))
            fuzz::require(std::isfinite(degrees) && std::fabs(degrees) <= (longitude ? 180 : 90),
                          "degrees on the Earth", QString::number(degrees));
    }
    return 0;
}
