#include "statistics/StatisticsFile.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(StatisticsGarbage, RandomFilesLoadWhatTheyCanAndCountTheRest)
{
    QRandomGenerator random(6);
    static const char alphabet[] = "0123456789.|||-+eEdD \r\n\r\n";
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        const int size = int(random.bounded(3000));
        for (int i = 0; i < size; ++i)
            bytes += random.bounded(5) == 0 ? char(random.bounded(256))
                                            : alphabet[random.bounded(int(sizeof alphabet - 1))];
        StatisticsFile::Loaded loaded;
        StatisticsFile::parse(bytes, loaded);
        for (const StatisticsBar &bar : loaded.series.bars()) {
            ASSERT_TRUE(bar.time.isValid());
            // What was read writes back and reads again as the same bar.
            StatisticsFile::Loaded again;
            StatisticsFile::parse(StatisticsFile::textOf({bar}), again);
            ASSERT_EQ(again.series.count(), 1);
            EXPECT_EQ(again.series.bars().first().time, bar.time);
            EXPECT_EQ(again.series.bars().first().value, bar.value);
        }
        EXPECT_LE(loaded.series.count() + loaded.skipped, bytes.count('\n') + bytes.count('\r') + 1);
    }
}
