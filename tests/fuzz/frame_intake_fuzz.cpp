// Frame texts from the host link: cut, canonicalise and classify any bytes.
// A weather part is in the "_" form, a report time read from a stamp lies
// within the three months before the clock, and an object's name fits nine bytes.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"

#include "stations/FrameDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QDateTime now(QDate(2026, 12, 7), QTime(23, 59, 59));
    const FrameCut cut = cutFrame(text);
    // Host time texts are outside input as well: feed the same bytes as both.
    const FrameDecode frame = decodeFrame(cut, text.left(40), text.mid(40, 40), now);
    if (!frame.dropped && (frame.source.isEmpty() || frame.events.isEmpty()))
        __builtin_trap();
    if (!frame.weather.isEmpty())
        fuzz::require(frame.weather.startsWith(u'_'), "weather in the underscore form", frame.weather);
    if (frame.rule == ReportTimeRule::Stamp)
        fuzz::require(frame.reportTime.isValid() && frame.reportTime <= now.addSecs(3601)
                          && frame.reportTime >= now.addDays(-93),
                      "a stamp's time not ahead of the clock", frame.reportTime.toString(Qt::ISODate));
    fuzz::require(frame.objectName.size() <= 9, "an object name of at most nine", frame.objectName);
    return 0;
}
