// Statistics files from outside: what a file loads into is written out as
// a text that loads into the same again, and the trend through it is finite.
#include "FuzzSupport.h"

#include "statistics/StatisticsBarIndex.h"
#include "statistics/StatisticsFile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    StatisticsFile::Loaded loaded;
    StatisticsFile::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), loaded);
    const QByteArray text = StatisticsFile::textOf(loaded.series.bars());
    StatisticsFile::Loaded again;
    StatisticsFile::parse(text, again);
    fuzz::require(again.skipped == 0, "every bar written reads back", QString::fromLatin1(text.left(200)));
    fuzz::require(StatisticsFile::textOf(again.series.bars()) == text, "text, load, text is the same",
                  QString::fromLatin1(text.left(200)));
    for (double y : leastSquaresTrend(loaded.series.bars()))
        fuzz::require(std::isfinite(y), "the trend is finite");
    return 0;
}
