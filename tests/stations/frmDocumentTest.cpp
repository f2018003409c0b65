#include "StationListFixture.h"

#include "stations/MapPlotting.h"
#include "stations/StationListModel.h"

#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>

#include <ctime>

using Col = StationListModel::Column;

TEST_F(StationListTest, ColumnsInOrderWithTheirHeaders)
{
    frmDocument &doc = makeList();
    QStringList headers;
    for (int c = 0; c < doc.model().columnCount(); ++c)
        headers << doc.model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, (QStringList{"Station", "Type", "Direct", "Dist", "Path", "Lattitude", "Longitude",
                                    "Hrd", "Status", "Time", "Log File", "Height"}));
    EXPECT_TRUE(doc.findChild<QTableView *>(QStringLiteral("lstView")));
    EXPECT_TRUE(doc.model().hasIcon(QStringLiteral("??")));
}

TEST_F(StationListTest, NewKnownStationFillsEveryCellAndCountsOne)
{
    HostStationRecord &r = known(QStringLiteral("N0CALL"), 2174.79f, -5749.68f);
    r.status = QStringLiteral("on the air");
    makeList();
    hear(QStringLiteral("N0CALL"));
    ASSERT_EQ(list->model().count(), 1);
    EXPECT_EQ(cell(0, Col::Station), "N0CALL");
    EXPECT_EQ(cell(0, Col::Type), "Fixed");
    EXPECT_EQ(cell(0, Col::Direct), "No");
    EXPECT_EQ(cell(0, Col::Path), "N0GATE*,WIDE2-1 Port=1 ");
    EXPECT_EQ(cell(0, Col::Lattitude), "36.14.79N");
    EXPECT_EQ(cell(0, Col::Longitude), "095.49.68W");
    EXPECT_EQ(cell(0, Col::Hrd), "1");
    EXPECT_EQ(cell(0, Col::Status), "on the air");
    EXPECT_EQ(cell(0, Col::Time), "2026-12-06 12:29:00");
    EXPECT_EQ(cell(0, Col::LogFile), "");
    EXPECT_EQ(list->windowTitle(), "Station List (1 Stations)");
    hear(QStringLiteral("N0CALL"));
    EXPECT_EQ(list->model().count(), 1);
    EXPECT_EQ(cell(0, Col::Hrd), "2");
}

TEST_F(StationListTest, DistanceAsksTheHostInDegreesWithTheUnitOfTheMilesOption)
{
    known(QStringLiteral("N0CALL"), 3090.0f, -10.0f);
    makeList();
    config().miles = true;
    hear(QStringLiteral("N0CALL"));
    EXPECT_TRUE(host.calls.contains("distance(51.4,-0.125,51.5,-0.166667,mi)")) << host.calls.join('\n').toStdString();
    config().miles = false;
    hear(QStringLiteral("N0CALL"));
    EXPECT_TRUE(host.calls.contains("distance(51.4,-0.125,51.5,-0.166667,km)"));
}

TEST_F(StationListTest, ANewDistanceUnitSetsEveryDistanceHeardAgainAndTheHeadingSaysWhich)
{
    known(QStringLiteral("N0CALL"), 3204.0f, -10.0f);  // two degrees north: 138 miles, 222 km to the fake host
    makeList();
    hear(QStringLiteral("N0CALL"));
    StationListModel::Cells saved;
    saved[Col::Station] = QStringLiteral("G9OLD");
    saved[Col::Dist] = QStringLiteral("12");  // from a file: the unit it was saved in is not known
    const_cast<StationListModel &>(list->model()).appendRow(saved);
    auto tip = [this] { return list->model().headerData(Col::Dist, Qt::Horizontal, Qt::ToolTipRole).toString(); };
    EXPECT_EQ(list->model().headerData(Col::Dist, Qt::Horizontal, Qt::DisplayRole).toString(), "Dist");
    EXPECT_TRUE(tip().endsWith("in miles")) << tip().toStdString();
    EXPECT_EQ(cell(0, Col::Dist), "138");

    const struct
    {
        bool miles;
        const char *distance;
        const char *unit;
    } steps[] = {{false, "222", "kilometres"}, {true, "138", "miles"}, {false, "222", "kilometres"}};
    for (const auto &step : steps) {
        config().miles = step.miles;
        list->unitsChanged();
        EXPECT_EQ(cell(0, Col::Dist), step.distance) << "no drift from switching to and fro";
        EXPECT_EQ(cell(1, Col::Dist), "12");
        EXPECT_TRUE(tip().endsWith(QLatin1String("in ") + step.unit)) << tip().toStdString();
    }
    hear(QStringLiteral("N0CALL"));
    EXPECT_EQ(cell(0, Col::Dist), "222") << "heard again, in the new unit";
}

