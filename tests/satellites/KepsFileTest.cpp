// The element file reader: list-input items, sets brought back in step,
// check digits, capacity, the messages and the date label.
#include "orbiter/ElementLine.h"
#include "satellites/KepsFile.h"

#include "ScriptedPorts.h"
#include "TempDirs.h"
#include "TestOrbits.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray setText(const char *name, const testorbits::Elements &e)
{
    const auto [l1, l2] = testorbits::lines(e);
    return QByteArray(name) + "\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n";
}

testorbits::Elements numbered(int catalogue)
{
    testorbits::Elements e = testorbits::kStation;
    e.catalogue = catalogue;
    return e;
}

QByteArray linesOf(const testorbits::Elements &e)
{
    const auto [l1, l2] = testorbits::lines(e);
    return QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n";
}

QStringList namesOf(const KepsReadResult &read)
{
    QStringList names;
    for (const KepsElementSet &set : read.sets)
        names << set.name;
    return names;
}

QStringList rejectedOf(const KepsReadResult &read)
{
    QStringList names;
    for (const RejectedElementSet &set : read.rejected)
        names << set.name + u':' + QString::number(int(set.reason));
    return names;
}

class LoadKepsTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &content)
    {
        QDir().mkpath(dirs.data() + "/Keps");
        const QString path = dirs.data() + "/Keps/Keps.txt";
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    TempDirs dirs;
    ScriptedPrompts prompts;
};

} // namespace

TEST(KepsReader, OneSetLoadsAndBlankLinesBetweenSetsAreSkipped)
{
    const KepsReadResult one = readKeps(setText("ISS", testorbits::kStation));
    ASSERT_EQ(one.sets.size(), 1);
    EXPECT_EQ(one.sets[0].name, "ISS");
    EXPECT_TRUE(one.sets[0].line1.startsWith("1 25544U"));
    EXPECT_TRUE(one.sets[0].line2.startsWith("2 25544 "));

    const QByteArray spaced = "\r\n\r\n" + setText("ISS", testorbits::kStation) + "\n   \n\n"
                              + setText("NOAA 19", testorbits::kWeather) + "\r\n";
    const KepsReadResult two = readKeps(spaced);
    ASSERT_EQ(two.sets.size(), 2);
    EXPECT_EQ(two.sets[1].name, "NOAA 19");
}

TEST(KepsReader, StrayLinesAndSplitNamesAreBroughtBackInStep)
{
    // A heading before the first set, and a name a comma splits in two.
    const QByteArray text = "Current amateur elements\n" + setText("ISS", testorbits::kStation)
                            + setText("OSCAR 7, AO-07", testorbits::kWeather)
                            + setText("MOLNIYA 1-93", testorbits::kMolniya);
    const KepsReadResult read = readKeps(text);
    ASSERT_EQ(read.sets.size(), 3);
    EXPECT_EQ(read.sets[0].name, "ISS");
    EXPECT_EQ(read.sets[1].name, "AO-07") << "the part after the comma is the last item before line 1";
    EXPECT_EQ(read.sets[2].name, "MOLNIYA 1-93");
    EXPECT_TRUE(read.sets[2].line2.startsWith("2 99001"));
}

TEST(KepsReader, QuotedItemsLeadingBlanksAndLineEnds)
{
    const auto [l1, l2] = testorbits::lines(testorbits::kGeostationary);
    const QByteArray text = "  \"QO-100, the geostationary one\"  \r" + QByteArray::fromStdString(l1) + "\r"
                            + "\t" + QByteArray::fromStdString(l2);
    const KepsReadResult read = readKeps(text);
    ASSERT_EQ(read.sets.size(), 1);
    EXPECT_EQ(read.sets[0].name, "QO-100, the geostationary one");
    EXPECT_EQ(read.sets[0].line2.toStdString(), l2);
}

TEST(KepsReader, ASetWhoseLinesFailTheirCheckDigitIsLeftOutAndNamed)
{
    QByteArray bad = setText("DAMAGED", testorbits::kWeather);
    bad.replace("99.1900", "98.1900");  // one digit changed on its way
    const KepsReadResult read = readKeps(setText("ISS", testorbits::kStation) + bad
                                         + setText("QO-100", testorbits::kGeostationary));
    ASSERT_EQ(read.sets.size(), 2);
    EXPECT_EQ(read.sets[1].name, "QO-100");
    EXPECT_EQ(rejectedOf(read), QStringList{QStringLiteral("DAMAGED:%1").arg(int(RejectedElementSet::Reason::CheckDigit))});

    // A line cut short has no check digit at all.
    const auto [l1, l2] = testorbits::lines(testorbits::kStation);
    const KepsReadResult cut = readKeps("CUT\n" + QByteArray::fromStdString(l1).left(60) + "\n"
                                        + QByteArray::fromStdString(l2) + "\n");
    EXPECT_TRUE(cut.sets.isEmpty());
    EXPECT_EQ(cut.rejected.size(), 1);
}

