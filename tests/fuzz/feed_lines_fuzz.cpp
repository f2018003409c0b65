// DX cluster lines, as the cluster feed and the host's spot intake read them.
#include "host/DxSpotLine.h"
#include "host/PrefixTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    DxSpotLine spot;
    parseDxSpotLine(text, &spot);
    parseDxSpotLine(QStringLiteral("DX de ") + text, &spot);
    double degrees = 0;
    parseDegrees(text, false, &degrees);
    parseDegrees(text, true, &degrees);
    return 0;
}
