// The host's prefix.txt and callsigns matched against the index it built.
#include <cstddef>
#include <cstdint>

#include "dx/BandTable.h"
#include "dx/DxMonitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    BandTable bands;
    DxMonitor monitor(bands);
    monitor.addPrefixText(text, true);
    (void)monitor.notifyingCountry(text.left(12));
    (void)monitor.notifyingCountry(text.right(10));
    monitor.prefixList().sort(1, Qt::DescendingOrder);
    return 0;
}
