#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstring>
#include <sys/stat.h>

#include "FileSizeLimit.h"
#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "weather/WxDataFile.h"
#include "weather/WxDataStore.h"

namespace {

const QString kReport = QStringLiteral("_12072202c052s001g002t068r000p000P000h72b10191wDAV");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QDateTime at(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

class WxDataFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("N0CALL.kew"));
};

} // namespace

TEST_F(WxDataFileTest, ReportsOfOneDayNumberOnAndTheNextDayStartsItsSection)
{
    WxDataFile file(path);
    ASSERT_TRUE(file.append(at(6, 23, 55), kReport));
    ASSERT_TRUE(file.append(at(6, 23, 59, 30), QStringLiteral("  _c100s005\r\nt050  \r\n")));
    ASSERT_TRUE(file.append(at(7, 0, 4), QStringLiteral("_c110s006t049")));

    EXPECT_EQ(readAll(path), QByteArray("[06/12/2026]\r\n"
                                        "Value1=06/12/2026 23:55:00\xFD_12072202c052s001g002t068r000p000P000h72b10191wDAV\r\n"
                                        "Value2=06/12/2026 23:59:30\xFD_c100s005t050\r\n"
                                        "[07/12/2026]\r\n"
                                        "Value1=07/12/2026 00:04:00\xFD_c110s006t049\r\n"));
    EXPECT_EQ(file.days(), QStringList({"06/12/2026", "07/12/2026"}));
    EXPECT_EQ(file.dayValues(QStringLiteral("07/12/2026")),
              QStringList({QStringLiteral("07/12/2026 00:04:00\u00FD_c110s006t049")}));
    EXPECT_TRUE(file.dayValues(QStringLiteral("08/12/2026")).isEmpty());
}

TEST_F(WxDataFileTest, FileFromTheWindowsProgramIsReadAndExtendedAsItIs)
{
    // Lower-case keys, a blank around the section name, a comment, a date
    // without its midnight time and a US time of day.
    writeAll(path, "; written elsewhere\r\n"
                   "[05/12/2026]\r\n"
                   "value1=05/12/2026\xFD_c000s000t040\r\n"
                   "VALUE2=12/5/2026 2:05:00 PM\xFD_c010s001t041\r\n"
                   "[ 06/12/2026 ]\r\n"
                   "value1=06/12/2026 08:00:00\xFD_c020s002t042\r\n"
                   "value2=06/12/2026 08:05:00\xFD_c030s003t043\r\n");
    WxDataFile file(path);
    EXPECT_EQ(file.days(), QStringList({"05/12/2026", "06/12/2026"}));
    const QStringList values = file.dayValues(QStringLiteral("05/12/2026"));
    ASSERT_EQ(values.size(), 2);
    const WxData::StoredReport first = WxData::splitValue(values[0]);
    EXPECT_EQ(first.timeOfDay, QTime(0, 0));
    EXPECT_EQ(first.report, QStringLiteral("_c000s000t040"));
    EXPECT_EQ(WxData::splitValue(values[1]).timeOfDay, QTime(14, 5));

    ASSERT_TRUE(file.append(at(6, 8, 10), QStringLiteral("_c040s004t044")));
    EXPECT_TRUE(readAll(path).endsWith("value2=06/12/2026 08:05:00\xFD_c030s003t043\r\n"
                                       "Value3=06/12/2026 08:10:00\xFD_c040s004t044\r\n"));
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).size(), 3);
}

