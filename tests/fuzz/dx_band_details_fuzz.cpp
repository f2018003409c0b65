// BandDetails.txt as it may be found on disk, and frequencies looked up in
// what it gave. What is written reads back as the same bands, names included.
#include "FuzzSupport.h"

#include "dx/BandTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList problems;
    BandTable table;
    table.setBands(BandTable::parse(bytes, &problems));
    const QString text = QString::fromLatin1(bytes);
    const QString band = table.GetBand(text.left(16));
    fuzz::require(!band.isEmpty(), "a frequency is filed under a name");
    (void)table.IsBandEnabled(text.right(8));
    fuzz::require(table.count() <= BandTable::Capacity, "at most the table's capacity");
    const QList<BandDetail> again = BandTable::parse(BandTable::format(table.bands()));
    fuzz::require(again.size() == table.count(), "as many bands read back as written");
    for (int i = 0; i < again.size(); ++i)
        fuzz::require(again[i] == table.bands()[i], "a band reads back the same",
                      table.bands()[i].name + QStringLiteral(" / ") + again[i].name);
    return 0;
}
