#include "StationListFixture.h"

#include "stations/MapPlotting.h"

#include <QStringList>
#include <QTest>

namespace {
const QString kBlue = QString::number(MapColour::Blue);
const QString kGreen = QString::number(MapColour::Green);
} // namespace

TEST(PhgRng, RadiiAndRejects)
{
    const PhgRngCircle phg = phgRngCircle(QStringLiteral("!5130.00N/00007.50W#PHG5130/text"));
    EXPECT_EQ(phg.kind, PhgRngCircle::Phg);
    EXPECT_NEAR(phg.radiusKm, 12.79, 0.01);
    const PhgRngCircle rng = phgRngCircle(QStringLiteral("RNG0050"));
    EXPECT_EQ(rng.kind, PhgRngCircle::Rng);
    EXPECT_DOUBLE_EQ(rng.radiusKm, 80.4672);
    EXPECT_EQ(phgRngCircle(QStringLiteral("PHG51x0 RNG0050")).kind, PhgRngCircle::None);
    EXPECT_EQ(phgRngCircle(QStringLiteral("PHG51")).kind, PhgRngCircle::None);
    EXPECT_EQ(phgRngCircle(QString()).kind, PhgRngCircle::None);
}

TEST(PhgRng, CompressedRangeIsARangeCircle)
{
    // "{?": 2 x 1.08^30 = 20.125 miles.
    const double km = 2 * std::pow(1.08, 30) * 1.609344;
    const struct {
        const char *information;
        bool circle;
    } cases[] = {
        {"!/5L!!<*e7>{?!", true},
        {"=/5L!!<*e7>{?!comment", true},
        {"@092345z/5L!!<*e7>{?!", true},
        {"!/5L!!<*e7>7P[", false},        // course and speed
        {"!4903.50N/07201.75W>{?!", false},  // a plain position has no such bytes
        {"!/5L!!<*e7>{", false},
    };
    for (const auto &c : cases) {
        const PhgRngCircle circle = phgRngCircle(QString::fromLatin1(c.information));
        EXPECT_EQ(circle.kind, c.circle ? PhgRngCircle::Rng : PhgRngCircle::None) << c.information;
        if (c.circle) {
            EXPECT_NEAR(circle.radiusKm, km, 1e-9) << c.information;
        }
    }
}

TEST(PhgRng, CircleCallValues)
{
    FakeHostMap map;
    HostStationRecord station;
    station.longitude = -7.5f;
    station.latitude = 3090.0f;
    station.information = QStringLiteral("PHG5130");
    PlotPHGRNG(map, station);
    station.information = QStringLiteral("RNG0050");
    PlotPHGRNG(map, station);
    EXPECT_EQ(map.calls, (QStringList{"pen(2)", "mode(13)", "circle(-7.5,3090,12.7911," + kBlue + ",1,6.28,1)",
                                      "pen(2)", "mode(13)", "circle(-7.5,3090,80.4672," + kGreen + ",0,6.2831840515,1)"}));
}

TEST_F(StationListTest, PathThroughAKnownHopDrawsObserverHopStation)
{
    known(QStringLiteral("N0GATE"), 3095.5f, -20.2f);
    known(QStringLiteral("N0CALL"), 3100.9f, -30.7f);
    const int lines = plotPathOnMap(host, shared().home, QStringLiteral("N0CALL"),
                                    QStringLiteral("N0GATE*,WIDE2-1 Port=1 "), QStringLiteral("No"));
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(host.fakeMap.calls, (QStringList{"pen(2)", "mode(13)", "line(-8,3084,-21,3095," + kBlue + ")",
                                               "leg(3)", "line(-21,3095,-31,3100," + kBlue + ")"}));
    EXPECT_EQ(shared().plottedPathStation, "N0CALL");
}

TEST_F(StationListTest, LastHopIsFoundDespiteThePortText)
{
    known(QStringLiteral("G3KDC-1"), 3095.0f, -20.0f);
    known(QStringLiteral("G7KDF-2"), 3098.0f, -25.0f);
    known(QStringLiteral("G7KMC-9"), 3100.0f, -30.0f);
    const int lines = plotPathOnMap(host, shared().home, QStringLiteral("G7KMC-9"),
                                    QStringLiteral("G3KDC-1,G7KDF-2* Port=1 "), QStringLiteral("No"));
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(host.fakeMap.calls, (QStringList{"pen(2)", "mode(13)", "line(-8,3084,-25,3098," + kBlue + ")",
                                               "line(-25,3098,-20,3095," + kBlue + ")", "leg(3)",
                                               "line(-20,3095,-30,3100," + kBlue + ")"}));
}