TEST_F(WxDataFileTest, NewReportTakesTheFirstMissingOrEmptyNumber)
{
    writeAll(path, "[06/12/2026]\r\nValue1=a\xFD_t1\r\nValue2=\r\nValue3=c\xFD_t3\r\n");
    WxDataFile file(path);
    // Reading stops at the first empty value.
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).size(), 1);
    ASSERT_TRUE(file.append(at(6, 12, 0), QStringLiteral("_t2")));
    EXPECT_EQ(readAll(path), QByteArray("[06/12/2026]\r\nValue1=a\xFD_t1\r\nValue2=06/12/2026 12:00:00\xFD_t2\r\n"
                                        "Value3=c\xFD_t3\r\n"));
    ASSERT_TRUE(file.append(at(6, 12, 5), QStringLiteral("_t4")));
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).size(), 4);

    // A gap left by a deleted key is filled as well.
    writeAll(path, "[06/12/2026]\r\nValue1=a\xFD_t1\r\nValue3=c\xFD_t3\r\n");
    ASSERT_TRUE(file.append(at(6, 12, 0), QStringLiteral("_t2")));
    EXPECT_TRUE(readAll(path).endsWith("Value2=06/12/2026 12:00:00\xFD_t2\r\n"));
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).size(), 3);
}

TEST_F(WxDataFileTest, LateReportForAnEarlierDayGoesIntoItsOwnSection)
{
    WxDataFile file(path);
    ASSERT_TRUE(file.append(at(6, 23, 50), QStringLiteral("_t1")));
    ASSERT_TRUE(file.append(at(7, 0, 5), QStringLiteral("_t2")));
    ASSERT_TRUE(file.append(at(6, 23, 55), QStringLiteral("_t3")));
    EXPECT_EQ(file.days(), QStringList({"06/12/2026", "07/12/2026"}));
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).size(), 2);
    EXPECT_EQ(file.dayValues(QStringLiteral("07/12/2026")).size(), 1);
    // The late day's section moved to the end, with its report.
    EXPECT_TRUE(readAll(path).endsWith("[07/12/2026]\r\nValue1=07/12/2026 00:05:00\xFD_t2\r\n"
                                       "[06/12/2026]\r\nValue1=06/12/2026 23:50:00\xFD_t1\r\n"
                                       "Value2=06/12/2026 23:55:00\xFD_t3\r\n"));
}

TEST_F(WxDataFileTest, LineCutShortByACrashStaysAndTheNextReportFollowsIt)
{
    writeAll(path, "[06/12/2026]\r\nValue1=06/12/2026 10:00:00\xFD_t050\r\nValue2=06/12/2026 10:0");
    WxDataFile file(path);
    ASSERT_TRUE(file.append(at(6, 10, 10), QStringLiteral("_t052")));
    EXPECT_EQ(readAll(path), QByteArray("[06/12/2026]\r\nValue1=06/12/2026 10:00:00\xFD_t050\r\n"
                                        "Value2=06/12/2026 10:0\r\n"
                                        "Value3=06/12/2026 10:10:00\xFD_t052\r\n"));
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).size(), 3);
}

// A comment beyond Latin-1 is kept; the byte between time and report stays
// 0xFD, which the Windows program looks for.
TEST_F(WxDataFileTest, CommentsBeyondLatin1ComeBackAsSent)
{
    const QString russian = QStringLiteral("_t050 \u041F\u0440\u0438\u0432\u0435\u0442");
    WxDataFile file(path);
    ASSERT_TRUE(file.append(at(6, 10, 0), russian));
    ASSERT_TRUE(file.append(at(6, 10, 5), QStringLiteral("_t051 Gr\u00FC\u00DFe")));
    EXPECT_EQ(readAll(path), "[06/12/2026]\r\nValue1=06/12/2026 10:00:00\xFD" + russian.toUtf8()
                                 + "\r\nValue2=06/12/2026 10:05:00\xFD_t051 Gr\xFC\xDF" "e\r\n");
    const QStringList values = file.dayValues(QStringLiteral("06/12/2026"));
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(WxData::splitValue(values[0]).report, russian);
    EXPECT_EQ(WxData::splitValue(values[1]).report, QStringLiteral("_t051 Gr\u00FC\u00DFe"));
}

