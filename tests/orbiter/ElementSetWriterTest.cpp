// Element lines written from published elements read back as those
// elements, within the precision of their columns, with valid check digits.
#include "orbiter/ElementLine.h"
#include "orbiter/ElementSet.h"
#include "orbiter/ElementSetWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180;

TEST(ElementSetWriter, LinesReadBackAsWritten)
{
    struct Case
    {
        const char *what;
        orbiter::PublishedElements in;
        double inclination, raan, argPerigee, meanAnomaly;  // as they read back, degrees
    } const cases[] = {
        {"a low orbit", {"25544", "98067A", 2026, 182.5, 51.64, 120, 0.00045, 80, 10, 15.5, 2.5e-4}, 51.64, 120, 80, 10},
        {"a short number, negative drag", {"7530", "74089B", 1999, 1, 101.99, 330, 0.0012, 150, 80, 12.5365, -1.2e-5},
         101.99, 330, 150, 80},
        {"angles out of range are wrapped", {"43700", "18090A", 2026, 366.999, 0.02, -80, 0.0002, 450, -225.037, 1.0027, 0},
         0.02, 280, 90, 134.963},
        {"a highly eccentric orbit, drag too small to write", {"28163", "04005A", 2026, 160, 62.9, 330, 0.72, 270, 180, 2.006, 1e-12},
         62.9, 330, 270, 180},
    };
    for (const Case &c : cases) {
        const auto [line1, line2] = orbiter::elementLines(c.in);
        EXPECT_EQ(line1.size(), 69u) << c.what;
        EXPECT_EQ(line2.size(), 69u) << c.what;
        EXPECT_TRUE(ElementLine::checked(line1)) << line1;
        EXPECT_TRUE(ElementLine::checked(line2)) << line2;
        orbiter::ElementSet out;
        std::string error;
        ASSERT_TRUE(orbiter::parseElementSet(line1, line2, out, &error)) << c.what << ": " << error;
        EXPECT_EQ(out.epochYear, c.in.epochYear) << c.what;
        EXPECT_NEAR(out.epochDay, c.in.epochDay, 1e-8) << c.what;
        EXPECT_NEAR(out.inclination, c.inclination * kDegree, 1e-4 * kDegree) << c.what;
        EXPECT_NEAR(out.raan, c.raan * kDegree, 1e-4 * kDegree) << c.what;
        EXPECT_NEAR(out.argPerigee, c.argPerigee * kDegree, 1e-4 * kDegree) << c.what;
        EXPECT_NEAR(out.meanAnomaly, c.meanAnomaly * kDegree, 1e-4 * kDegree) << c.what;
        EXPECT_NEAR(out.eccentricity, c.in.eccentricity, 1e-7) << c.what;
        EXPECT_NEAR(out.revsPerDay, c.in.revsPerDay, 1e-8) << c.what;
        EXPECT_NEAR(out.bstar, std::fabs(c.in.bstar) < 1e-10 ? 0 : c.in.bstar, std::fabs(c.in.bstar) * 1e-4) << c.what;
        EXPECT_EQ(line1.substr(2, 5), line2.substr(2, 5)) << "the catalogue number, zero-padded: " << line1;
    }
}

} // namespace
