// Statistics files from outside.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "statistics/StatisticsBarIndex.h"
#include "statistics/StatisticsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    StatisticsFile::Loaded loaded;
    StatisticsFile::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), loaded);
    (void)leastSquaresTrend(loaded.series.bars());
    (void)StatisticsFile::textOf(loaded.series.bars());
    return 0;
}