TEST_F(WxDataFileTest, DaySectionLongerThanOneReadOfTheTailIsStillNumberedRight)
{
    QByteArray big = "[05/12/2026]\r\nValue1=x\xFD_t1\r\n[06/12/2026]\r\n";
    const QByteArray padding(300, 'p');
    for (int i = 1; i <= 600; ++i)
        big += "Value" + QByteArray::number(i) + "=06/12/2026 00:00:00\xFD_t" + padding + "\r\n";
    writeAll(path, big);
    WxDataFile file(path);
    ASSERT_TRUE(file.append(at(6, 23, 0), QStringLiteral("_t601")));
    EXPECT_TRUE(readAll(path).endsWith("Value601=06/12/2026 23:00:00\xFD_t601\r\n"));
    // Values come back cut to what a profile read returns.
    const QStringList values = file.dayValues(QStringLiteral("06/12/2026"));
    ASSERT_EQ(values.size(), 601);
    EXPECT_EQ(values.first().size(), 20 + 2 + 300);
    writeAll(path, "[06/12/2026]\r\nValue1=" + QByteArray(5000, 'v') + "\r\n");
    EXPECT_EQ(file.dayValues(QStringLiteral("06/12/2026")).first().size(), WxDataFile::MaxValueLength);
}

// A disk that fills up half way through a report must not leave the half
// that fitted: "t1" of "t105" would be charted as a reading.
TEST_F(WxDataFileTest, WriteCutShortLeavesTheFileAsItWasAndSaysWhy)
{
    const QByteArray old = "[06/12/2026]\r\nValue1=06/12/2026 10:00:00\xFD_t050\r\n";
    writeAll(path, old);
    const int result = runUnderFileSizeLimit(long(old.size()) + 30, [&] {
        QString error;
        const bool stored = WxDataFile(path).append(at(6, 10, 5), QStringLiteral("_t105"), &error);
        return !stored && error == QString::fromLocal8Bit(std::strerror(EFBIG));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(readAll(path), old);

    // A folder where the file should be is named as such.
    QDir().mkpath(dir.filePath(QStringLiteral("G4KWA.kew")));
    QString error;
    EXPECT_FALSE(WxDataFile(dir.filePath(QStringLiteral("G4KWA.kew"))).append(at(6, 10, 5), kReport, &error));
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(EISDIR)));
}

// A section dated ahead (a clock that jumped) at the end of the file: the
// day's reports that follow must still be cheap appends, not rewrites of the
// whole file. A rewrite goes through a new file, so it changes the inode.
TEST_F(WxDataFileTest, SectionDatedAheadAtTheEndCostsOneRewriteNotOneEach)
{
    writeAll(path, "[06/12/2026]\r\nValue1=06/12/2026 10:00:00\xFD_t050\r\n"
                   "[10/06/2027]\r\nValue1=10/06/2027 10:02:00\xFD_t051\r\n");
    WxDataFile file(path);
    auto inode = [&] {
        struct stat info {};
        stat(QFile::encodeName(path).constData(), &info);
        return info.st_ino;
    };
    ASSERT_TRUE(file.append(at(6, 10, 5), QStringLiteral("_t052")));
    const auto afterFirst = inode();
    for (int minute = 10; minute <= 20; minute += 5)
        ASSERT_TRUE(file.append(at(6, 10, minute), QStringLiteral("_t0%1").arg(minute)));
    EXPECT_EQ(inode(), afterFirst);
    // Even after a start of the program, when nothing is known about the file.
    WxDataFile::forgetTails();
    ASSERT_TRUE(file.append(at(6, 10, 25), QStringLiteral("_t025")));
    EXPECT_EQ(inode(), afterFirst);

    const QStringList values = file.dayValues(QStringLiteral("06/12/2026"));
    ASSERT_EQ(values.size(), 6);
    EXPECT_TRUE(values.last().endsWith(QStringLiteral("_t025")));
    EXPECT_EQ(file.dayValues(QStringLiteral("10/06/2027")).size(), 1);
    // The date list stays in date order whatever order the sections are in.
    EXPECT_EQ(file.days(), QStringList({"06/12/2026", "10/06/2027"}));
}

