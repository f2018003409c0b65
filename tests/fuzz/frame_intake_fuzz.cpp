// Frame texts from the host link: cut, canonicalise and classify any bytes.
#include <cstddef>
#include <cstdint>

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
    return 0;
}
