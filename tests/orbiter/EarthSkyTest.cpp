// Sidereal time, frames, look angles, sun, moon and footprints.
#include "orbiter/EarthFrames.h"
#include "orbiter/Footprint.h"
#include "orbiter/SatelliteFix.h"
#include "orbiter/SunMoon.h"

#include "TestOrbits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace orbiter;

namespace {
constexpr double kDeg = std::numbers::pi / 180.0;
// 2000-01-01 12:00 UTC.
constexpr double kJ2000 = 946728000.0;
double unixOf(int y, int m, int d, int h = 0)
{
    // Days from the civil calendar (proleptic Gregorian), for test dates only.
    const int a = (14 - m) / 12;
    const int yy = y + 4800 - a;
    const int mm = m + 12 * a - 3;
    const long jdn = d + (153 * mm + 2) / 5 + 365L * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
    return (double(jdn) - 2440588.0) * 86400.0 + h * 3600.0;
}
} // namespace

TEST(EarthSky, SiderealTimeAtKnownInstants)
{
    // 280.46061837 degrees at J2000.0, and a sidereal day shorter than a solar one.
    EXPECT_NEAR(gmst(kJ2000) / kDeg, 280.46061837, 1e-6);
    const double nextDay = gmst(kJ2000 + 86400.0) / kDeg;
    EXPECT_NEAR(std::fmod(nextDay - 280.46061837 + 360.0, 360.0), 0.98564736, 1e-6);
}

TEST(EarthSky, GeodeticRoundTripAndTheEarthFixedFrame)
{
    for (double lat : {-89.9, -45.0, 0.0, 30.0, 89.99})
        for (double lon : {-179.0, 0.0, 90.0})
            for (double h : {0.0, 0.4, 420.0, 35786.0}) {
                const Geodetic in{lat * kDeg, lon * kDeg, h};
                const Geodetic out = ecefToGeodetic(geodeticToEcef(in));
                EXPECT_NEAR(out.latitude, in.latitude, 1e-11) << lat << " " << lon << " " << h;
                EXPECT_NEAR(out.longitude, in.longitude, 1e-11);
                EXPECT_NEAR(out.heightKm, h, 1e-6);
            }
    // At a sidereal angle of 90 degrees the inertial x axis points to 90 west.
    const Vec3 fixed = temeToEcef({7000, 0, 0}, 90 * kDeg);
    EXPECT_NEAR(ecefToGeodetic(fixed).longitude / kDeg, -90.0, 1e-9);
    EXPECT_NEAR(ecefToTeme(fixed, 90 * kDeg).x, 7000, 1e-9);
}

TEST(EarthSky, LookAnglesFallInTheRightQuadrant)
{
    const Site here(Geodetic{45 * kDeg, 10 * kDeg, 0});
    struct Case
    {
        double dLat, dLon, azFrom, azTo;
    } cases[] = {{3, 0.01, 0, 10}, {2, 3, 0, 90}, {-2, 3, 90, 180}, {-2, -3, 180, 270}, {2, -3, 270, 360},
                 {0.01, 5, 80, 95}, {-3, -0.01, 175, 185}};
    for (const Case &c : cases) {
        const Vec3 sat = geodeticToEcef({(45 + c.dLat) * kDeg, (10 + c.dLon) * kDeg, 800.0});
        const LookAngles look = lookAngles(here, sat);
        EXPECT_GT(look.azimuth / kDeg, c.azFrom) << c.dLat << "," << c.dLon;
        EXPECT_LT(look.azimuth / kDeg, c.azTo) << c.dLat << "," << c.dLon;
        EXPECT_GT(look.elevation, 0);
    }
    const LookAngles overhead = lookAngles(here, geodeticToEcef({45 * kDeg, 10 * kDeg, 500.0}));
    EXPECT_NEAR(overhead.elevation / kDeg, 90.0, 1e-6);
    EXPECT_NEAR(overhead.rangeKm, 500.0, 1e-6);
    const LookAngles below = lookAngles(here, geodeticToEcef({-45 * kDeg, -170 * kDeg, 500.0}));
    EXPECT_LT(below.elevation / kDeg, -80.0);

    // Coming straight down: the range shrinks and the frequency goes up.
    const Vec3 sat = geodeticToEcef({45 * kDeg, 10 * kDeg, 500.0});
    const LookAngles falling = lookAngles(here, sat, here.ecef() - sat);
    EXPECT_NEAR(falling.rangeRateKmS, -500.0, 1e-6);
    EXPECT_GT(dopplerFactor(falling.rangeRateKmS), 1.0);
}

