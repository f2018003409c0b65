// The host's saved station database: any bytes read without a crash, and
// whatever was restored saves and reads back whole.
#include <cstddef>
#include <cstdint>

#include <QBuffer>

#include "host/StationFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArrayLiteral("KestrelHost stations 1\n");
    bytes.append(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &input : {bytes, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))}) {
        QByteArray copy = input;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        StationDatabase db;
        StationFile::read(buffer, db, 0);
        QByteArray saved = StationFile::serialise(db.snapshot());
        QBuffer again(&saved);
        again.open(QIODevice::ReadOnly);
        StationDatabase back;
        if (StationFile::read(again, back, 0).skipped != 0 || back.size() != db.size())
            __builtin_trap();
    }
    return 0;
}
