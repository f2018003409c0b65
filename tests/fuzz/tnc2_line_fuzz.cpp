// Replay and APRS-IS lines: time stamp, TNC2 address parsing, then the
// station database update the host does with them.
#include "host/StationDatabase.h"
#include "host/Tnc2.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static StationDatabase db;
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const StampedLine stamped = splitTimeStamp(text);
    Tnc2Frame frame;
    if (parseTnc2(stamped.text, &frame)) {
        db.applyFrame(frame, QStringLiteral("2026-01-01 00:00:00"));
        frame.monitorText();
    }
    if (db.size() > 10000)
        db.clear();
    return 0;
}