TEST(EarthSky, SunAtSolsticeAndEquinoxAndTheMoonsDistance)
{
    auto declination = [](const Vec3 &v) { return std::asin(v.z / v.norm()) / kDeg; };
    EXPECT_NEAR(declination(sunPosition(unixOf(2026, 6, 21, 8))), 23.44, 0.02);
    EXPECT_NEAR(declination(sunPosition(unixOf(2026, 12, 21, 20))), -23.44, 0.02);
    EXPECT_NEAR(declination(sunPosition(unixOf(2026, 3, 20, 14))), 0.0, 0.05);
    const double au = sunPosition(unixOf(2026, 1, 3)).norm();
    EXPECT_NEAR(au, 147.1e6, 0.1e6);  // perihelion

    // Noon at Greenwich: the sun stands near longitude 0 (within the equation of time).
    const double t = unixOf(2026, 4, 15, 12);
    const Geodetic sub = ecefToGeodetic(temeToEcef(sunPosition(t), gmst(t)));
    EXPECT_NEAR(sub.longitude / kDeg, 0.0, 1.0);

    for (int day = 0; day < 60; day += 3) {
        const double d = moonPosition(unixOf(2026, 1, 1) + day * 86400.0).norm();
        EXPECT_GT(d, 355000.0);
        EXPECT_LT(d, 407500.0);
        EXPECT_LT(std::fabs(declination(moonPosition(unixOf(2026, 1, 1) + day * 86400.0))), 29.0);
    }
}

TEST(EarthSky, FootprintSizeAndOutlineAroundAPole)
{
    EXPECT_NEAR(footprintDiameterKm(420.0), 4505.0, 5.0);
    EXPECT_NEAR(footprintDiameterKm(35786.0), 18100.0, 50.0);
    EXPECT_EQ(footprintDiameterKm(-5.0), 0.0);

    // A circle that does not hold a pole closes on itself, across the date line too.
    const Outline plain = footprintOutline(10 * kDeg, 170 * kDeg, 20 * kDeg);
    EXPECT_EQ(plain.pole, 0);
    EXPECT_NEAR(plain.ring.back().longitude, plain.ring.front().longitude, 10 * kDeg);
    for (const LatLon &p : plain.ring)
        EXPECT_LT(std::fabs(p.longitude - 170 * kDeg), 25 * kDeg) << "unwrapped across the date line";
    EXPECT_EQ(plain.area().size(), plain.ring.size());

    // One round a pole runs a full turn; as an area it closes along that edge.
    const Outline cap = footprintOutline(-80 * kDeg, 0, 20 * kDeg);
    EXPECT_EQ(cap.pole, -1);
    const auto area = cap.area();
    EXPECT_NEAR(std::fabs(area[area.size() - 3].longitude - area.front().longitude), 2 * std::numbers::pi, 1e-9);
    EXPECT_DOUBLE_EQ(area[area.size() - 2].latitude, -std::numbers::pi / 2);
}

TEST(EarthSky, SubSatellitePointOfAStationOrbit)
{
    Sgp4 m = testorbits::model(testorbits::kStation);
    for (double minutes = 0; minutes < 200; minutes += 7) {
        const SatelliteFix fix = fixAt(m, m.elements().epochUnix + minutes * 60);
        ASSERT_EQ(fix.error, Sgp4Error::None);
        EXPECT_LE(std::fabs(fix.subPoint.latitude / kDeg), 51.9);
        EXPECT_GT(fix.subPoint.heightKm, 380);
        EXPECT_LT(fix.subPoint.heightKm, 450);
        EXPECT_NEAR(fix.ecefVelocity.norm(), 7.2, 0.5);
    }
}
