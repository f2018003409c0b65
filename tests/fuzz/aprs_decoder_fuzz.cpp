// APRS information fields; the first byte chooses how much goes to the
// destination (where Mic-E keeps its latitude).
#include "host/AprsDecoder.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t split = std::min<size_t>(data[0] % 8, size - 1);
    const QString destination = QString::fromLatin1(reinterpret_cast<const char *>(data + 1), qsizetype(split));
    const QString payload =
        QString::fromLatin1(reinterpret_cast<const char *>(data + 1 + split), qsizetype(size - 1 - split));
    decodeAprs(destination, payload);
    return 0;
}
