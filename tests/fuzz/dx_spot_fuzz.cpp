// DX cluster lines from the air through the spot intake, and saved DX lists:
// every spot kept is written and read back field for field.
#include "FuzzSupport.h"

#include "dx/BandTable.h"
#include "dx/DxListFile.h"
#include "dx/DxMonitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const qint16 latitude = qint16(in.u32()), longitude = qint16(in.u32());
    const QByteArray bytes = in.rest();
    const QString text = QString::fromLatin1(bytes);
    BandTable bands;
    bands.setBands({{0, 2147483647, QStringLiteral("All")}, {-2147483647, -1, QStringLiteral("Below")}});
    DxMonitor monitor(bands);
    monitor.addPrefixText(QStringLiteral("A-Z,0-9:Everywhere:EU:1:1:0:0N:0E"), true);
    const QDateTime now(QDate(2026, 7, 1), QTime(10, 0));
    for (const QString &line : text.split(u'\n'))
        (void)monitor.addSpot(line, line.mid(26, 12).trimmed(), line.mid(15, 9), latitude, longitude, 90, 100,
                              now, true);
    (void)monitor.spots().expire(now.addSecs(60 * (latitude & 0xff)), 60);

    int skipped = 0;
    (void)DxListFile::parse(bytes, &skipped);
    const QList<DxStations> &spots = monitor.spots().records();
    const QList<QStringList> rows = DxListFile::parse(DxListFile::format(spots), &skipped);
    fuzz::require(skipped == 0 && rows.size() == spots.size(), "every spot written reads back");
    for (qsizetype i = 0; i < rows.size(); ++i)
        fuzz::require(rows[i] == DxListFile::fields(spots[i]), "a spot reads back field for field",
                      rows[i].join(u'|'));
    return 0;
}