TEST_F(StationListTest, HeightsOfAnySizeInTheOptionsUnitAndEmptyWhenNotSent)
{
    known(QStringLiteral("BALLOON")).height = 41216;  // feet, past 16 bits
    known(QStringLiteral("HOME"));
    makeList();
    hear(QStringLiteral("BALLOON"));
    hear(QStringLiteral("HOME"));
    EXPECT_EQ(cell(0, Col::Height), "41216 ft");
    EXPECT_EQ(cell(1, Col::Height), "");
    config().miles = false;
    list->unitsChanged();
    EXPECT_EQ(cell(0, Col::Height), "12563 m");
    EXPECT_EQ(cell(1, Col::Height), "");
}

TEST_F(StationListTest, UnknownStationLeavesPositionCellsEmpty)
{
    makeList();
    HostStationRecord record;
    record.callsign = QStringLiteral("N0WHO");
    record.status = QStringLiteral("hello");
    list->RxData(record, false);
    EXPECT_EQ(cell(0, Col::Station), "N0WHO");
    EXPECT_EQ(cell(0, Col::Direct), "No");
    EXPECT_EQ(cell(0, Col::Hrd), "1");
    EXPECT_EQ(cell(0, Col::Status), "hello");
    EXPECT_EQ(cell(0, Col::Time), "2026-12-06 12:29:00");  // no host time: the present, in the form of the others
    for (int c : {Col::Type, Col::Dist, Col::Path, Col::Lattitude, Col::Longitude})
        EXPECT_EQ(cell(0, c), "") << c;
}

TEST_F(StationListTest, TypeRulesLastThatAppliesWins)
{
    HostStationRecord &wx = known(QStringLiteral("WX1"));
    wx.symbolCode = QStringLiteral("_");
    wx.course = 90;
    known(QStringLiteral("MOB1")).course = 0;
    known(QStringLiteral("FIX1"));
    HostStationRecord &direct = known(QStringLiteral("DIR1"));
    direct.heardDirect = true;
    direct.timeHeard.clear();
    direct.timeHeardSecond = QStringLiteral("second time");
    makeList();
    for (const char *call : {"WX1", "MOB1", "FIX1", "DIR1"})
        hear(QString::fromLatin1(call));
    EXPECT_EQ(cell(0, Col::Type), "Wx");
    EXPECT_EQ(cell(1, Col::Type), "Mobile");
    EXPECT_EQ(cell(2, Col::Type), "Fixed");
    EXPECT_EQ(cell(3, Col::Direct), "Yes");
    EXPECT_EQ(cell(3, Col::Path), "Received Direct");
    EXPECT_EQ(cell(3, Col::Time), "second time");
}

TEST_F(StationListTest, IconsAreFetchedOncePerSymbolAndUnknownShowsQuestionMark)
{
    config().aprsIcons = true;
    known(QStringLiteral("A1"));
    known(QStringLiteral("A2"));
    makeList();
    hear(QStringLiteral("A1"));
    hear(QStringLiteral("A2"));
    hear(QStringLiteral("A1"));
    EXPECT_EQ(host.calls.filter(QStringLiteral("symbolPicture")).size(), 1);
    EXPECT_EQ(list->model().row(0).iconKey, "-/");
    EXPECT_EQ(list->model().row(1).iconKey, "-/");
    HostStationRecord unknown;
    unknown.callsign = QStringLiteral("Z9");
    list->RxData(unknown, false);
    EXPECT_EQ(list->model().row(2).iconKey, "??");
}

TEST_F(StationListTest, HeaderClicksSortAsTextAndToggleOrder)
{
    for (const char *call : {"B2", "a1", "C3"})
        known(QString::fromLatin1(call));
    makeList();
    for (const char *call : {"B2", "a1", "C3"})
        hear(QString::fromLatin1(call));
    QHeaderView *header = list->view()->horizontalHeader();
    auto order = [this] {
        QStringList calls;
        for (int r = 0; r < list->model().count(); ++r)
            calls << cell(r, Col::Station);
        return calls;
    };
    emit header->sectionClicked(Col::Station);
    EXPECT_EQ(order(), (QStringList{"a1", "B2", "C3"}));
    emit header->sectionClicked(Col::Station);
    EXPECT_EQ(order(), (QStringList{"C3", "B2", "a1"}));
    // The index follows the rows: the next frame still finds its row.
    hear(QStringLiteral("a1"));
    EXPECT_EQ(list->model().count(), 3);
    EXPECT_EQ(cell(2, Col::Hrd), "2");
    // Sorting stays on: a new station goes to its place, and is found there.
    known(QStringLiteral("B9"));
    hear(QStringLiteral("B9"));
    EXPECT_EQ(order(), (QStringList{"C3", "B9", "B2", "a1"}));
    hear(QStringLiteral("B9"));
    EXPECT_EQ(cell(1, Col::Hrd), "2");
    hear(QStringLiteral("a1"));
    EXPECT_EQ(cell(3, Col::Hrd), "3");
}