TEST(KepsReader, TwoLineSetsAreNamedByTheirCatalogueNumberAndMixWithNamedOnes)
{
    using Reason = RejectedElementSet::Reason;
    const auto [l1, l2] = testorbits::lines(testorbits::kWeather);
    const QByteArray line1 = QByteArray::fromStdString(l1);
    const QByteArray line2 = QByteArray::fromStdString(l2);
    const struct
    {
        const char *what;
        QByteArray text;
        QStringList sets;
        QStringList rejected;
    } cases[] = {
        {"two-line file", linesOf(testorbits::kStation) + linesOf(testorbits::kWeather) + linesOf(testorbits::kMolniya),
         {"25544", "33591", "99001"}, {}},
        {"named and unnamed mixed",
         linesOf(testorbits::kStation) + "NOAA 19\n" + linesOf(testorbits::kWeather) + linesOf(testorbits::kMolniya),
         {"25544", "NOAA 19", "99001"}, {}},
        {"the catalogue-prefixed name form", "0 ISS (ZARYA)\n" + linesOf(testorbits::kStation), {"ISS (ZARYA)"}, {}},
        {"line 2 missing before the next set", "ISS\n" + linesOf(testorbits::kStation).left(71) + setText("NOAA 19", testorbits::kWeather),
         {"NOAA 19"}, {QStringLiteral("ISS:%1").arg(int(Reason::MissingLine2))}},
        {"line 2 missing in a two-line file", line1 + "\n" + linesOf(testorbits::kStation), {"25544"},
         {QStringLiteral("33591:%1").arg(int(Reason::MissingLine2))}},
        {"line 2 missing at the end", setText("ISS", testorbits::kStation) + "NOAA 19\r\n" + line1 + "\r\n", {"ISS"},
         {QStringLiteral("NOAA 19:%1").arg(int(Reason::MissingLine2))}},
        {"line 1 missing", "NOAA 19\n" + line2 + "\n" + setText("ISS", testorbits::kStation), {"ISS"},
         {QStringLiteral("NOAA 19:%1").arg(int(Reason::MissingLine1))}},
        {"lines of two satellites", "MIXED\n" + line1 + "\n" + QByteArray::fromStdString(testorbits::lines(testorbits::kStation).second),
         {}, {QStringLiteral("MIXED:%1").arg(int(Reason::MissingLine2)), QStringLiteral("25544:%1").arg(int(Reason::MissingLine1))}},
    };
    for (const auto &c : cases) {
        const KepsReadResult read = readKeps(c.text);
        EXPECT_EQ(namesOf(read), c.sets) << c.what;
        EXPECT_EQ(rejectedOf(read), c.rejected) << c.what;
    }
}

TEST(KepsReader, NamesAreUtf8WhenValidLatin1OtherwiseAndAByteOrderMarkIsDropped)
{
    const QByteArray lines = linesOf(testorbits::kStation);
    const struct
    {
        QByteArray name;
        QString expected;
    } cases[] = {
        {"\xEF\xBB\xBFISS", "ISS"},
        {"\xEF\xBB\xBF\xD0\xA1\xD0\xBF\xD1\x83\xD1\x82\xD0\xBD\xD0\xB8\xD0\xBA", QString::fromUtf8("Спутник")},
        {"Sp\xC3\xBCtnik", QString::fromUtf8("Spütnik")},
        {"Sp\xFCtnik", QString::fromUtf8("Spütnik")},
        {"\xE9toile \xC3", QString::fromUtf8("étoile Ã")},
    };
    for (const auto &c : cases) {
        const KepsReadResult read = readKeps(c.name + "\r\n" + lines);
        ASSERT_EQ(read.sets.size(), 1) << c.name.toStdString();
        EXPECT_EQ(read.sets[0].name, c.expected) << c.name.toStdString();
    }
    // One line's encoding says nothing about the next one's.
    const KepsReadResult mixed = readKeps("Sp\xC3\xBCtnik\r\n" + lines + "Sp\xFCtnik\r\n" + linesOf(testorbits::kWeather));
    EXPECT_EQ(namesOf(mixed), QStringList({QString::fromUtf8("Spütnik"), QString::fromUtf8("Spütnik")}));

    // A file saved as UTF-16 by an editor reads the same.
    const QString text = QString::fromUtf8("Спутник\r\n") + QString::fromLatin1(lines);
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    EXPECT_EQ(namesOf(readKeps(utf16)), QStringList{QString::fromUtf8("Спутник")});
}