TEST(WxDataNames, CallsignsNameFilesOnlyWhenTheyAreSafe)
{
    TempDirs dirs;
    EXPECT_EQ(WxData::fileForCallsign(QStringLiteral("N0CALL-13*")), dirs.data() + QStringLiteral("/WxData/N0CALL-13.kew"));
    EXPECT_EQ(WxData::fileForCallsign(QStringLiteral("g4kwa")), dirs.data() + QStringLiteral("/WxData/g4kwa.kew"));
    for (const char *bad : {"", "*", "../N0CALL", "N0/CALL", "N0CALL**", "N0 CALL", "C:N0CALL", "N0CALL\\X",
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"})
        EXPECT_TRUE(WxData::fileForCallsign(QString::fromLatin1(bad)).isEmpty()) << bad;

    EXPECT_EQ(WxData::timeOfDay(QStringLiteral("12/6/2026 12:10:00 AM")), QTime(0, 10));
    EXPECT_EQ(WxData::timeOfDay(QStringLiteral("12/6/2026 12:10 pm")), QTime(12, 10));
    EXPECT_EQ(WxData::timeOfDay(QStringLiteral("2026-12-06 25:10:00")), QTime(0, 0));
    EXPECT_EQ(WxData::dayDate(QStringLiteral("6/12/2026")), QDate(2026, 12, 6));
    EXPECT_EQ(WxData::splitValue(QStringLiteral("_t050")).report, QStringLiteral("_t050"));
}

TEST(WxDataStore, StoresPerStationTellsListenersAndRefusesUnsafeCallsigns)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    WxDataStore store;
    QSignalSpy stored(&store, &WxDataStore::reportStored);
    HostStationRecord station;
    station.callsign = QStringLiteral("N0CALL-13*");
    store.AddWxData(station, kReport, at(6, 12, 0));
    const QString file = dirs.data() + QStringLiteral("/WxData/N0CALL-13.kew");
    EXPECT_EQ(WxDataFile(file).dayValues(QStringLiteral("06/12/2026")).size(), 1);
    ASSERT_EQ(stored.count(), 1);
    EXPECT_EQ(stored[0][0].toString(), file);
    EXPECT_EQ(stored[0][1].toString(), QStringLiteral("06/12/2026"));

    station.callsign = QStringLiteral("../../escape");
    store.AddWxData(station, kReport, at(6, 12, 0));
    EXPECT_EQ(store.refused(), 1);
    EXPECT_EQ(stored.count(), 1);
    EXPECT_FALSE(QFile::exists(dirs.data() + QStringLiteral("/../escape.kew")));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(WxDataStore, FailureIsReportedOnceUntilStoringWorksAgain)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    WxDataStore store;
    HostStationRecord station;
    station.callsign = QStringLiteral("N0CALL");
    // A file where the folder should be: nothing can be stored.
    writeAll(dirs.data() + QStringLiteral("/WxData"), "not a folder");
    store.AddWxData(station, kReport, at(6, 12, 0));
    store.AddWxData(station, kReport, at(6, 12, 5));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Error in ERROR_AddWxData : ")));

    QFile::remove(dirs.data() + QStringLiteral("/WxData"));
    store.AddWxData(station, kReport, at(6, 12, 10));
    EXPECT_EQ(WxDataFile(WxData::fileForCallsign(station.callsign)).dayValues(QStringLiteral("06/12/2026")).size(), 1);
    QDir(dirs.data()).rename(QStringLiteral("WxData"), QStringLiteral("Moved"));
    writeAll(dirs.data() + QStringLiteral("/WxData"), "not a folder");
    store.AddWxData(station, kReport, at(6, 12, 15));
    EXPECT_EQ(prompts.shown.size(), 2);
}