TEST_F(StationListTest, ASortedListStaysSortedAsRowsChangeAndEveryRowIsStillFound)
{
    const QStringList calls{"A1", "B2", "C3", "D4", "E5"};
    for (const QString &call : calls)
        known(call);
    makeList();
    for (const QString &call : calls)
        hear(call);
    QHeaderView *header = list->view()->horizontalHeader();
    emit header->sectionClicked(Col::Hrd);
    emit header->sectionClicked(Col::Hrd);  // most heard first
    auto order = [this] {
        QStringList rows;
        for (int r = 0; r < list->model().count(); ++r)
            rows << cell(r, Col::Station) + u'=' + cell(r, Col::Hrd);
        return rows;
    };
    hear(QStringLiteral("D4"));
    hear(QStringLiteral("B2"));
    hear(QStringLiteral("D4"));
    EXPECT_EQ(order(), (QStringList{"D4=3", "B2=2", "A1=1", "C3=1", "E5=1"}));
    for (const QString &call : calls)
        EXPECT_EQ(cell(list->model().find(call), Col::Station), call);
    // A station that moves away changes place when sorted by distance.
    emit header->sectionClicked(Col::Dist);  // ascending
    known(QStringLiteral("C3"), 4000.0f, 200.0f);
    hear(QStringLiteral("C3"));
    EXPECT_EQ(cell(list->model().count() - 1, Col::Station), "C3");
    EXPECT_EQ(list->model().find(QStringLiteral("C3")), list->model().count() - 1);
}

// A busy feed brings new stations all the time; a list the user sorted must
// take them at about the cost of an unsorted one, not at a cost that grows
// with every row already listed. Compared by processor time, not by the clock.
TEST_F(StationListTest, ASortedListTakesNewStationsAtAboutTheCostOfAnUnsortedOne)
{
    constexpr int kListed = 20000;
    constexpr int kNew = 1000;
    for (int i = 0; i < kListed + kNew; ++i)
        known(QStringLiteral("N%1").arg(i * 7919 % (kListed + kNew), 6, 10, QLatin1Char('0')));
    auto newStationsCost = [this](bool sorted) {
        makeList().show();
        for (int i = 0; i < kListed; ++i)
            hear(QStringLiteral("N%1").arg(i * 7919 % (kListed + kNew), 6, 10, QLatin1Char('0')));
        if (sorted)
            emit list->view()->horizontalHeader()->sectionClicked(Col::Station);
        timespec start{}, end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        for (int i = kListed; i < kListed + kNew; ++i)
            hear(QStringLiteral("N%1").arg(i * 7919 % (kListed + kNew), 6, 10, QLatin1Char('0')));
        QCoreApplication::processEvents();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
    };
    const double unsorted = newStationsCost(false);
    const double sorted = newStationsCost(true);
    EXPECT_LT(sorted, unsorted * 10) << "sorted " << sorted << " s, unsorted " << unsorted << " s";

    // And the sorted list is right: in order, every station found where it is.
    ASSERT_EQ(list->model().count(), kListed + kNew);
    for (int r = 1; r < list->model().count(); ++r)
        ASSERT_LT(cell(r - 1, Col::Station), cell(r, Col::Station)) << "row " << r;
    for (int r = 0; r < list->model().count(); r += 97)
        ASSERT_EQ(list->model().find(cell(r, Col::Station)), r);
}

TEST_F(StationListTest, HomeStationStatusWithDxDrawsTheDxLine)
{
    // PlotDX draws only while the main toolbar's tool is pressed; without a
    // main window the line is not drawn but the target is remembered.
    HostStationRecord &home = known(QStringLiteral("G0HOME"));
    home.status = QStringLiteral("DX: VK2KIB worked on 20m");
    known(QStringLiteral("VK2KIB"), -2028.0f, 9072.0f);
    makeList();
    hear(QStringLiteral("G0HOME"));
    EXPECT_EQ(dxTarget().callsign, "VK2KIB");
    EXPECT_DOUBLE_EQ(dxTarget().latitude, -2028.0);
    dxTarget() = DxTarget{};
}

TEST_F(StationListTest, PhgCirclesFollowEveryRowUpdateWhenOn)
{
    known(QStringLiteral("N0PHG")).information = QStringLiteral("!5130.00N/00007.50W#PHG5130");
    makeList();
    hear(QStringLiteral("N0PHG"));
    EXPECT_TRUE(host.fakeMap.calls.isEmpty());
    config().plotPhg = true;
    hear(QStringLiteral("N0PHG"));
    EXPECT_EQ(host.fakeMap.calls.size(), 3);
    EXPECT_EQ(host.fakeMap.calls.value(0), "pen(2)");
}
