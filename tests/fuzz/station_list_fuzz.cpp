// Station list file lines and information texts (PHG/RNG) from outside.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QString>

#include "stations/MapPlotting.h"
#include "stations/StationListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        StationListFile::Parsed parsed;
        if (!StationListFile::parseLine(line, &parsed))
            continue;
        // Whatever a line loads into saves and loads back the same, and never fills the log file.
        StationListFile::Parsed again;
        if (!parsed.cells[StationListModel::LogFile].isEmpty()
            || !StationListFile::parseLine(StationListFile::lineOf(StationListFile::mergeCells(parsed)), &again))
            abort();
        for (int c = 0; c < StationListModel::LogFile; ++c)
            if (again.cells[size_t(c)] != parsed.cells[size_t(c)])
                abort();
    }
    (void)phgRngCircle(text);
    return 0;
}
