// The header and status helpers of the station list, fed the headers the
// host and the frame intake make of any line: a path is the header's own
// text after the source and before the port, a DX callsign one word of the
// status, and a position shown reads back as the position.
#include "FuzzSupport.h"

#include "host/aprs/AprsDecoder.h"
#include "host/aprs/Tnc2.h"
#include "stations/FrameDecoder.h"
#include "stations/subFunctions.h"

#include <cmath>

namespace {

void checkPath(const QString &header)
{
    const QString path = GetPathFromHeader(header);
    if (path.isEmpty())
        return;
    fuzz::require(header.contains(path) && !path.contains(QLatin1String("<UI")), "a path from its header",
                  header + QStringLiteral(" / ") + path);
}

void checkDxCallsign(const QString &status)
{
    const QString callsign = GetDxCallsign(status);
    fuzz::require(status.contains(callsign) && !callsign.contains(u' '), "a DX callsign is one word of the status",
                  status + QStringLiteral(" / ") + callsign);
}

// "DD.MM.HHN" or "DDD.MM.HHE": the minutes field below 60 and the whole
// within a hundredth of a minute (truncated) of the value.
void checkPosition(double minutes, bool longitude)
{
    const QString text = FormatPosition(minutes, longitude);
    const QStringList parts = text.left(text.size() - 1).split(u'.');
    fuzz::require(parts.size() == 3 && parts[1].size() == 2 && parts[2].size() == 2, "a position's form", text);
    const double shown = parts[0].toDouble() * 60 + parts[1].toDouble() + parts[2].toDouble() / 100;
    fuzz::require(parts[1].toInt() < 60, "minutes below 60", text);
    fuzz::require(std::fabs(shown - std::fabs(minutes)) < 0.0101, "a position shown reads back",
                  text + QStringLiteral(" for %1").arg(minutes, 0, 'f', 6));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const uint32_t a = in.u32(), b = in.u32();
    checkPosition((a / double(UINT32_MAX) * 2 - 1) * 90 * 60, false);
    checkPosition((b / double(UINT32_MAX) * 2 - 1) * 180 * 60, true);

    const QString text = QString::fromLatin1(in.rest());
    checkPath(text);
    checkDxCallsign(text);
    checkPath(cutFrame(text).header);
    Tnc2Frame frame;
    if (parseTnc2(text, &frame)) {
        checkPath(frame.monitorHeader());
        const AprsReport report = decodeAprs(frame.destination, frame.payload);
        if (report.hasStatus)
            checkDxCallsign(report.status);
    }
    return 0;
}
