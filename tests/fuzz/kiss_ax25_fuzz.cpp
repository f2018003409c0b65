// A KISS byte stream cut into two reads, each completed frame decoded as AX.25.
#include "host/Kiss.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    KissDeframer deframer;
    const qsizetype cut = size ? data[0] % (size + 1) : 0;
    QList<QByteArray> frames = deframer.feed(bytes.left(cut));
    frames += deframer.feed(bytes.mid(cut));
    QString line;
    for (const QByteArray &frame : frames)
        ax25ToTnc2(frame, &line);
    ax25ToTnc2(bytes, &line);
    return 0;
}
