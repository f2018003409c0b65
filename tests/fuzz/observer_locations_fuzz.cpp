// The observer locations file: at most its capacity, every place on the
// Earth, no field running into the next line; and a place picked from it for
// the second observer fills position fields that the options accept, at that
// place.
#include "FuzzSupport.h"

#include "dx/ObserverLocations.h"
#include "options/PositionFormats.h"

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

        // As picking the place in the options does; the file counts longitude west-positive.
        const double minutes[] = {place.latitude * 60.0, place.longitude * -60.0};
        QString fields[2];
        FormatLatLon(float(minutes[0]), float(minutes[1]), &fields[0], &fields[1]);
        for (bool longitude : {false, true}) {
            QString field = fields[longitude];
            QString partner = fields[!longitude];
            const QString detail = fields[0] + QLatin1Char(' ') + fields[1]
                                   + QStringLiteral(" for %1 %2").arg(place.latitude).arg(place.longitude);
            fuzz::require(strValidateLatLon(field, partner, longitude) == PositionCheck::Ok,
                          "a place from the table passes the options' check", detail);
            // Minutes are shown to the hundredth.
            fuzz::require(std::fabs(sConvertPos(field) - minutes[longitude]) <= 0.01, "the options keep the place",
                          detail + QStringLiteral(" read back as %1").arg(sConvertPos(field)));
        }
    }
    return 0;
}
