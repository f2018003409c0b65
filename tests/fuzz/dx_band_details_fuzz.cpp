// BandDetails.txt as it may be found on disk, and frequencies looked up in what it gave.
#include <cstddef>
#include <cstdint>

#include "dx/BandTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList problems;
    BandTable table;
    table.setBands(BandTable::parse(bytes, &problems));
    const QString text = QString::fromLatin1(bytes);
    (void)table.GetBand(text.left(16));
    (void)table.IsBandEnabled(text.right(8));
    // What is written reads back as the same bands.
    const QList<BandDetail> again = BandTable::parse(BandTable::format(table.bands()));
    if (again.size() != table.count())
        __builtin_trap();
    for (int i = 0; i < again.size(); ++i)
        if (again[i].lower != table.bands()[i].lower || again[i].upper != table.bands()[i].upper)
            __builtin_trap();
    return 0;
}
