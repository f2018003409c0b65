#include "StationListFixture.h"

#include "stations/StationListFile.h"

#include <QFile>

using Col = StationListModel::Column;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kTwoRows =
    "N0CALL|Wx|Yes|12|Received Direct|36.14.79N|095.49.68W|3|status text|06/12/2026 12:29:00|\r\n"
    "G1ABC|Fixed|No|4|N0GATE*,WIDE2-1 Port=1 |51.30.00N|000.07.50W|1||06/12/2026 12:30:00|\r\n";

} // namespace

TEST(StationListFileName, AutomaticNameUsesEnglishMonth)
{
    EXPECT_TRUE(StationListFile::automaticName(QDate(2026, 12, 6)).endsWith("/Saved Lists/06Dec2026.kel"));
}

TEST(StationListFileLine, LayoutsAndShortLines)
{
    StationListFile::Parsed parsed;
    ASSERT_TRUE(StationListFile::parseLine(QStringLiteral("A|Fixed|Yes|1|p|la|lo|2|s|t|"), &parsed));
    EXPECT_FALSE(parsed.olderLayout);
    EXPECT_EQ(parsed.cells[Col::Type], "Fixed");
    EXPECT_EQ(parsed.cells[Col::Time], "t");
    // Older layout: no Type; its fields fill from Direct on.
    ASSERT_TRUE(StationListFile::parseLine(QStringLiteral("A|Yes|1|p|la|lo|2|s|t|"), &parsed));
    EXPECT_TRUE(parsed.olderLayout);
    EXPECT_EQ(parsed.cells[Col::Type], "");
    EXPECT_EQ(parsed.cells[Col::Direct], "Yes");
    EXPECT_EQ(parsed.cells[Col::Time], "t");
    // Merging an older line fills only up to column 9 (its last field unused).
    const StationListModel::Cells merged = StationListFile::mergeCells(parsed);
    EXPECT_EQ(merged[Col::Status], "s");
    EXPECT_EQ(merged[Col::Time], "t");
    EXPECT_EQ(merged[Col::LogFile], "");
    EXPECT_FALSE(StationListFile::parseLine(QString(), &parsed));
    EXPECT_FALSE(StationListFile::parseLine(QStringLiteral("A|B|C|"), &parsed));
}