TEST_F(StationListTest, PathWithNoKnownHopAndNotDirectDrawsNothing)
{
    known(QStringLiteral("N0CALL"));
    EXPECT_EQ(plotPathOnMap(host, shared().home, QStringLiteral("N0CALL"), QStringLiteral("WIDE1-1,WIDE2-1"),
                            QStringLiteral("No")),
              0);
    EXPECT_EQ(host.fakeMap.calls, (QStringList{"pen(2)", "mode(13)"}));
}

TEST_F(StationListTest, DirectStationDrawsOnlyTheLastLeg)
{
    known(QStringLiteral("N0CALL"), 3090.0f, -10.0f);
    plotPathOnMap(host, shared().home, QStringLiteral("N0CALL"), QStringLiteral("Received Direct"),
                  QStringLiteral("Yes"));
    EXPECT_EQ(host.fakeMap.calls, (QStringList{"pen(2)", "mode(13)", "leg(3)", "line(-8,3084,-10,3090," + kBlue + ")"}));
}

TEST_F(StationListTest, TcpipHopTurnsTheRestGreen)
{
    // Observer -> N0NEAR (blue) ; TCPIP seen -> N0FAR (green) -> station (green).
    known(QStringLiteral("N0NEAR"), 3085.0f, -9.0f);
    known(QStringLiteral("N0FAR"), 2000.0f, 100.0f);
    known(QStringLiteral("N0CALL"), 2001.0f, 101.0f);
    plotPathOnMap(host, shared().home, QStringLiteral("N0CALL"), QStringLiteral("N0FAR,TCPIP*,N0NEAR*"),
                  QStringLiteral("No"));
    EXPECT_EQ(host.fakeMap.calls,
              (QStringList{"pen(2)", "mode(13)", "line(-8,3084,-9,3085," + kBlue + ")",
                           "line(-9,3085,100,2000," + kGreen + ")", "leg(3)",
                           "line(100,2000,101,2001," + kGreen + ")"}));
}

TEST_F(StationListTest, PlotStationPathUsesTheSelectedRowAndPlotDxReplotsIt)
{
    known(QStringLiteral("N0GATE"), 3095.5f, -20.2f);
    known(QStringLiteral("N0CALL"), 3100.9f, -30.7f);
    makeList();
    hear(QStringLiteral("N0CALL"));
    list->PlotStationPath();  // nothing selected
    EXPECT_TRUE(host.fakeMap.calls.isEmpty());
    list->selectRow(0);
    EXPECT_EQ(list->selectedCallsign(), "N0CALL");
    list->PlotStationPath();
    const QStringList once = host.fakeMap.calls;
    EXPECT_EQ(once.size(), 5);
    host.fakeMap.calls.clear();
    list->PlotDX();
    EXPECT_EQ(host.fakeMap.calls, once);
}

TEST_F(StationListTest, CirclesOfEveryRowOnlyWhenPhgPlottingIsOn)
{
    known(QStringLiteral("A1")).information = QStringLiteral("PHG5130");
    known(QStringLiteral("A2")).information = QStringLiteral("RNG0050");
    known(QStringLiteral("A3"));
    makeList();
    for (const char *call : {"A1", "A2", "A3"})
        hear(QString::fromLatin1(call));
    list->PlotPHGRNGcircles();
    EXPECT_TRUE(host.fakeMap.calls.isEmpty());
    config().plotPhg = true;
    list->PlotPHGRNGcircles();
    EXPECT_EQ(host.fakeMap.calls.filter(QStringLiteral("circle(")).size(), 2);
}

// Moving the map redraws every station's circle; a long list does so a slice
// at a time, so the map follows the mouse while the rest are drawn.
TEST_F(StationListTest, CirclesOfALongListAreDrawnASliceAtATime)
{
    constexpr int kStations = 10000;
    makeList();
    for (int i = 0; i < kStations; ++i) {
        const QString call = QStringLiteral("P%1").arg(i);
        known(call).information = QStringLiteral("PHG5130");
        hear(call);
    }
    config().plotPhg = true;
    host.fakeMap.calls.clear();
    const auto circles = [this] { return host.fakeMap.calls.filter(QStringLiteral("circle(")).size(); };
    list->PlotPHGRNGcircles();
    EXPECT_GT(circles(), 0);
    EXPECT_LT(circles(), kStations / 2) << "all drawn in one go";
    EXPECT_TRUE(QTest::qWaitFor([&] { return circles() == kStations; }, 10000)) << circles();
}

TEST(DxLine, RedFromObserverWithPenThree)
{
    FakeHostMap map;
    HomeStation home;
    home.latitude = 3084.4;
    home.longitude = -7.5;
    plotDxLine(map, home, DxTarget{QStringLiteral("VK2KIB"), -2028.6, 9072.2});
    EXPECT_EQ(map.calls, (QStringList{"pen(3)", "mode(13)", "line(-8,3084,9072,-2029," + QString::number(MapColour::Red) + ")"}));
}
