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

TEST(StationListGarbage, AnyCellsSaveAndLoadBackAsTheyWere)
{
    // Cells the air could bring: bars, line ends, percent signs, codes and Latin-1.
    static const char alphabet[] = "||%%7C0D0A25\r\n ab\xfd\xfe";
    QRandomGenerator random(1206);
    for (int round = 0; round < 2000; ++round) {
        StationListModel::Cells cells;
        for (int c = 0; c < StationListModel::LogFile; ++c) {
            QByteArray bytes;
            const int size = int(random.bounded(12));
            for (int i = 0; i < size; ++i)
                bytes += alphabet[random.bounded(int(sizeof alphabet - 1))];
            cells[size_t(c)] = QString::fromLatin1(bytes);
        }
        const QString line = StationListFile::lineOf(cells);
        ASSERT_FALSE(line.contains(u'\r') || line.contains(u'\n'));
        StationListFile::Parsed parsed;
        ASSERT_TRUE(StationListFile::parseLine(line, &parsed)) << line.toStdString();
        for (int c = 0; c < StationListModel::LogFile; ++c)
            ASSERT_EQ(parsed.cells[size_t(c)], cells[size_t(c)]) << c << " in " << line.toStdString();
        ASSERT_TRUE(parsed.cells[StationListModel::LogFile].isEmpty());
    }
}