TEST_F(StationListTest, SaveAndLoadRoundTripWithLogFileEmpty)
{
    const QString source = dirs.data() + QStringLiteral("/in.kel");
    writeFile(source, kTwoRows);
    frmDocument &loaded = makeList();
    loaded.LoadStationList(source);
    ASSERT_EQ(loaded.model().count(), 2);
    loaded.model().setCell(0, Col::LogFile, QStringLiteral("/somewhere/log.txt"));

    const QString target = dirs.data() + QStringLiteral("/out.kel");
    prompts.fileAnswers.enqueue(target);
    loaded.SaveStationList();
    EXPECT_EQ(prompts.fileTitles, QStringList{"Save Station List As"});
    EXPECT_EQ(readFile(target), kTwoRows);

    frmDocument again;
    again.LoadStationList(target);
    ASSERT_EQ(again.model().count(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < Col::LogFile; ++c)
            EXPECT_EQ(again.model().cell(r, c), loaded.model().cell(r, c)) << r << "," << c;
    EXPECT_EQ(again.model().cell(0, Col::LogFile), "");
}

TEST_F(StationListTest, StatusBeyondLatin1IsSavedInUtf8AndLatin1RowsStayLatin1)
{
    const QString source = dirs.data() + QStringLiteral("/in.kel");
    const QString russian = QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442");
    writeFile(source, "\xEF\xBB\xBFN0CALL|Wx|Yes|12|Received Direct|36.14.79N|095.49.68W|3|Gr\xFC\xDF" "e|06/12/2026 12:29:00|\r"
                      "G1ABC|Fixed|No|4|p|51.30.00N|000.07.50W|1|" + russian.toUtf8() + "|06/12/2026 12:30:00|\r");
    frmDocument &loaded = makeList();
    loaded.LoadStationList(source);
    ASSERT_EQ(loaded.model().count(), 2);
    EXPECT_EQ(loaded.model().cell(0, Col::Station), "N0CALL");
    EXPECT_EQ(loaded.model().cell(0, Col::Status), QStringLiteral("Gr\u00FC\u00DFe"));
    EXPECT_EQ(loaded.model().cell(1, Col::Status), russian);

    const QString target = dirs.data() + QStringLiteral("/out.kel");
    prompts.fileAnswers.enqueue(target);
    loaded.SaveStationList();
    const QByteArray saved = readFile(target);
    EXPECT_TRUE(saved.contains("|Gr\xFC\xDF" "e|")) << saved.constData();
    EXPECT_TRUE(saved.contains("|" + russian.toUtf8() + "|")) << saved.constData();
}

TEST_F(StationListTest, SaveWithAutoSaveUsesTheDatedNameAndEmptyListSavesNothing)
{
    config().autoSave = true;
    frmDocument &doc = makeList();
    doc.SaveStationList();
    EXPECT_FALSE(QFile::exists(dirs.data() + QStringLiteral("/Saved Lists/06Dec2026.kel")));
    known(QStringLiteral("N0CALL"));
    hear(QStringLiteral("N0CALL"));
    doc.SaveStationList();
    EXPECT_TRUE(prompts.fileTitles.isEmpty());
    EXPECT_TRUE(readFile(dirs.data() + QStringLiteral("/Saved Lists/06Dec2026.kel")).startsWith("N0CALL|Fixed|No|"));
}

TEST_F(StationListTest, CancelledSaveDialogIsSilent)
{
    known(QStringLiteral("N0CALL"));
    makeList();
    hear(QStringLiteral("N0CALL"));
    list->SaveStationList();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(StationListTest, MergeSkipsKnownCallsignsAndTwiceAddsNothing)
{
    const QString source = dirs.data() + QStringLiteral("/in.kel");
    writeFile(source, kTwoRows + "G2OLD|Yes|7|Received Direct|51.00.00N|001.00.00W|5|old|06/12/2026 09:00:00|\r\n"
                                 "\r\nbroken|line\r\n");
    known(QStringLiteral("N0CALL"));
    makeList();
    hear(QStringLiteral("N0CALL"));
    list->MergeStationList(source);
    ASSERT_EQ(list->model().count(), 3);
    EXPECT_EQ(cell(0, Col::Hrd), "1");  // the existing row is left alone
    EXPECT_EQ(cell(2, Col::Station), "G2OLD");
    EXPECT_EQ(cell(2, Col::Type), "");
    EXPECT_EQ(cell(2, Col::Status), "old");
    EXPECT_EQ(list->windowTitle(), "Station List (3 Stations)");
    ASSERT_EQ(prompts.shown.size(), 1);  // the one broken line is counted
    EXPECT_TRUE(prompts.shown.first().text.startsWith("1 lines"));
    list->MergeStationList(source);
    EXPECT_EQ(list->model().count(), 3);
}

TEST_F(StationListTest, LoadedListWindowReadsTheNamedFileOnCreation)
{
    const QString source = dirs.data() + QStringLiteral("/in.kel");
    writeFile(source, kTwoRows + kTwoRows);
    shared().stationListFile = source;
    makeList();
    EXPECT_EQ(list->model().count(), 4);  // rows are not matched when loading
    EXPECT_TRUE(shared().stationListFile.isEmpty());
}

TEST(StationListFileLine, BarsAndLineEndsInsideACellCannotSplitTheRow)
{
    StationListModel::Cells cells;
    cells[Col::Station] = QStringLiteral("N0EVIL");
    cells[Col::Status] = QStringLiteral("hi|there|/home/user/.bashrc");
    cells[Col::Path] = QStringLiteral("a\r\nb\rc\nd");
    // Text that looks like an escape already must come back as it was.
    cells[Col::Time] = QStringLiteral("100%7C %25 %0a %% %|%");
    const QString line = StationListFile::lineOf(cells);
    EXPECT_EQ(line.count(u'|'), 10);
    EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n'));

    StationListFile::Parsed parsed;
    ASSERT_TRUE(StationListFile::parseLine(line, &parsed));
    EXPECT_FALSE(parsed.olderLayout);
    for (int c = 0; c < Col::LogFile; ++c)
        EXPECT_EQ(parsed.cells[size_t(c)], cells[size_t(c)]) << c;
}

TEST(StationListFileLine, HeightsFollowTheTimeAndOlderLinesReadAsBefore)
{
    const struct {
        const char *line;
        const char *status, *time, *height;
    } cases[] = {
        {"B|Fixed|No|4|p|la|lo|1|up high|2026-12-09 02:00:00|41216 ft|", "up high", "2026-12-09 02:00:00", "41216 ft"},
        {"B|Fixed|No|4|p|la|lo|1|up high|2026-12-09 02:00:00|-12 m|", "up high", "2026-12-09 02:00:00", "-12 m"},
        {"B|Fixed|No|4|p|la|lo|1|a|b|2026-12-09 02:00:00|18304 m|", "a|b", "2026-12-09 02:00:00", "18304 m"},
        // Before heights: the time is last, whatever the status holds.
        {"B|Fixed|No|4|p|la|lo|1|up high|2026-12-09 02:00:00|", "up high", "2026-12-09 02:00:00", ""},
        {"B|Fixed|No|4|p|la|lo|1|a|12 ft|2026-12-09 02:00:00|", "a|12 ft", "2026-12-09 02:00:00", ""},
        {"B|Fixed|No|4|p|la|lo|1|a|2026-12-09 02:00:00|12 feet|", "a|2026-12-09 02:00:00", "12 feet", ""},
    };
    for (const auto &c : cases) {
        StationListFile::Parsed parsed;
        ASSERT_TRUE(StationListFile::parseLine(QString::fromLatin1(c.line), &parsed)) << c.line;
        EXPECT_EQ(parsed.cells[Col::Status], c.status) << c.line;
        EXPECT_EQ(parsed.cells[Col::Time], c.time) << c.line;
        EXPECT_EQ(parsed.cells[Col::Height], c.height) << c.line;
        // Written again, the line is the same (a bar in a status comes back escaped).
        if (!QByteArray(c.status).contains('|')) {
            EXPECT_EQ(StationListFile::lineOf(parsed.cells), QString::fromLatin1(c.line)) << c.line;
        }
    }
}

TEST(StationListFileLine, ExtraBarsOfAnUnescapedStatusStayInTheStatusAndNeverFillTheLogFile)
{
    // Written by a program that did not escape "|": the status holds two bars.
    StationListFile::Parsed parsed;
    ASSERT_TRUE(StationListFile::parseLine(
        QStringLiteral("N0EVIL|Fixed|Yes|3|Received Direct|51.30.00N|000.07.50W|2|hi|there|/home/user/.bashrc|"
                       "2026-12-06 12:29:00|"),
        &parsed));
    EXPECT_EQ(parsed.cells[Col::Status], "hi|there|/home/user/.bashrc");
    EXPECT_EQ(parsed.cells[Col::Time], "2026-12-06 12:29:00");
    EXPECT_EQ(parsed.cells[Col::LogFile], "");
    EXPECT_EQ(StationListFile::mergeCells(parsed)[Col::LogFile], "");
    // A line without its closing bar keeps its last field as the time.
    ASSERT_TRUE(StationListFile::parseLine(QStringLiteral("A|Fixed|Yes|1|p|la|lo|2|s|t|/tmp/x"), &parsed));
    EXPECT_EQ(parsed.cells[Col::Status], "s|t");
    EXPECT_EQ(parsed.cells[Col::Time], "/tmp/x");
    EXPECT_EQ(parsed.cells[Col::LogFile], "");
}

TEST_F(StationListTest, ARowFromAFileNeverLogsAndLoadsBackAsSaved)
{
    // The status came over the air; an unescaped save shifted it into the log column.
    const QString victim = dirs.data() + QStringLiteral("/victim.txt");
    const QString source = dirs.data() + QStringLiteral("/in.kel");
    writeFile(source, ("N0EVIL|Fixed|Yes|3|Received Direct|51.30.00N|000.07.50W|2|hi|there|" + victim.toLatin1()
                       + "|2026-12-06 12:29:00|\r\n"));
    makeList();
    list->LoadStationList(source);
    list->MergeStationList(source);
    ASSERT_EQ(list->model().count(), 1);
    EXPECT_EQ(cell(0, Col::Status), "hi|there|" + victim);
    EXPECT_EQ(cell(0, Col::LogFile), "");
    EXPECT_FALSE(list->model().row(0).checked);
    known(QStringLiteral("N0EVIL"));
    hear(QStringLiteral("N0EVIL"));
    EXPECT_FALSE(QFile::exists(victim));

    // Saved again, the row loads back as the same row.
    const QString target = dirs.data() + QStringLiteral("/out.kel");
    prompts.fileAnswers.enqueue(target);
    list->SaveStationList();
    frmDocument again;
    again.LoadStationList(target);
    ASSERT_EQ(again.model().count(), 1);
    for (int c = 0; c < Col::LogFile; ++c)
        EXPECT_EQ(again.model().cell(0, c), cell(0, c)) << c;
}

// A file's rows go in at once; into a sorted list they land where one by
// one they would have (after equal rows already there, in the file's order),
// and a merge takes a callsign the file repeats only once.
TEST_F(StationListTest, MergedRowsGoInAtOnceInTheirSortedPlaceAndOnlyOnce)
{
    const QString source = dirs.data() + QStringLiteral("/in.kel");
    writeFile(source, "B2|Fixed|No|5|p|la|lo|1|first|t|\r\n"
                      "A1|Fixed|No|9|p|la|lo|1||t|\r\n"
                      "B2|Fixed|No|1|p|la|lo|1|again|t|\r\n"
                      "C3|Fixed|No|5|p|la|lo|1||t|\r\n");
    makeList();
    StationListModel &model = list->model();
    model.appendRow({QStringLiteral("Z9"), {}, {}, QStringLiteral("5")});
    model.sortByColumn(Col::Dist, Qt::AscendingOrder);
    int inserts = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    list->MergeStationList(source);
    EXPECT_EQ(inserts, 1);
    QStringList order;
    for (int r = 0; r < model.count(); ++r)
        order << model.cell(r, Col::Station) + u':' + model.cell(r, Col::Status);
    EXPECT_EQ(order, QStringList({"Z9:", "B2:first", "C3:", "A1:"}));
    EXPECT_EQ(list->windowTitle(), "Station List (4 Stations)");
}

// A "Dist" or "Hrd" cell from a file may hold "nan", which reads as a number
// that compares with none: it sorts first with the other unreadable cells,
// and a list sorted as rows arrive stands as one sorted afterwards.
TEST_F(StationListTest, NumberCellsThatAreNoNumberSortFirstAndInOneOrder)
{
    const QStringList dists{"5", "nan", "3", "NaN", "1", "x", "4"};
    StationListModel arriving, sortedAfter;
    arriving.sortByColumn(Col::Dist, Qt::AscendingOrder);
    for (qsizetype i = 0; i < dists.size(); ++i) {
        const StationListModel::Cells cells{QStringLiteral("C%1").arg(i), {}, {}, dists[i]};
        arriving.appendRow(cells);
        sortedAfter.appendRow(cells);
    }
    sortedAfter.sortByColumn(Col::Dist, Qt::AscendingOrder);
    QStringList order, after;
    for (int r = 0; r < arriving.count(); ++r) {
        order << arriving.cell(r, Col::Dist);
        after << sortedAfter.cell(r, Col::Dist);
    }
    EXPECT_EQ(order, QStringList({"nan", "NaN", "x", "1", "3", "4", "5"}));
    EXPECT_EQ(after, order);
}
