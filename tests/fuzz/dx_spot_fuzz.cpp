// DX cluster lines from the air through the spot intake, and saved DX lists.
#include <cstddef>
#include <cstdint>

#include "dx/BandTable.h"
#include "dx/DxListFile.h"
#include "dx/DxMonitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromLatin1(bytes);
    BandTable bands;
    bands.setBands({{0, 2147483647, QStringLiteral("All")}});
    DxMonitor monitor(bands);
    monitor.addPrefixText(QStringLiteral("A-Z,0-9:Everywhere:EU:1:1:0:0N:0E"), true);
    const QDateTime now(QDate(2026, 7, 1), QTime(10, 0));
    for (const QString &line : text.split(u'\n'))
        (void)monitor.addSpot(line, line.mid(26, 12).trimmed(), line.mid(15, 9), 1, -1, 90, 100, now, true);
    (void)monitor.spots().expire(now.addSecs(3600), 60);
    int skipped = 0;
    (void)DxListFile::parse(bytes, &skipped);
    (void)DxListFile::parse(DxListFile::format(monitor.spots().records()), &skipped);
    if (skipped != 0)
        __builtin_trap();  // what is written must read back whole
    return 0;
}