TEST(KepsReader, KeepsTheFirst101SetsAndCountsTheRest)
{
    QByteArray text;
    for (int i = 0; i < 105; ++i)
        text += setText(QByteArray("SAT ") + QByteArray::number(i), numbered(10000 + i));
    const KepsReadResult read = readKeps(text);
    EXPECT_EQ(read.sets.size(), ElementTable::Capacity);
    EXPECT_EQ(read.sets.last().name, "SAT 100");
    EXPECT_EQ(read.beyondCapacity, 4);
}

TEST_F(LoadKepsTest, ReplacesTheTableAndSaysNothingForAGoodFile)
{
    LoadKeps(write(setText("ISS", testorbits::kStation) + setText("NOAA 19", testorbits::kWeather)));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(keps().lastIndex(), 1);
    EXPECT_EQ(keps().fileName, "Keps.txt");

    LoadKeps(write(setText("QO-100", testorbits::kGeostationary)));
    ASSERT_EQ(keps().lastIndex(), 0);
    EXPECT_EQ(keps().sets[0].name, "QO-100");
}

TEST_F(LoadKepsTest, AFileWithoutElementSetsOrNoFileAtAllGivesTheWarning)
{
    LoadKeps(write("nothing useful here\r\njust words\r\n"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Keplairan Element Load Error");
    EXPECT_EQ(prompts.shown[0].text, "The file (Keps.txt) you have selected does not appear to contain any "
                                     "Keplarian elements. Please select another file.");
    EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(keps().lastIndex(), -1);

    prompts.shown.clear();
    LoadKeps(dirs.data() + "/Keps/Missing.txt");
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith("The file (Missing.txt)"));
}

TEST_F(LoadKepsTest, FailedCheckDigitsAreReportedOnceForAllSets)
{
    QByteArray text = setText("ISS", testorbits::kStation);
    for (const char *name : {"BAD ONE", "BAD TWO"}) {
        QByteArray bad = setText(name, testorbits::kWeather);
        bad.replace("14.12500000", "14.22500000");
        text += bad;
    }
    LoadKeps(write(text));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].title, "Keplairan Element Load Error");
    EXPECT_TRUE(prompts.shown[0].text.contains("BAD ONE: its lines fail their check digit\n"
                                               "BAD TWO: its lines fail their check digit"))
        << prompts.shown[0].text.toStdString();
    EXPECT_EQ(keps().lastIndex(), 0);
}

TEST_F(LoadKepsTest, ALongListOfRejectedSetsNamesTenAndCountsTheRest)
{
    QByteArray text = setText("ISS", testorbits::kStation);
    for (int i = 0; i < 500; ++i) {
        QByteArray bad = setText(QByteArray("BAD ") + QByteArray::number(i), numbered(20000 + i));
        bad.replace("15.50377579", "15.60377579");
        text += bad;
    }
    text += "CUT\r\n" + QByteArray::fromStdString(testorbits::lines(testorbits::kWeather).first) + "\r\n";
    LoadKeps(write(text));
    ASSERT_EQ(prompts.shown.size(), 1);
    const QString shown = prompts.shown[0].text;
    EXPECT_TRUE(shown.contains("BAD 9: its lines fail their check digit\nand 491 more")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("BAD 10:"));
    EXPECT_LE(shown.count(u'\n'), 20) << "the message fits on a screen";
    EXPECT_EQ(keps().lastIndex(), 0);
}

TEST(KepsDated, EpochOfLineOneAsDayMonthYear)
{
    const auto [l1, l2] = testorbits::lines(testorbits::kStation);  // 26160.5: 9 June 2026
    EXPECT_EQ(kepsDated(QString::fromStdString(l1)), "09/06/2026");
    EXPECT_EQ(kepsDated("1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753"), "27/06/2000");
    EXPECT_EQ(kepsDated("1 11801U          80230.29629788  .01431103  00000-0  14311-1      13"), "17/08/1980");
    EXPECT_EQ(kepsDated("1 short"), "");
    EXPECT_EQ(kepsDated("1 25544U 98067A   inf           "), "");
}

// The set loads (its check digits are good) and the Setup window's date label
// must not overflow on it.
TEST_F(LoadKepsTest, AnEpochPastTwoDigitsOfYearLoadsWithNoDate)
{
    auto [l1, l2] = testorbits::lines(testorbits::kStation);
    l1 = l1.substr(0, 18) + "11111111111111" + l1.substr(32, 36);
    l1 += char('0' + ElementLine::checkDigit(l1));
    LoadKeps(write("HUGE EPOCH\r\n" + QByteArray::fromStdString(l1) + "\r\n" + QByteArray::fromStdString(l2) + "\r\n"));
    ASSERT_EQ(keps().sets.size(), 1);
    EXPECT_EQ(kepsDated(keps().sets.first().line1), "");
}
