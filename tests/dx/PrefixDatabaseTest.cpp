#include "dx/BandTable.h"
#include "dx/DxMonitor.h"
#include "dx/PrefixDatabase.h"
#include "dx/PrefixListModel.h"

#include <gtest/gtest.h>

using PrefixFile::BuildPrefix;

TEST(BuildPrefix, ExpandsRangesOnTheLastCharacterOfEachEnd)
{
    const struct
    {
        QString entry;
        QStringList prefixes;
    } cases[] = {
        {"", {""}},
        {"ZS", {"ZS"}},
        {"ZR-ZU", {"ZR", "ZS", "ZT", "ZU"}},
        {"KC6-KC4", {"KC4", "KC5", "KC6"}},
        {"AM-A0", {"AM", "AN", "AO"}},  // digit zero read as the letter O
        {"AM-AO", {"AM", "AN", "AO"}},
        {"AA-BK", {"AA", "AB", "AC", "AD", "AE", "AF", "AG", "AH", "AI", "AJ", "AK"}},
        {"Y2-Y2", {"Y2"}},
        {"A-", {"A-"}},
        {"-B", {"-B"}},
        {QString("A") + QChar(1) + "-A" + QChar(0xFF), {QString("A") + QChar(1) + "-A" + QChar(0xFF)}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(BuildPrefix(c.entry), c.prefixes) << c.entry.toStdString();
}

TEST(PrefixFile, LinesAreSkippedReadOrRefusedByTheirFields)
{
    PrefixLine line;
    EXPECT_EQ(PrefixFile::parseLine("", &line), PrefixFile::LineKind::Skipped);
    EXPECT_EQ(PrefixFile::parseLine("; G:England:EU:27:14:0:52N:1W", &line), PrefixFile::LineKind::Skipped);
    EXPECT_EQ(PrefixFile::parseLine("G:England:EU:27:14:0", &line), PrefixFile::LineKind::Malformed);

    ASSERT_EQ(PrefixFile::parseLine(" ZR-ZU , ZS8 : South Africa :AF:57:38:2:29S", &line),
              PrefixFile::LineKind::Data);
    EXPECT_EQ(line.fields, QStringList({"ZR-ZU , ZS8", "South Africa", "AF", "57", "38", "2", "29S", "???"}));

    ASSERT_EQ(PrefixFile::parseLine("G:England:EU:27:14:0:52N:1W:extra", &line), PrefixFile::LineKind::Data);
    EXPECT_EQ(line.fields.size(), PrefixLine::Columns);
    EXPECT_EQ(line.fields.last(), "1W");

    ASSERT_EQ(PrefixFile::parseLine("G:England:EU:27:14:0:52N:", &line), PrefixFile::LineKind::Data);
    EXPECT_EQ(line.fields.last(), "") << "an empty eighth field is a longitude, not a missing one";
}

class PrefixIndexTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        monitor.addPrefixText("; comment\r\n"
                              "Q:Qland:EU:1:1:0:1N:1E\r\n"
                              "QM:Qmland:EU:1:1:0:1N:1E\r\n"
                              "ZR-ZU:South Africa:AF:57:38:2:29S:24E\r\n"
                              "ZS:Not South Africa:AF:57:38:2:29S:24E\r\n"
                              "EA-EH,AM-A0:Spain:EU:37:14:1:40N:4W\r\n"
                              "EA8,EB8:Canary Islands:AF:36:33:0:28N:16W\r\n"
                              "G,M,2E:England:EU:27:14:0:52N:1W\r\n",
                              false);
    }

    QString countryOf(const QString &callsign) const
    {
        const DxCountries *hit = monitor.prefixIndex().lookUp(callsign);
        return hit ? hit->Country : QStringLiteral("none");
    }

    BandTable bands;
    DxMonitor monitor{bands};
};

TEST_F(PrefixIndexTest, TheLongestPrefixOfTheCallsignWins)
{
    EXPECT_EQ(countryOf("QM3XYZ"), "Qmland");
    EXPECT_EQ(countryOf("Q1XYZ"), "Qland");
    EXPECT_EQ(countryOf("qm3xyz"), "Qmland") << "letter case ignored";
    EXPECT_EQ(countryOf("AO1ABC"), "Spain");
    EXPECT_EQ(countryOf("EA8/G4ABC"), "Canary Islands");
    EXPECT_EQ(countryOf("G4ABC/P"), "England");
    EXPECT_EQ(countryOf("G4ABC/EA8"), "England") << "the part after the stroke plays no role";
    EXPECT_EQ(countryOf("XX1XX"), "none");
    EXPECT_EQ(countryOf(""), "none");
}

TEST_F(PrefixIndexTest, TheFirstLineClaimingAPrefixKeepsIt)
{
    const DxCountries *zs = monitor.prefixIndex().find("ZS");
    ASSERT_NE(zs, nullptr);
    EXPECT_EQ(zs->Country, "South Africa");
    EXPECT_EQ(zs->FullPrefix, "ZR-ZU");
    EXPECT_EQ(monitor.prefixList().rowCount(), 7) << "both lines are still listed";
    // Q, QM, ZR..ZU, EA..EH, AM..AO, EA8, EB8, G, M, 2E
    EXPECT_EQ(monitor.prefixIndex().size(), 1 + 1 + 4 + 8 + 3 + 2 + 3);
}

TEST_F(PrefixIndexTest, OnlyATickedRowOfTheMatchedLineNotifies)
{
    PrefixListModel &list = monitor.prefixList();
    EXPECT_EQ(monitor.notifyingCountry("ZS6ABC"), nullptr);
    list.setTicked(3, true);  // the second ZS line: not the one that holds ZS
    EXPECT_EQ(monitor.notifyingCountry("ZS6ABC"), nullptr);
    list.setTicked(2, true);
    ASSERT_NE(monitor.notifyingCountry("ZS6ABC"), nullptr);
    EXPECT_EQ(list.data(list.index(2, PrefixListModel::CheckedColumn)).toString(), "A");
    EXPECT_EQ(list.data(list.index(2, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    list.setData(list.index(2, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(monitor.notifyingCountry("ZS6ABC"), nullptr);
    EXPECT_EQ(list.data(list.index(2, PrefixListModel::CheckedColumn)).toString(), "");
}

TEST_F(PrefixIndexTest, SortingOnTheCheckedColumnGroupsTheTickedRowsAndTicksFollowTheirRows)
{
    PrefixListModel &list = monitor.prefixList();
    list.setTicked(6, true);  // England
    list.setTicked(1, true);  // Qmland
    list.sort(PrefixListModel::CheckedColumn, Qt::DescendingOrder);
    EXPECT_TRUE(list.isTicked(0));
    EXPECT_TRUE(list.isTicked(1));
    EXPECT_FALSE(list.isTicked(2));
    EXPECT_EQ(list.line(0).country(), "Qmland") << "equal keys keep their order";
    EXPECT_EQ(list.line(1).country(), "England");
    list.sort(1, Qt::AscendingOrder);
    EXPECT_EQ(list.line(0).country(), "Canary Islands");
    EXPECT_NE(monitor.notifyingCountry("M0ABC"), nullptr);
}
