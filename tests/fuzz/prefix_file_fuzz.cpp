// The country prefix file and lookups against what it built.
#include "host/PrefixTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    PrefixTable table;
    table.parse(text);
    table.lookUp(text.left(12));
    table.lookUp(text.right(8));
    return 0;
}
