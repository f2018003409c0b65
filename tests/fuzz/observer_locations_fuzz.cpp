// The observer locations file: at most its capacity, every place on the
// Earth, no field running into the next line.
#include "FuzzSupport.h"

#include "dx/ObserverLocations.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Only the folder outlives an input; the file is written afresh.
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ObserverLocations.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ObserverLocations table;
    fuzz::require(table.load(path), "the file reads");
    fuzz::require(table.entries().size() <= ObserverLocations::Capacity, "at most the table's capacity");
    for (const ObserverLocation &place : table.entries()) {
        fuzz::require(std::fabs(place.latitude) <= 90 && std::fabs(place.longitude) <= 180, "a place on the Earth",
                      QStringLiteral("%1 %2").arg(place.latitude).arg(place.longitude));
        for (const QString *field : {&place.code, &place.name})
            fuzz::require(!field->contains(u'\n') && !field->contains(u'\r'), "a field within its line", *field);
    }
    return 0;
}
