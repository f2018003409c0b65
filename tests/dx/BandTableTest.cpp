#include "dx/BandTable.h"
#include "dx/LeadingNumber.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(LeadingNumber, ReadsSignDigitsAndOnePointSkippingBlanks)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
        {"14000.0", 14000},  {" 7 050kHz", 7050}, {"-3.5", -3.5}, {"+2", 2},
        {"1.2.3", 1.2},      {"abc", 0},          {"", 0},        {".", 0},
        {"5-3", 5},          {"+-5", 0},          {".5", 0.5},    {"12,5", 12},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(LeadingNumber, IntegerRoundsHalvesToEvenAndClamps)
{
    EXPECT_EQ(leadingInteger("2.5"), 2);
    EXPECT_EQ(leadingInteger("3.5"), 4);
    EXPECT_EQ(leadingInteger("-3.5"), -4);
    EXPECT_EQ(leadingInteger("1810.49"), 1810);
    EXPECT_EQ(leadingInteger(QString(400, u'9')), std::numeric_limits<qint32>::max());
    EXPECT_EQ(leadingInteger("-99999999999"), std::numeric_limits<qint32>::min());
}

TEST(BandTable, BuiltInBandsHoldTheirEdgesAndNothingElse)
{
    BandTable table;
    ASSERT_EQ(table.count(), 20);
    const struct
    {
        const char *frequency;
        const char *band;
    } cases[] = {
        {"1810", "160M"},   {"2000", "160M"},  {"2000.1", "Other"}, {"1809.9", "Other"},
        {"14000.0", "20M"}, {"14350", "20M"},  {"7074.0", "40M"},   {"144800", "2M"},
        {"47200000", "6mm"}, {"abc", "Other"}, {"", "Other"},       {"-14000", "Other"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(table.GetBand(c.frequency), c.band) << c.frequency;
}

TEST(BandTable, FirstBandInTableOrderWinsAnOverlapAndAnEmptyNameIsOther)
{
    BandTable table;
    table.setBands({{14000, 14350, "20M"}, {14000, 14100, "20M-CW"}, {3500, 3800, ""}, {3500, 4000, "80M"}});
    EXPECT_EQ(table.GetBand("14050"), "20M");
    EXPECT_EQ(table.GetBand("3600"), "Other");  // the first band holding it has no name
    EXPECT_EQ(table.GetBand("3900"), "80M");
}

TEST(BandTable, EnabledNamesCompareWithLetterCaseAndOtherIsNotABand)
{
    BandTable table;
    table.setBands({{14000, 14350, "20m"}, {7000, 7100, "40M"}});
    EXPECT_FALSE(table.IsBandEnabled("20M"));
    EXPECT_TRUE(table.IsBandEnabled("20m"));
    EXPECT_FALSE(table.IsBandEnabled("Other"));
    table.setEnabled(1, false);
    EXPECT_FALSE(table.IsBandEnabled("40M"));
    table.setEnabled(7, false);  // no such band: ignored

    table.setBands({{0, 0, "Other"}});
    EXPECT_TRUE(table.IsBandEnabled("Other"));
}

TEST(BandTable, FileLinesSkipCommentsKeepTheNameAsItStandsAndRoundEdgesHalfToEven)
{
    QStringList problems;
    const QList<BandDetail> bands = BandTable::parse("' comment|1|2\r\n"
                                                     "1810.5|2000.5| 160 M \r\n"
                                                     " 3 500 |3800kHz|80M|extra\n"
                                                     "\r\n"
                                                     "garbage\r\n"
                                                     "7000|7100\r\n"
                                                     "x|y|\r\n"
                                                     "10100|10150|30M\r"  // a CR alone ends a line
                                                     "50000|52000|6M",
                                                     &problems);
    const QList<BandDetail> expected = {{1810, 2000, " 160 M "},
                                        {3500, 3800, "80M|extra"},
                                        {0, 0, ""},
                                        {10100, 10150, "30M"},
                                        {50000, 52000, "6M"}};
    EXPECT_EQ(bands, expected);
    EXPECT_EQ(problems, QStringList({"line 5 is not lower|upper|name", "line 6 is not lower|upper|name"}));
}

TEST(BandTable, ReadingStopsAtTheCapacityAndSaysHowManyWereLeftOut)
{
    QByteArray text;
    for (int i = 0; i < 105; ++i)
        text += QByteArray::number(i) + '|' + QByteArray::number(i) + "|B" + QByteArray::number(i) + "\r\n";
    QStringList problems;
    const QList<BandDetail> bands = BandTable::parse(text, &problems);
    ASSERT_EQ(bands.size(), BandTable::Capacity);
    EXPECT_EQ(bands.last().name, "B100");
    EXPECT_EQ(problems, QStringList({"4 bands past the first 101 were left out"}));

    BandTable table;
    table.setBands(bands + bands);
    EXPECT_EQ(table.count(), BandTable::Capacity);
}

TEST(BandTable, WrittenFileHasTheEightCommentLinesThenOneLinePerBand)
{
    const QByteArray text = BandTable::format({{1810, 2000, "160M"}, {-5, 7, "odd|name "}});
    EXPECT_EQ(text, "' These are the bans details that Kestrel uses to update the DX\r\n"
                    "' Window. This file can be changed in the program options and\r\n"
                    "' should not be directly edited.\r\n"
                    "'\r\n"
                    "' The file format is\r\n"
                    "'\r\n"
                    "' Lower band edge | Upper band edge | Band name\r\n"
                    "'\r\n"
                    "1810|2000|160M\r\n"
                    "-5|7|odd|name \r\n");
    QStringList problems;
    EXPECT_EQ(BandTable::parse(text, &problems), QList<BandDetail>({{1810, 2000, "160M"}, {-5, 7, "odd|name "}}));
    EXPECT_TRUE(problems.isEmpty());
}

TEST(BandTable, SetupReadsTheFileWithEveryBandEnabledOrUsesTheBuiltInBands)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    BandTable table;
    table.setBands({{1, 2, "x"}});
    table.SetupBands();
    EXPECT_EQ(table.bands(), BandTable::builtIn());

    table.setBands({{14000, 14350, "20M"}, {7000, 7100, "40M"}});
    table.setEnabled(0, false);
    ASSERT_TRUE(table.SaveBandData());
    table.SetupBands();  // as at the next start
    EXPECT_EQ(table.bands(), QList<BandDetail>({{14000, 14350, "20M"}, {7000, 7100, "40M"}}));
    EXPECT_TRUE(table.IsBandEnabled("20M"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(BandTable, SetupReportsBadLinesOnceAndKeepsTheGoodOnes)
{
    TempDirs dirs;
    ScriptedPrompts prompts;
    QByteArray text = "14000|14350|20M\r\n";
    for (int i = 0; i < 8; ++i)
        text += "no separators here\r\n";
    writeAll(BandTable::defaultPath(), text);
    BandTable table;
    table.SetupBands();
    EXPECT_EQ(table.bands(), QList<BandDetail>({{14000, 14350, "20M"}}));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.texts()[0].startsWith("Error in ERROR_SetupBands : BandDetails.txt: line 2 is not"));
    EXPECT_TRUE(prompts.texts()[0].contains("and 3 more")) << prompts.texts()[0].toStdString();
}

TEST(BandTable, AFailedWriteReportsAndLeavesTheOldFileIntact)
{
    TempDirs dirs;
    const QString path = BandTable::defaultPath();
    BandTable::writeFile(path, BandTable::builtIn(), nullptr);
    const QByteArray old = readAll(path);
    ASSERT_FALSE(old.isEmpty());

    QList<BandDetail> many;
    for (int i = 0; i < BandTable::Capacity; ++i)
        many.append({i, i + 1, QString(40, u'n')});
    // The child process writes under a 2 KB file size limit: the new file cannot be completed.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{2048, 2048};
        setrlimit(RLIMIT_FSIZE, &limit);
        ScriptedPrompts prompts;
        BandTable table;
        table.setBands(many);
        const bool saved = table.SaveBandData();
        const bool reported = prompts.shown.size() == 1
                              && prompts.texts()[0].startsWith("Error in ERROR_SaveBandData : ");
        _exit(!saved && reported ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readAll(path), old);
}
