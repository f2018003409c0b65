// Replay and APRS-IS lines: time stamp, TNC2 address parsing, then the
// station database update the host does with them. A frame's text parses to
// the same frame, and a position stored is a place on the Earth.
#include "FuzzSupport.h"

#include "host/StationDatabase.h"
#include "host/aprs/Tnc2.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const StampedLine stamped = splitTimeStamp(text);
    // 24:00:00 is no time, 23:59:60 (a leap second) is.
    fuzz::require(stamped.secondsOfDay >= -1 && stamped.secondsOfDay <= 24 * 3600, "a time of day");
    Tnc2Frame frame;
    if (!parseTnc2(stamped.text, &frame))
        return 0;
    Tnc2Frame again;
    fuzz::require(parseTnc2(frame.toLine(), &again), "a frame's text is a frame", frame.toLine());
    fuzz::require(again.source == frame.source && again.destination == frame.destination
                      && again.path == frame.path && again.payload == frame.payload,
                  "a frame's text parses to the same frame", frame.toLine());

    StationDatabase db;
    const StationDatabase::Result result = db.applyFrame(frame, QStringLiteral("2026-01-01 00:00:00"), 1);
    if (!result.positioned.isEmpty()) {
        const StationDatabase::Entry *entry = db.find(result.positioned);
        fuzz::require(entry && entry->hasPosition, "the positioned record has a position", result.positioned);
        fuzz::require(std::isfinite(entry->latitude) && std::fabs(entry->latitude) <= 90 * 60
                          && std::isfinite(entry->longitude) && std::fabs(entry->longitude) <= 180 * 60,
                      "a stored position is on the Earth");
    }
    (void)frame.monitorText();
    return 0;
}
