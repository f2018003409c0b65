#include "host/feeds/DxSpotLine.h"
#include "host/map/GeoMath.h"
#include "host/PrefixTable.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

const char *Sample =
    "; comment\r\n"
    "\r\n"
    "K,W,N,AA-AK:United States:NA:6-8:3-5:-5:39.0N:98.0W\r\n"
    "G,M,2E:England:EU:27:14:0:52.5N:1.5W\r\n"
    "GM,MM:Scotland:EU:27:14:0:56.5:-4.0\r\n"
    "ZR-ZU:South Africa:AF:57:38:2:29.0S:24.0E\r\n"
    "ZS:Duplicate:AF:57:38:2:0:0\r\n"
    "AM-A0:Spain special:EU:37:14:1:40.0N:4.0W\r\n"
    "KC6-KC4:Range test:NA:1:1:0:1:1\r\n"
    "VK:Australia:OC:55:30:10:25.0S\r\n"
    "broken line without fields\r\n";

TEST(PrefixTable, ExpandsRanges)
{
    EXPECT_EQ(PrefixTable::expand("ZR-ZU"), (QStringList{"ZR", "ZS", "ZT", "ZU"}));
    EXPECT_EQ(PrefixTable::expand("KC6-KC4"), (QStringList{"KC4", "KC5", "KC6"}));
    EXPECT_EQ(PrefixTable::expand("AM-A0"), (QStringList{"AM", "AN", "AO"}));
    EXPECT_EQ(PrefixTable::expand("W"), (QStringList{"W"}));
}

TEST(PrefixTable, LongestPrefixWinsAndFirstLineKeepsAPrefix)
{
    PrefixTable table;
    EXPECT_EQ(table.parse(QString::fromLatin1(Sample)), 8);
    ASSERT_NE(table.lookUp("GM4XYZ"), nullptr);
    EXPECT_EQ(table.lookUp("GM4XYZ")->name, QStringLiteral("Scotland"));
    EXPECT_EQ(table.lookUp("G4XYZ")->name, QStringLiteral("England"));
    EXPECT_EQ(table.lookUp("m0abc")->name, QStringLiteral("England"));
    EXPECT_EQ(table.lookUp("ZS6ABC")->name, QStringLiteral("South Africa"));
    EXPECT_EQ(table.lookUp("AO8XX")->name, QStringLiteral("Spain special"));
    EXPECT_EQ(table.lookUp("KC5AAA")->name, QStringLiteral("Range test"));
    EXPECT_EQ(table.lookUp("KD5AAA")->name, QStringLiteral("United States"));
    EXPECT_EQ(table.lookUp("QQ1X"), nullptr);
    EXPECT_EQ(table.lookUp(""), nullptr);

    const PrefixTable::Country *scotland = table.lookUp("MM0AAA");
    EXPECT_TRUE(scotland->hasPosition);
    EXPECT_DOUBLE_EQ(scotland->latitude, 56.5);
    EXPECT_DOUBLE_EQ(scotland->longitude, -4.0);
    EXPECT_DOUBLE_EQ(table.lookUp("ZS1A")->latitude, -29.0);
    EXPECT_FALSE(table.lookUp("VK2ABC")->hasPosition) << "seven fields carry no longitude";
}

TEST(DxSpotLine, ParsesClusterLayout)
{
    DxSpotLine spot;
    ASSERT_TRUE(parseDxSpotLine("DX de G4ABC:     14025.0  VK2XYZ       CW loud in London          1234Z", &spot));
    EXPECT_EQ(spot.spotter, QStringLiteral("G4ABC"));
    EXPECT_EQ(spot.frequency, QStringLiteral("14025.0"));
    EXPECT_EQ(spot.callsign, QStringLiteral("VK2XYZ"));
    EXPECT_EQ(spot.comment, QStringLiteral("CW loud in London"));
    EXPECT_EQ(spot.time, QStringLiteral("1234Z"));

    ASSERT_TRUE(parseDxSpotLine("DX de W1AW-#:  7074 ea8/g4abc FT8", &spot));
    EXPECT_EQ(spot.spotter, QStringLiteral("W1AW-#"));
    EXPECT_EQ(spot.callsign, QStringLiteral("EA8/G4ABC"));
    EXPECT_EQ(spot.time, QString());

    // The compact form some clusters send: no blank after the colon.
    ASSERT_TRUE(parseDxSpotLine("DX de Q1XYZ:14025.0 K1ABC", &spot));
    EXPECT_EQ(spot.spotter, QStringLiteral("Q1XYZ"));
    EXPECT_EQ(spot.frequency, QStringLiteral("14025.0"));
    EXPECT_EQ(spot.callsign, QStringLiteral("K1ABC"));
    ASSERT_TRUE(parseDxSpotLine("DX de Q1XYZ 14025.0 K1ABC", &spot));
    EXPECT_EQ(spot.spotter, QStringLiteral("Q1XYZ"));

    for (const char *bad : {"", "DX de", "DX de G4ABC: notafrequency VK2XYZ", "WWV de W0MU <18>: SFI=70",
                            "To ALL de G4ABC: hello", "DX de Q1XYZ14025.0 K1ABC"})
        EXPECT_FALSE(parseDxSpotLine(bad, &spot)) << bad;
}

TEST(GeoMath, DistanceAndBearingAgainstWorkedValues)
{
    // One degree of longitude along the equator: 6371.0088 * pi / 180 = 111.195 km, due east.
    geo::DistanceBearing d = geo::distanceBearing(0, 0, 0, 1);
    EXPECT_NEAR(d.distanceKm, 111.195, 0.001);
    EXPECT_NEAR(d.bearing, 90, 1e-9);
    // Pole to equator: a quarter circumference, due south from the pole's view.
    d = geo::distanceBearing(90, 0, 0, 0);
    EXPECT_NEAR(d.distanceKm, 6371.0088 * M_PI / 2, 0.001);
    EXPECT_NEAR(d.bearing, 180, 1e-6);
    d = geo::distanceBearing(51.5, 0, 51.5, 0);
    EXPECT_EQ(d.distanceKm, 0);
    // Going out and measuring back gives the same distance.
    const QPointF p = geo::destination(51.5, -0.1, 45, 80.4672);
    EXPECT_NEAR(geo::distanceBearing(51.5, -0.1, p.y(), p.x()).distanceKm, 80.4672, 1e-6);
    // Due north to the pole: rounding must not leave the sphere.
    const double toPole = geo::distanceBearing(0.015, 0, 90, 0).distanceKm;
    const QPointF pole = geo::destination(0.015, 0, 0, toPole);
    EXPECT_NEAR(pole.y(), 90, 1e-6);
    EXPECT_TRUE(std::isfinite(pole.x()));
}

} // namespace
