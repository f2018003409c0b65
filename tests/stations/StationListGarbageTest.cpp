#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "stations/MapPlotting.h"
#include "stations/StationListFile.h"

namespace {

QByteArray garbage(QRandomGenerator &random, int size)
{
    // Mostly separators and line ends so that many lines reach the field rules.
    static const char alphabet[] = "||||||\r\n\r\nPHGRNG0123456789 *+-\xfd\xfe" "ABC";
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += random.bounded(4) == 0 ? char(random.bounded(256))
                                        : alphabet[random.bounded(int(sizeof alphabet - 1))];
    return bytes;
}

} // namespace

TEST(StationListGarbage, RandomFilesLoadAndMergeWithoutHarm)
{
    QRandomGenerator random(2026);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("junk.kel"));
    for (int round = 0; round < 200; ++round) {
        const QByteArray bytes = garbage(random, int(random.bounded(2000)));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        StationListModel model;
        const auto loaded = StationListFile::load(path, model);
        const auto merged = StationListFile::merge(path, model);
        EXPECT_TRUE(loaded.opened);
        EXPECT_EQ(model.count(), loaded.added + merged.added);
        for (int r = 0; r < model.count(); ++r)
            EXPECT_EQ(model.find(model.cell(r, StationListModel::Station)) <= r, true);
        (void)phgRngCircle(QString::fromLatin1(bytes));
    }
}
