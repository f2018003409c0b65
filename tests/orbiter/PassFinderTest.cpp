// Next-pass search against a brute-force one-second scan of the elevation.
#include "orbiter/PassFinder.h"
#include "orbiter/SatelliteFix.h"

#include "TestOrbits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace orbiter;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kTwoDays = 48 * 3600.0;

Site site(double latDeg, double lonDeg, double heightM = 0)
{
    return Site(Geodetic{latDeg * kDeg, lonDeg * kDeg, heightM / 1000.0});
}

double epochOf(const Sgp4 &m) { return m.elements().epochUnix; }

struct ScannedPass
{
    long aos;  // first whole second above the horizon
    long los;  // last whole second above
    double maxElevation;
};

// Every pass that rises within the window, by looking at every second.
std::vector<ScannedPass> scan(Sgp4 &m, const Site &where, double from, double seconds)
{
    std::vector<ScannedPass> passes;
    bool wasUp = lookAngles(where, fixAt(m, from).ecef).elevation >= 0;
    bool inCountedPass = false;
    for (long s = 1; s <= long(seconds) + 86400; ++s) {
        const double e = lookAngles(where, fixAt(m, from + s).ecef).elevation;
        const bool up = e >= 0;
        if (up && !wasUp) {
            if (s > long(seconds))
                break;
            passes.push_back({s, s, e});
            inCountedPass = true;
        } else if (up && inCountedPass) {
            passes.back().los = s;
            passes.back().maxElevation = std::max(passes.back().maxElevation, e);
        } else if (!up) {
            inCountedPass = false;
        }
        wasUp = up;
    }
    return passes;
}

void expectSamePasses(const testorbits::Elements &elements, double latDeg, double lonDeg, double startHours)
{
    Sgp4 m = testorbits::model(elements);
    const Site where = site(latDeg, lonDeg);
    const double from = epochOf(m) + startHours * 3600.0;
    const std::vector<ScannedPass> expected = scan(m, where, from, kTwoDays);
    ASSERT_FALSE(expected.empty()) << "the scan found no pass to compare with";

    PassFinder finder(m, {where});
    double t = from;
    for (const ScannedPass &want : expected) {
        const auto pass = finder.next(t, from + kTwoDays - t);
        ASSERT_TRUE(pass.has_value()) << "missed the pass rising at +" << want.aos << " s";
        EXPECT_NEAR(pass->aos - from, double(want.aos) - 0.5, 0.5 + 1e-3);
        EXPECT_NEAR(pass->los - from, double(want.los) + 0.5, 0.5 + 1e-3);
        // The scan can only miss the top, by what a second near the zenith turns.
        EXPECT_GE(pass->maxElevation, want.maxElevation - 1e-9);
        EXPECT_NEAR(pass->maxElevation, want.maxElevation, want.maxElevation > 80 * kDeg ? 0.05 * kDeg : 0.01 * kDeg);
        EXPECT_GE(pass->culmination, pass->aos);
        EXPECT_LE(pass->culmination, pass->los);
        t = pass->aos;
    }
    EXPECT_FALSE(finder.next(t, from + kTwoDays - t).has_value()) << "found a pass the scan did not";
}

} // namespace

TEST(PassFinder, LowOrbitPassesMatchAOneSecondScanForNorthSouthAndHighObservers)
{
    expectSamePasses(testorbits::kStation, 52.0, -1.25, 2.0);
    expectSamePasses(testorbits::kStation, -33.9, 151.2, 5.0);
    expectSamePasses(testorbits::kWeather, 69.6, 18.9, 1.0);
    expectSamePasses(testorbits::kWeather, -45.0, 170.0, 7.0);
}

TEST(PassFinder, MolniyaPassesMatchAOneSecondScan)
{
    expectSamePasses(testorbits::kMolniya, 55.7, 37.6, 0.0);
    expectSamePasses(testorbits::kMolniya, -30.0, 20.0, 3.0);
}

TEST(PassFinder, APassInProgressGivesTheFollowingOneAndItsOwnBounds)
{
    Sgp4 m = testorbits::model(testorbits::kStation);
    const Site where = site(52.0, -1.25);
    PassFinder finder(m, {where});
    const auto first = finder.next(epochOf(m), kTwoDays);
    ASSERT_TRUE(first.has_value());
    const double middle = first->culmination;

    const auto now = finder.current(middle, kTwoDays);
    ASSERT_TRUE(now.has_value());
    EXPECT_NEAR(now->aos, first->aos, 2e-3);
    EXPECT_NEAR(now->los, first->los, 2e-3);

    const auto following = finder.next(middle, kTwoDays);
    ASSERT_TRUE(following.has_value());
    EXPECT_GT(following->aos, first->los);
    EXPECT_FALSE(finder.current(first->los + 10, kTwoDays).has_value());
}

TEST(PassFinder, GeostationarySatelliteNeverRisesForAFarObserverAndNeverSetsForANearOne)
{
    Sgp4 m = testorbits::model(testorbits::kGeostationary);
    const double t = epochOf(m) + 3600;
    const double longitude = fixAt(m, t).subPoint.longitude / kDeg;

    PassFinder far(m, {site(10.0, longitude + 180.0)});
    EXPECT_LT(*far.elevation(t), -60 * kDeg);
    EXPECT_FALSE(far.next(t, kTwoDays).has_value());
    EXPECT_FALSE(far.current(t, kTwoDays).has_value());

    PassFinder near(m, {site(40.0, longitude + 10.0)});
    EXPECT_GT(*near.elevation(t), 30 * kDeg);
    EXPECT_FALSE(near.next(t, kTwoDays).has_value()) << "it is up all the time: no pass begins";
}

TEST(PassFinder, MutualVisibilityNeedsBothObserversToSeeTheSatellite)
{
    Sgp4 m = testorbits::model(testorbits::kStation);
    const Site london = site(51.5, -0.1);
    const Site paris = site(48.9, 2.35);
    const Site sydney = site(-33.9, 151.2);
    PassFinder both(m, {london, paris});
    PassFinder london1(m, {london});
    const double from = epochOf(m);
    const auto mutual = both.next(from, kTwoDays);
    ASSERT_TRUE(mutual.has_value());
    // Inside the mutual window each sees it; the window lies inside London's own pass.
    for (double t = mutual->aos + 1; t < mutual->los; t += 15) {
        EXPECT_GE(lookAngles(london, fixAt(m, t).ecef).elevation, 0);
        EXPECT_GE(lookAngles(paris, fixAt(m, t).ecef).elevation, 0);
    }
    const auto own = london1.next(mutual->aos - 1200, 2400);
    ASSERT_TRUE(own.has_value());
    EXPECT_LE(own->aos, mutual->aos + 1e-3);
    EXPECT_GE(own->los, mutual->los - 1e-3);

    PassFinder apart(m, {london, sydney});
    EXPECT_FALSE(apart.next(from, kTwoDays).has_value());
}
