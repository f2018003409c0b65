// Station list file lines and information texts (PHG/RNG) from outside.
#include <cstddef>
#include <cstdint>

#include <QString>

#include "stations/MapPlotting.h"
#include "stations/StationListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        StationListFile::Parsed parsed;
        if (StationListFile::parseLine(line, &parsed))
            (void)StationListFile::lineOf(StationListFile::mergeCells(parsed));
    }
    (void)phgRngCircle(text);
    return 0;
}
